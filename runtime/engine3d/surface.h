// Mesh surfaces: a contiguous vertex array, a triangle array and one brush, belonging to
// a mesh geometry whose change counters every edit advances. The surface uploads itself
// lazily into a driver mesh of the display for the renderer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/engine3d/brush.h"
#include "runtime/engine3d/math3d.h"

namespace tarsk {

class gxDisplay;
class gxMesh;
class MeshGeometry;

inline constexpr uint8_t kNoBone = 255;
inline constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

// 64 bytes; the first 44 are what the driver mesh holds.
struct Vertex {
    math3d::Vec3 position;
    math3d::Vec3 normal;
    uint32_t color = kOpaqueWhite;  // alpha << 24 | red << 16 | green << 8 | blue
    float coords[2][2] = {};        // [set][u, v]
    uint8_t bones[4] = {kNoBone, kNoBone, kNoBone, kNoBone};  // kNoBone ends the list
    float weights[4] = {};
};
static_assert(sizeof(Vertex) == 64);
static_assert(offsetof(Vertex, normal) == 12 && offsetof(Vertex, color) == 24 && offsetof(Vertex, coords) == 28 &&
              offsetof(Vertex, bones) == 44 && offsetof(Vertex, weights) == 48);
inline constexpr std::size_t kDriverVertexBytes = 44;

// Three vertex indices; front faces are clockwise seen from the front.
struct Triangle {
    uint16_t v[3];
};
static_assert(sizeof(Triangle) == 6);

class MeshSurface {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* record, std::size_t size);

    // Made by MeshGeometry::createSurface; registered as a live surface handle.
    MeshSurface(MeshGeometry& geometry, const Brush& brush);
    // Releases the driver mesh and unregisters the handle.
    ~MeshSurface();
    MeshSurface(const MeshSurface&) = delete;
    MeshSurface& operator=(const MeshSurface&) = delete;

    MeshGeometry& geometry() const { return geometry_; }
    const Brush& brush() const { return brush_; }
    // Counts a brush change of the geometry.
    void setBrush(const Brush& brush);

    const std::vector<Vertex>& vertices() const { return vertices_; }
    const std::vector<Triangle>& triangles() const { return triangles_; }
    int32_t vertexCount() const { return static_cast<int32_t>(vertices_.size()); }
    int32_t triangleCount() const { return static_cast<int32_t>(triangles_.size()); }
    bool hasVertex(int32_t index) const { return index >= 0 && index < vertexCount(); }
    // True when all three indices name existing vertices; other triangles are kept out
    // of uploads, normals and collision trees.
    bool namesVertices(const Triangle& triangle) const {
        return triangle.v[0] < vertices_.size() && triangle.v[1] < vertices_.size() &&
               triangle.v[2] < vertices_.size();
    }

    // Appends (the index is returned) and counts a geometry change.
    int32_t addVertex(const Vertex& vertex);
    // Opaque white, normal 0, both coordinate sets (u, v).
    int32_t addVertex(math3d::Vec3 position, float u, float v);
    // Indices are stored as 16-bit values as given, unchecked.
    int32_t addTriangle(int32_t v0, int32_t v1, int32_t v2);
    // Empties either array, keeping its capacity.
    void clear(bool vertices, bool triangles);

    // Setters of one existing vertex (index checked by the caller); each lowers the
    // upload mark, and the position setter counts a geometry change.
    void setPosition(int32_t index, math3d::Vec3 position);
    void setNormal(int32_t index, math3d::Vec3 normal);
    void setColor(int32_t index, uint32_t argb);
    void setTexCoords(int32_t index, int32_t set, float u, float v);

    // Whole-array edits (mesh transforms, flips, lighting, loaders): the caller changes
    // the array, then reports how many vertices or triangles it touched and whether the
    // geometry counter should count them.
    std::vector<Vertex>& editVertices() { return vertices_; }
    std::vector<Triangle>& editTriangles() { return triangles_; }
    void verticesEdited(std::size_t touched, bool geometryChange);
    void trianglesEdited(std::size_t touched);

    // The driver mesh holding this surface's current arrays, uploaded again when the
    // arrays changed since the last upload or the driver lost it; nullptr when the
    // display cannot make one (the surface is then not drawn). Valid for this frame.
    gxMesh* driverMesh(gxDisplay& display);
    int32_t uploadedVertices() const { return uploadedVertices_; }
    int32_t uploadedTriangles() const { return uploadedTriangles_; }

private:
    void upload(gxMesh& mesh);

    MeshGeometry& geometry_;
    Brush brush_;
    std::vector<Vertex> vertices_;
    std::vector<Triangle> triangles_;
    std::weak_ptr<gxMesh> driverMesh_;
    int32_t uploadedVertices_ = 0, uploadedTriangles_ = 0;
};

// The live surface of a handle, else "Surface does not exist" (always checked: a stale
// handle would touch freed memory).
MeshSurface* liveSurface(int32_t handle);

}  // namespace tarsk
