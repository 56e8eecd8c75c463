#include "runtime/engine3d/mesh_editing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace tarsk {

using math3d::Vec3;

void transformMesh(MeshGeometry& geometry, const math3d::Matrix3& m, Vec3 t) {
    math3d::Matrix3 normals = math3d::cofactor(m);
    for (MeshSurface* surface : geometry.surfaces()) {
        for (Vertex& vertex : surface->editVertices()) {
            vertex.position = m * vertex.position + t;
            vertex.normal = normals * vertex.normal;
        }
        surface->verticesEdited(surface->vertices().size(), true);
    }
}

void fitMesh(MeshGeometry& geometry, const Box3& target, bool uniform) {
    Box3 bounds = geometry.bounds();
    if (bounds.empty()) return;
    float wanted[3] = {target.max.x - target.min.x, target.max.y - target.min.y, target.max.z - target.min.z};
    float extent[3] = {bounds.max.x - bounds.min.x, bounds.max.y - bounds.min.y, bounds.max.z - bounds.min.z};
    // An axis without extent cannot be scaled to a size: it keeps factor 1 (or the
    // uniform factor) and is only centred.
    float factor[3] = {1, 1, 1};
    float smallest = INFINITY;
    for (int i = 0; i < 3; ++i) {
        if (!(extent[i] > 0)) continue;
        factor[i] = wanted[i] / extent[i];
        smallest = std::min(smallest, factor[i]);
    }
    if (uniform && std::isfinite(smallest)) factor[0] = factor[1] = factor[2] = smallest;
    math3d::Matrix3 m{{factor[0], 0, 0}, {0, factor[1], 0}, {0, 0, factor[2]}};
    Vec3 targetCentre = (target.min + target.max) * 0.5f;
    Vec3 meshCentre = (bounds.min + bounds.max) * 0.5f;
    transformMesh(geometry, m, targetCentre - m * meshCentre);
}

void flipMesh(MeshGeometry& geometry) {
    for (MeshSurface* surface : geometry.surfaces()) {
        for (Vertex& vertex : surface->editVertices()) vertex.normal = vertex.normal * -1.0f;
        surface->verticesEdited(surface->vertices().size(), true);
        for (Triangle& triangle : surface->editTriangles()) std::swap(triangle.v[1], triangle.v[2]);
        surface->trianglesEdited(surface->triangles().size());
    }
}

void addMesh(const MeshGeometry& source, MeshGeometry& dest) {
    if (dest.cullBox.empty() && !source.cullBox.empty()) dest.cullBox = source.cullBox;
    // Geometry shared by two copies may be added into itself: work from a snapshot then.
    const bool self = &source == &dest;
    std::vector<MeshSurface*> sources = source.surfaces();
    for (MeshSurface* from : sources) {
        std::vector<Vertex> vertexCopy;
        std::vector<Triangle> triangleCopy;
        if (self) vertexCopy = from->vertices(), triangleCopy = from->triangles();
        const std::vector<Vertex>& vertices = self ? vertexCopy : from->vertices();
        const std::vector<Triangle>& triangles = self ? triangleCopy : from->triangles();
        MeshSurface* to = dest.findSurface(from->brush());
        if (!to) to = dest.createSurface(from->brush());
        auto offset = static_cast<uint16_t>(to->vertexCount());
        std::vector<Triangle>& toTriangles = to->editTriangles();
        for (Triangle t : triangles) {
            for (uint16_t& index : t.v) index = static_cast<uint16_t>(index + offset);
            toTriangles.push_back(t);
        }
        to->trianglesEdited(triangles.size());
        std::vector<Vertex>& toVertices = to->editVertices();
        toVertices.insert(toVertices.end(), vertices.begin(), vertices.end());
        to->verticesEdited(vertices.size(), true);
    }
}

