// Reading meshes back through the surface commands in the mesh tests.
#pragma once

#include <vector>

#include "engine3d_fixture.h"

namespace tarsk::test {

struct VertexRecord {
    math3d::Vec3 position, normal;
    float red, green, blue, alpha, u0, v0, u1, v1;
};

inline VertexRecord vertexAt(int32_t surface, int32_t i) {
    return {{_fvertexx(surface, i), _fvertexy(surface, i), _fvertexz(surface, i)},
            {_fvertexnx(surface, i), _fvertexny(surface, i), _fvertexnz(surface, i)},
            _fvertexred(surface, i),
            _fvertexgreen(surface, i),
            _fvertexblue(surface, i),
            _fvertexalpha(surface, i),
            _fvertexu(surface, i, 0),
            _fvertexv(surface, i, 0),
            _fvertexu(surface, i, 1),
            _fvertexv(surface, i, 1)};
}

struct TriangleRecord {
    int32_t v[3];
    bool operator==(const TriangleRecord&) const = default;
};

// Every surface's vertices and triangles, in order.
struct MeshRecord {
    std::vector<std::vector<VertexRecord>> vertices;
    std::vector<std::vector<TriangleRecord>> triangles;
};

inline MeshRecord recordOf(int32_t mesh) {
    MeshRecord record;
    for (int32_t s = 1; s <= _fcountsurfaces(mesh); ++s) {
        int32_t surface = _fgetsurface(mesh, s);
        record.vertices.emplace_back();
        record.triangles.emplace_back();
        for (int32_t i = 0; i < _fcountvertices(surface); ++i) record.vertices.back().push_back(vertexAt(surface, i));
        for (int32_t t = 0; t < _fcounttriangles(surface); ++t)
            record.triangles.back().push_back(
                {{_ftrianglevertex(surface, t, 0), _ftrianglevertex(surface, t, 1), _ftrianglevertex(surface, t, 2)}});
    }
    return record;
}

inline void expectSameVertex(const VertexRecord& a, const VertexRecord& b) {
    expectNear(a.position, b.position);
    expectNear(a.normal, b.normal);
    EXPECT_EQ(a.red, b.red);
    EXPECT_EQ(a.green, b.green);
    EXPECT_EQ(a.blue, b.blue);
    EXPECT_EQ(a.alpha, b.alpha);
    EXPECT_EQ(a.u0, b.u0);
    EXPECT_EQ(a.v0, b.v0);
    EXPECT_EQ(a.u1, b.u1);
    EXPECT_EQ(a.v1, b.v1);
}

inline math3d::Vec3 meshExtent(int32_t mesh) { return {_fmeshwidth(mesh), _fmeshheight(mesh), _fmeshdepth(mesh)}; }

}  // namespace tarsk::test
