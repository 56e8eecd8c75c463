// The collision tree of mesh geometry, rebuilt lazily after geometry changes, and the
// polygon test of a Mesh through it.
#include <utility>
#include <vector>

#include "runtime/engine3d/collision_tree.h"
#include "runtime/engine3d/mesh.h"
#include "runtime/engine3d/surface.h"

namespace tarsk {

void CollisionTreeDeleter::operator()(CollisionTree* tree) const { delete tree; }

const CollisionTree& MeshGeometry::collisionTree() {
    if (collisionTree_ && collisionTreeAt_ == geometryChanges()) return *collisionTree_;
    std::vector<math3d::Vec3> vertices;
    std::vector<TreeTriangle> triangles;
    for (MeshSurface* surface : surfaces()) {
        auto base = uint32_t(vertices.size());
        for (const Vertex& v : surface->vertices()) vertices.push_back(v.position);
        const std::vector<Triangle>& list = surface->triangles();
        for (size_t i = 0; i < list.size(); ++i) {
            const Triangle& t = list[i];
            // Indices that name no vertex leave the triangle out.
            if (!surface->namesVertices(t)) continue;
            triangles.push_back({surface, {base + t.v[0], base + t.v[1], base + t.v[2]}, int32_t(i)});
        }
    }
    collisionTree_.reset(new CollisionTree(std::move(vertices), std::move(triangles)));
    collisionTreeAt_ = geometryChanges();
    return *collisionTree_;
}

bool Mesh::collide(const SweptSphere& line, const math3d::Transform& placement, CollisionRecord& record) {
    return sweepCollisionTree(geometry().collisionTree(), placement, line, record);
}

}  // namespace tarsk