namespace {

// A position's exact bits, with -0 taken as 0, so equal positions meet in one key.
struct PositionKey {
    uint32_t bits[3];
    bool operator==(const PositionKey& other) const { return std::memcmp(bits, other.bits, sizeof bits) == 0; }
};

struct PositionHash {
    std::size_t operator()(const PositionKey& key) const {
        return (std::size_t(key.bits[0]) * 73856093u) ^ (std::size_t(key.bits[1]) * 19349663u) ^
               (std::size_t(key.bits[2]) * 83492791u);
    }
};

PositionKey keyOf(Vec3 p) {
    PositionKey key;
    float components[3] = {p.x + 0.0f, p.y + 0.0f, p.z + 0.0f};
    std::memcpy(key.bits, components, sizeof key.bits);
    return key;
}

// Coplanar triangles around a position count as one face, so a quad split in two adds
// its normal once and a cube corner gets the plain sum of its three faces.
constexpr float kSamePlane = 1 - 1e-5f;

void updateSurfaceNormals(MeshSurface& surface) {
    const std::vector<Vertex>& vertices = surface.vertices();
    std::unordered_map<PositionKey, std::vector<Vec3>, PositionHash> faces;
    for (const Triangle& t : surface.triangles()) {
        if (!surface.namesVertices(t)) continue;
        Vec3 p0 = vertices[t.v[0]].position, p1 = vertices[t.v[1]].position, p2 = vertices[t.v[2]].position;
        Vec3 face = math3d::cross(p1 - p0, p2 - p0);
        if (!(math3d::length(face) > 1e-6f)) continue;
        face = math3d::normalized(face);
        for (Vec3 p : {p0, p1, p2}) {
            std::vector<Vec3>& around = faces[keyOf(p)];
            bool known = std::any_of(around.begin(), around.end(),
                                     [&](Vec3 seen) { return math3d::dot(seen, face) > kSamePlane; });
            if (!known) around.push_back(face);
        }
    }
    for (Vertex& vertex : surface.editVertices()) {
        Vec3 sum;
        auto found = faces.find(keyOf(vertex.position));
        if (found != faces.end())
            for (Vec3 face : found->second) sum = sum + face;
        vertex.normal = math3d::normalized(sum);
    }
    surface.verticesEdited(vertices.size(), false);
}

uint8_t channel(uint32_t color, int shift) { return static_cast<uint8_t>(color >> shift); }

uint32_t packChannel(float value, int shift) {
    float scaled = std::floor(value * 255.0f);
    int32_t byte = scaled >= 255.0f ? 255 : scaled > 0.0f ? static_cast<int32_t>(scaled) : 0;
    return static_cast<uint32_t>(byte) << shift;
}

}  // namespace

void updateNormals(MeshGeometry& geometry) {
    auto at = static_cast<int64_t>(geometry.geometryChanges());
    if (geometry.normalsUpdatedAt == at) return;
    for (MeshSurface* surface : geometry.surfaces()) updateSurfaceNormals(*surface);
    geometry.normalsUpdatedAt = at;
}

void lightMesh(MeshGeometry& geometry, Vec3 colour, float range, Vec3 position) {
    for (MeshSurface* surface : geometry.surfaces()) {
        for (Vertex& vertex : surface->editVertices()) {
            Vec3 added = colour;
            if (range != 0) {
                Vec3 d = position - vertex.position;
                float w = math3d::dot(math3d::normalized(vertex.normal), d);
                if (!(w > 0)) continue;
                float l = math3d::length(d);
                added = colour * (range / l) * (w / l);
            }
            float r = channel(vertex.color, 16) / 255.0f + added.x;
            float g = channel(vertex.color, 8) / 255.0f + added.y;
            float b = channel(vertex.color, 0) / 255.0f + added.z;
            vertex.color = 0xFF000000u | packChannel(r, 16) | packChannel(g, 8) | packChannel(b, 0);
        }
        surface->verticesEdited(surface->vertices().size(), false);
    }
}

}  // namespace tarsk
