#include "runtime/engine3d/surface.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "runtime/engine3d/mesh.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/graphics/gx_mesh.h"
#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"

namespace tarsk {
namespace {

std::unordered_set<const MeshSurface*>& liveSurfaces() {
    static std::unordered_set<const MeshSurface*> surfaces;
    return surfaces;
}

// A new capacity for count elements: count at first, count + half the old one when growing.
int32_t grownCapacity(int32_t count, int32_t oldCapacity, bool first) {
    return first ? count : count + oldCapacity / 2;
}

}  // namespace

void* MeshSurface::operator new(std::size_t size) {
    void* record = arenaAlloc(size);
    if (!record) throw std::bad_alloc();
    return record;
}

void MeshSurface::operator delete(void* record, std::size_t size) { arenaFree(record, size); }

MeshSurface::MeshSurface(MeshGeometry& geometry, const Brush& brush) : geometry_(geometry), brush_(brush) {
    liveSurfaces().insert(this);
}

MeshSurface::~MeshSurface() {
    liveSurfaces().erase(this);
    if (std::shared_ptr<gxMesh> mesh = driverMesh_.lock()) mesh->display().dropDriverMesh(mesh.get());
}

void MeshSurface::setBrush(const Brush& brush) {
    brush_ = brush;
    geometry_.countBrushChange();
}

int32_t MeshSurface::addVertex(const Vertex& vertex) {
    vertices_.push_back(vertex);
    geometry_.countGeometryChanges(1);
    return vertexCount() - 1;
}

int32_t MeshSurface::addVertex(math3d::Vec3 position, float u, float v) {
    Vertex vertex;
    vertex.position = position;
    vertex.coords[0][0] = vertex.coords[1][0] = u;
    vertex.coords[0][1] = vertex.coords[1][1] = v;
    return addVertex(vertex);
}

int32_t MeshSurface::addTriangle(int32_t v0, int32_t v1, int32_t v2) {
    triangles_.push_back({{static_cast<uint16_t>(v0), static_cast<uint16_t>(v1), static_cast<uint16_t>(v2)}});
    geometry_.countGeometryChanges(1);
    return triangleCount() - 1;
}

void MeshSurface::clear(bool vertices, bool triangles) {
    std::size_t removed = 0;
    if (vertices) {
        removed += vertices_.size();
        vertices_.clear();
        uploadedVertices_ = 0;
    }
    if (triangles) {
        removed += triangles_.size();
        triangles_.clear();
        uploadedTriangles_ = 0;
    }
    geometry_.countGeometryChanges(removed);
}

void MeshSurface::setPosition(int32_t index, math3d::Vec3 position) {
    vertices_[index].position = position;
    uploadedVertices_ = std::min(uploadedVertices_, index);
    geometry_.countGeometryChanges(1);
}

void MeshSurface::setNormal(int32_t index, math3d::Vec3 normal) {
    vertices_[index].normal = normal;
    uploadedVertices_ = std::min(uploadedVertices_, index);
}

void MeshSurface::setColor(int32_t index, uint32_t argb) {
    vertices_[index].color = argb;
    uploadedVertices_ = std::min(uploadedVertices_, index);
}

void MeshSurface::setTexCoords(int32_t index, int32_t set, float u, float v) {
    vertices_[index].coords[set][0] = u;
    vertices_[index].coords[set][1] = v;
    uploadedVertices_ = std::min(uploadedVertices_, index);
}

void MeshSurface::verticesEdited(std::size_t touched, bool geometryChange) {
    uploadedVertices_ = 0;
    if (geometryChange) geometry_.countGeometryChanges(touched);
}

void MeshSurface::trianglesEdited(std::size_t touched) {
    uploadedTriangles_ = 0;
    geometry_.countGeometryChanges(touched);
}

gxMesh* MeshSurface::driverMesh(gxDisplay& display) {
    std::shared_ptr<gxMesh> mesh = driverMesh_.lock();
    if (mesh && mesh->lost()) uploadedVertices_ = uploadedTriangles_ = 0;
    if (mesh && uploadedVertices_ == vertexCount() && uploadedTriangles_ == triangleCount()) return mesh.get();
    if (!mesh || mesh->vertexCapacity() < vertexCount() || mesh->triangleCapacity() < triangleCount()) {
        bool first = !mesh;
        int32_t vertexCapacity = grownCapacity(vertexCount(), first ? 0 : mesh->vertexCapacity(), first);
        int32_t triangleCapacity = grownCapacity(triangleCount(), first ? 0 : mesh->triangleCapacity(), first);
        if (mesh) mesh->display().dropDriverMesh(mesh.get());
        mesh = display.makeDriverMesh(vertexCapacity, triangleCapacity);
        driverMesh_ = mesh;
        if (!mesh) return nullptr;
    }
    upload(*mesh);
    return mesh.get();
}

void MeshSurface::upload(gxMesh& mesh) {
    gxMesh::Locked locked = mesh.lock();
    if (locked.vertices) {
        for (std::size_t i = 0; i < vertices_.size(); ++i)
            std::memcpy(locked.vertices + i * kDriverVertexBytes, &vertices_[i], kDriverVertexBytes);
    }
    // A triangle naming a missing vertex is sent as a degenerate one on vertex 0, so the
    // driver never reads past the vertices (the buffer always holds at least one).
    for (std::size_t i = 0; i < triangles_.size(); ++i) {
        const Triangle& t = triangles_[i];
        bool named = namesVertices(t);
        for (int k = 0; k < 3; ++k) locked.indices[i * 3 + k] = named ? t.v[k] : 0;
    }
    mesh.unlock(triangleCount());
    if (mesh.lost()) return;
    uploadedVertices_ = vertexCount();
    uploadedTriangles_ = triangleCount();
}

MeshSurface* liveSurface(int32_t handle) {
    MeshSurface* surface = fromHandle<MeshSurface>(handle);
    if (!handle || liveSurfaces().count(surface) == 0) runtimeError("Surface does not exist");
    return surface;
}

}  // namespace tarsk
