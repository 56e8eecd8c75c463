// Meshes: creating and copying them, the primitives, whole-mesh edits, extents, cull
// boxes and the surface list.
#include <algorithm>

#include "runtime/engine3d/brush_registry.h"
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/entity_lifecycle.h"
#include "runtime/engine3d/mesh_builders.h"
#include "runtime/engine3d/mesh_editing.h"
#include "runtime/engine3d/mesh_handles.h"
#include "runtime/host/arena.h"

using tarsk::handleOf;
using tarsk::liveMesh;
using tarsk::Mesh;
using tarsk::MeshGeometry;
using namespace tarsk::math3d;

namespace {

constexpr float kByteToUnit = 0.003921569f;

tarsk::Entity* optionalParent(int32_t parent) {
    return parent ? tarsk::liveEntity(parent, "Parent entity does not exist") : nullptr;
}

// A new Mesh built by build(geometry), by the creation sequence.
template <class Build>
int32_t createMesh(int32_t parent, Build build) {
    tarsk::World& world = tarsk::requireWorld();
    tarsk::Entity* parentEntity = optionalParent(parent);
    Mesh* mesh = new Mesh(world);
    build(mesh->geometry());
    return handleOf(tarsk::finishCreation(mesh, parentEntity));
}

// Always checked: the shapes' arrays grow with the segment count.
void checkSegments(int32_t segments, int32_t least) {
    if (segments < least || segments > 100) tarsk::runtimeError("Illegal number of segments");
}

MeshGeometry& geometryOf(int32_t mesh) { return liveMesh(mesh).geometry(); }

Vec3 extent(int32_t mesh) {
    const tarsk::Box3& box = geometryOf(mesh).bounds();
    return box.max - box.min;
}

}  // namespace

extern "C" {

int32_t _fcreatemesh(int32_t parent) {
    return createMesh(parent, [](MeshGeometry&) {});
}

int32_t _fcreatecube(int32_t parent) { return createMesh(parent, tarsk::buildCube); }

int32_t _fcreatesphere(int32_t segments, int32_t parent) {
    checkSegments(segments, 2);
    return createMesh(parent, [&](MeshGeometry& g) { tarsk::buildSphere(g, segments); });
}

int32_t _fcreatecylinder(int32_t segments, int32_t solid, int32_t parent) {
    checkSegments(segments, 3);
    return createMesh(parent, [&](MeshGeometry& g) { tarsk::buildCylinder(g, segments, solid != 0); });
}

int32_t _fcreatecone(int32_t segments, int32_t solid, int32_t parent) {
    checkSegments(segments, 3);
    return createMesh(parent, [&](MeshGeometry& g) { tarsk::buildCone(g, segments, solid != 0); });
}

int32_t _fcopymesh(int32_t mesh, int32_t parent) {
    MeshGeometry& source = geometryOf(mesh);
    return createMesh(parent, [&](MeshGeometry& g) { tarsk::addMesh(source, g); });
}

void _fscalemesh(int32_t mesh, float xScale, float yScale, float zScale) {
    tarsk::transformMesh(geometryOf(mesh), Matrix3{{xScale, 0, 0}, {0, yScale, 0}, {0, 0, zScale}}, {});
}

void _frotatemesh(int32_t mesh, float pitch, float yaw, float roll) {
    Matrix3 m = rotationAxes(eulerToQuat(radians(pitch), radians(yaw), radians(roll)));
    tarsk::transformMesh(geometryOf(mesh), m, {});
}

void _fpositionmesh(int32_t mesh, float x, float y, float z) {
    tarsk::transformMesh(geometryOf(mesh), Matrix3{}, {x, y, z});
}

void _ffitmesh(int32_t mesh, float x, float y, float z, float width, float height, float depth, int32_t uniform) {
    tarsk::Box3 target;
    target.min = {std::min(x, x + width), std::min(y, y + height), std::min(z, z + depth)};
    target.max = {std::max(x, x + width), std::max(y, y + height), std::max(z, z + depth)};
    tarsk::fitMesh(geometryOf(mesh), target, uniform != 0);
}

void _fflipmesh(int32_t mesh) { tarsk::flipMesh(geometryOf(mesh)); }

void _fpaintmesh(int32_t mesh, int32_t brush) {
    MeshGeometry& geometry = geometryOf(mesh);
    const tarsk::Brush& paint = tarsk::checkedBrush(brush)->brush;
    for (tarsk::MeshSurface* surface : geometry.surfaces()) surface->setBrush(paint);
}

void _faddmesh(int32_t sourceMesh, int32_t destMesh) {
    MeshGeometry& source = geometryOf(sourceMesh);
    MeshGeometry& dest = geometryOf(destMesh);
    if (sourceMesh == destMesh) tarsk::runtimeError("A mesh cannot be added to itself");
    tarsk::addMesh(source, dest);
}

void _fupdatenormals(int32_t mesh) { tarsk::updateNormals(geometryOf(mesh)); }

void _flightmesh(int32_t mesh, float red, float green, float blue, float range, float x, float y, float z) {
    tarsk::lightMesh(geometryOf(mesh), Vec3{red, green, blue} * kByteToUnit, range, {x, y, z});
}

float _fmeshwidth(int32_t mesh) { return extent(mesh).x; }
float _fmeshheight(int32_t mesh) { return extent(mesh).y; }
float _fmeshdepth(int32_t mesh) { return extent(mesh).z; }

int32_t _fcountsurfaces(int32_t mesh) { return static_cast<int32_t>(geometryOf(mesh).surfaces().size()); }

int32_t _fgetsurface(int32_t mesh, int32_t index) {
    const auto& surfaces = geometryOf(mesh).surfaces();
    if (index < 1 || index > static_cast<int32_t>(surfaces.size())) tarsk::runtimeError("Surface Index out of range");
    return handleOf(surfaces[size_t(index - 1)]);
}

void _fmeshcullbox(int32_t mesh, float x, float y, float z, float width, float height, float depth) {
    tarsk::Box3& box = geometryOf(mesh).cullBox;
    box.min = {x, y, z};
    box.max = {x + width, y + height, z + depth};
}

int32_t _ffindsurface(int32_t mesh, int32_t brush) {
    MeshGeometry& geometry = geometryOf(mesh);
    return handleOf(geometry.findSurface(tarsk::checkedBrush(brush)->brush));
}

int32_t _fcreatesurface(int32_t mesh, int32_t brush) {
    MeshGeometry& geometry = geometryOf(mesh);
    tarsk::Brush paint = brush ? tarsk::checkedBrush(brush)->brush : tarsk::Brush();
    return handleOf(geometry.createSurface(paint));
}

}  // extern "C"

