// MeshesIntersect: the mesh command answered by the two meshes' collision trees.
#include "runtime/engine3d/collision_tree.h"
#include "runtime/engine3d/collision_tree_intersect.h"
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/mesh_handles.h"

extern "C" {

int32_t _fmeshesintersect(int32_t meshA, int32_t meshB) {
    tarsk::Mesh& a = tarsk::liveMesh(meshA);
    tarsk::Mesh& b = tarsk::liveMesh(meshB);
    // In b's mesh space: a's triangles are moved by a's world transform, then out of b's.
    tarsk::math3d::Transform aToB = compose(inverse(b.worldTransform()), a.worldTransform());
    return tarsk::treesIntersect(a.geometry().collisionTree(), aToB, b.geometry().collisionTree()) ? 1 : 0;
}

}  // extern "C"

namespace tarsk {

void registerCollisionTreeCommands(Registrar add) {
    add("%MeshesIntersect%mesh_a%mesh_b", reinterpret_cast<const void*>(_fmeshesintersect));
}

}  // namespace tarsk
