#include "runtime/engine3d/mesh_builders.h"

#include <cmath>

namespace tarsk {

using math3d::Vec3;

namespace {

// Opaque white, both coordinate sets (u, v).
Vertex shapeVertex(Vec3 position, Vec3 normal, float u, float v) {
    Vertex vertex;
    vertex.position = position;
    vertex.normal = normal;
    vertex.coords[0][0] = vertex.coords[1][0] = u;
    vertex.coords[0][1] = vertex.coords[1][1] = v;
    return vertex;
}

// The rim direction at angle phi: (-sin phi, 0, cos phi).
Vec3 rim(float phi) { return {-std::sin(phi), 0, std::cos(phi)}; }

float segmentAngle(int32_t i, int32_t segments) { return float(i % segments) * math3d::kTwoPi / float(segments); }

}  // namespace

void buildCube(MeshGeometry& geometry) {
    struct Face {
        int corners[4];
        Vec3 normal;
    };
    static constexpr Face kFaces[6] = {
        {{2, 3, 1, 0}, {0, 0, -1}}, {{3, 7, 5, 1}, {1, 0, 0}},  {{7, 6, 4, 5}, {0, 0, 1}},
        {{6, 2, 0, 4}, {-1, 0, 0}}, {{6, 7, 3, 2}, {0, 1, 0}}, {{0, 1, 5, 4}, {0, -1, 0}},
    };
    static constexpr float kCornerU[4] = {0, 1, 1, 0}, kCornerV[4] = {0, 0, 1, 1};
    MeshSurface* surface = geometry.createSurface(Brush());
    for (int f = 0; f < 6; ++f) {
        for (int c = 0; c < 4; ++c) {
            int flags = kFaces[f].corners[c];
            Vec3 corner{flags & 1 ? 1.0f : -1.0f, flags & 2 ? 1.0f : -1.0f, flags & 4 ? 1.0f : -1.0f};
            surface->addVertex(shapeVertex(corner, kFaces[f].normal, kCornerU[c], kCornerV[c]));
        }
        surface->addTriangle(4 * f, 4 * f + 1, 4 * f + 2);
        surface->addTriangle(4 * f, 4 * f + 2, 4 * f + 3);
    }
}

void buildSphere(MeshGeometry& geometry, int32_t segments) {
    const int32_t s = segments, n = 2 * s;
    MeshSurface* surface = geometry.createSurface(Brush());
    for (int32_t i = 0; i < n; ++i)
        surface->addVertex(shapeVertex({0, 1, 0}, {0, 1, 0}, (float(i) + 0.5f) / float(n), 0));
    auto ring = [n](int32_t k) { return n + (k - 1) * (n + 1); };
    for (int32_t k = 1; k < s; ++k) {
        float theta = float(k) * math3d::kPi / float(s);
        for (int32_t j = 0; j <= n; ++j) {
            Vec3 r = rim(segmentAngle(j, n));
            Vec3 p{r.x * std::sin(theta), std::cos(theta), r.z * std::sin(theta)};
            surface->addVertex(shapeVertex(p, p, float(j) / float(n), float(k) / float(s)));
        }
    }
    const int32_t bottom = ring(s);
    for (int32_t i = 0; i < n; ++i)
        surface->addVertex(shapeVertex({0, -1, 0}, {0, -1, 0}, (float(i) + 0.5f) / float(n), 1));
    for (int32_t i = 0; i < n; ++i) surface->addTriangle(i, ring(1) + i + 1, ring(1) + i);
    for (int32_t k = 1; k <= s - 2; ++k) {
        for (int32_t j = 0; j < n; ++j) {
            int32_t a = ring(k) + j, c = ring(k + 1) + j;
            surface->addTriangle(a, a + 1, c + 1);
            surface->addTriangle(a, c + 1, c);
        }
    }
    for (int32_t i = 0; i < n; ++i) surface->addTriangle(ring(s - 1) + i, ring(s - 1) + i + 1, bottom + i);
}

void buildCylinder(MeshGeometry& geometry, int32_t segments, bool solid) {
    const int32_t s = segments;
    Brush brush;
    MeshSurface* side = geometry.createSurface(brush);
    for (int32_t i = 0; i <= s; ++i) {
        Vec3 p = rim(segmentAngle(i, s));
        float u = float(i) / float(s);
        side->addVertex(shapeVertex({p.x, 1, p.z}, p, u, 0));
        side->addVertex(shapeVertex({p.x, -1, p.z}, p, u, 1));
    }
    for (int32_t i = 0; i < s; ++i) {
        side->addTriangle(2 * i, 2 * i + 2, 2 * i + 3);
        side->addTriangle(2 * i, 2 * i + 3, 2 * i + 1);
    }
    if (!solid) return;
    MeshSurface* caps = geometry.createSurface(brush);
    for (int32_t i = 0; i < s; ++i) {
        Vec3 p = rim(segmentAngle(i, s));
        float u = (p.x + 1) / 2, v = (p.z + 1) / 2;
        caps->addVertex(shapeVertex({p.x, 1, p.z}, {0, 1, 0}, u, v));
        caps->addVertex(shapeVertex({p.x, -1, p.z}, {0, -1, 0}, u, v));
    }
    for (int32_t i = 2; i < s; ++i) {
        caps->addTriangle(0, 2 * i, 2 * i - 2);
        caps->addTriangle(1, 2 * i - 1, 2 * i + 1);
    }
}

void buildCone(MeshGeometry& geometry, int32_t segments, bool solid) {
    const int32_t s = segments;
    Brush brush;
    MeshSurface* side = geometry.createSurface(brush);
    for (int32_t i = 0; i < s; ++i)
        side->addVertex(shapeVertex({0, 1, 0}, {0, 1, 0}, (float(i) + 0.5f) / float(s), 0));
    for (int32_t i = 0; i <= s; ++i) {
        Vec3 p = rim(segmentAngle(i, s));
        side->addVertex(shapeVertex({p.x, -1, p.z}, p, float(i) / float(s), 1));
    }
    for (int32_t i = 0; i < s; ++i) side->addTriangle(i, s + i + 1, s + i);
    if (!solid) return;
    MeshSurface* base = geometry.createSurface(brush);
    for (int32_t i = 0; i < s; ++i) {
        Vec3 p = rim(segmentAngle(i, s));
        base->addVertex(shapeVertex({p.x, -1, p.z}, p, (p.x + 1) / 2, (p.z + 1) / 2));
    }
    for (int32_t i = 2; i < s; ++i) base->addTriangle(0, i - 1, i);
}

}  // namespace tarsk