namespace tarsk {

void registerMeshCommands(Registrar add) {
    add("%CreateMesh%parent=0", reinterpret_cast<const void*>(_fcreatemesh));
    add("%CreateCube%parent=0", reinterpret_cast<const void*>(_fcreatecube));
    add("%CreateSphere%segments=8%parent=0", reinterpret_cast<const void*>(_fcreatesphere));
    add("%CreateCylinder%segments=8%solid=1%parent=0", reinterpret_cast<const void*>(_fcreatecylinder));
    add("%CreateCone%segments=8%solid=1%parent=0", reinterpret_cast<const void*>(_fcreatecone));
    add("%CopyMesh%mesh%parent=0", reinterpret_cast<const void*>(_fcopymesh));
    add("ScaleMesh%mesh#x_scale#y_scale#z_scale", reinterpret_cast<const void*>(_fscalemesh));
    add("RotateMesh%mesh#pitch#yaw#roll", reinterpret_cast<const void*>(_frotatemesh));
    add("PositionMesh%mesh#x#y#z", reinterpret_cast<const void*>(_fpositionmesh));
    add("FitMesh%mesh#x#y#z#width#height#depth%uniform=0", reinterpret_cast<const void*>(_ffitmesh));
    add("FlipMesh%mesh", reinterpret_cast<const void*>(_fflipmesh));
    add("PaintMesh%mesh%brush", reinterpret_cast<const void*>(_fpaintmesh));
    add("AddMesh%source_mesh%dest_mesh", reinterpret_cast<const void*>(_faddmesh));
    add("UpdateNormals%mesh", reinterpret_cast<const void*>(_fupdatenormals));
    add("LightMesh%mesh#red#green#blue#range=0#x=0#y=0#z=0", reinterpret_cast<const void*>(_flightmesh));
    add("#MeshWidth%mesh", reinterpret_cast<const void*>(_fmeshwidth));
    add("#MeshHeight%mesh", reinterpret_cast<const void*>(_fmeshheight));
    add("#MeshDepth%mesh", reinterpret_cast<const void*>(_fmeshdepth));
    add("%CountSurfaces%mesh", reinterpret_cast<const void*>(_fcountsurfaces));
    add("%GetSurface%mesh%surface_index", reinterpret_cast<const void*>(_fgetsurface));
    add("MeshCullBox%mesh#x#y#z#width#height#depth", reinterpret_cast<const void*>(_fmeshcullbox));
    add("%FindSurface%mesh%brush", reinterpret_cast<const void*>(_ffindsurface));
    add("%CreateSurface%mesh%brush=0", reinterpret_cast<const void*>(_fcreatesurface));
}

}  // namespace tarsk
