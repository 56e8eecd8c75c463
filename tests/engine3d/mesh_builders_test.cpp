// The primitive shapes: surface, vertex and triangle counts, exact vertices, and windings
// that agree with the normals.
#include <cmath>
#include <functional>

#include "mesh_test_helpers.h"

namespace tarsk::test {
namespace {

using Shapes = World3D;

struct ShapeCase {
    const char* name;
    std::function<int32_t()> make;
    std::vector<std::pair<int32_t, int32_t>> surfaces;  // vertices, triangles
};

const std::vector<ShapeCase>& shapeCases() {
    static const std::vector<ShapeCase> cases = {
        {"cube", [] { return _fcreatecube(0); }, {{24, 12}}},
        {"sphere 8", [] { return _fcreatesphere(8, 0); }, {{151, 224}}},
        {"sphere 2", [] { return _fcreatesphere(2, 0); }, {{4 + 5 + 4, 4 + 0 + 4}}},
        {"cylinder 8 solid", [] { return _fcreatecylinder(8, 1, 0); }, {{18, 16}, {16, 12}}},
        {"cylinder 8 open", [] { return _fcreatecylinder(8, 0, 0); }, {{18, 16}}},
        {"cone 8 open", [] { return _fcreatecone(8, 0, 0); }, {{17, 8}}},
        {"cone 8 solid", [] { return _fcreatecone(8, 1, 0); }, {{17, 8}, {8, 6}}},
    };
    return cases;
}

TEST_F(Shapes, CountsOfSurfacesVerticesAndTriangles) {
    for (const ShapeCase& shape : shapeCases()) {
        SCOPED_TRACE(shape.name);
        int32_t mesh = shape.make();
        EXPECT_EQ(text(_fentityclass(mesh)), "Mesh");
        ASSERT_EQ(_fcountsurfaces(mesh), int32_t(shape.surfaces.size()));
        for (size_t s = 0; s < shape.surfaces.size(); ++s) {
            int32_t surface = _fgetsurface(mesh, int32_t(s + 1));
            EXPECT_EQ(_fcountvertices(surface), shape.surfaces[s].first);
            EXPECT_EQ(_fcounttriangles(surface), shape.surfaces[s].second);
        }
        // Every shape spans -1 to 1 on each axis.
        expectNear(meshExtent(mesh), {2, 2, 2});
    }
}

// Each triangle's face normal (v1 - v0) x (v2 - v0) points the way its vertex normals do,
// and every vertex is opaque white with coordinate set 1 equal to set 0.
TEST_F(Shapes, WindingsAgreeWithNormalsAndVerticesAreWhite) {
    for (const ShapeCase& shape : shapeCases()) {
        SCOPED_TRACE(shape.name);
        MeshRecord mesh = recordOf(shape.make());
        for (size_t s = 0; s < mesh.vertices.size(); ++s) {
            const auto& vertices = mesh.vertices[s];
            for (const VertexRecord& v : vertices) {
                EXPECT_EQ(v.red + v.green + v.blue, 3 * 255.0f);
                EXPECT_EQ(v.alpha, 1.0f);
                EXPECT_EQ(v.u0, v.u1);
                EXPECT_EQ(v.v0, v.v1);
            }
            bool coneBase = std::string(shape.name) == "cone 8 solid" && s == 1;
            for (const TriangleRecord& t : mesh.triangles[s]) {
                math3d::Vec3 p0 = vertices[t.v[0]].position, p1 = vertices[t.v[1]].position,
                             p2 = vertices[t.v[2]].position;
                math3d::Vec3 face = math3d::cross(p1 - p0, p2 - p0);
                // The cone's base keeps the rim's sideways normals; it faces down.
                math3d::Vec3 normal = coneBase ? math3d::Vec3{0, -1, 0}
                                               : vertices[t.v[0]].normal + vertices[t.v[1]].normal +
                                                     vertices[t.v[2]].normal;
                EXPECT_GT(math3d::dot(face, normal), 0) << t.v[0] << " " << t.v[1] << " " << t.v[2];
            }
        }
    }
}

TEST_F(Shapes, CubeFacesFollowTheCornerTable) {
    int32_t surface = _fgetsurface(_fcreatecube(0), 1);
    // Face 1 (+x): corners 3, 7, 5, 1 with texture coordinates (0,0), (1,0), (1,1), (0,1).
    const math3d::Vec3 corners[4] = {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}};
    const float u[4] = {0, 1, 1, 0}, v[4] = {0, 0, 1, 1};
    for (int32_t c = 0; c < 4; ++c) {
        VertexRecord vertex = vertexAt(surface, 4 + c);
        expectNear(vertex.position, corners[c]);
        expectNear(vertex.normal, {1, 0, 0});
        EXPECT_EQ(vertex.u0, u[c]);
        EXPECT_EQ(vertex.v0, v[c]);
    }
    EXPECT_EQ(_ftrianglevertex(surface, 3, 0), 4);
    EXPECT_EQ(_ftrianglevertex(surface, 3, 1), 6);
    EXPECT_EQ(_ftrianglevertex(surface, 3, 2), 7);
}

TEST_F(Shapes, SphereRingsSeamsAndPoles) {
    int32_t surface = _fgetsurface(_fcreatesphere(8, 0), 1);
    const int32_t n = 16;
    VertexRecord pole = vertexAt(surface, 3);
    expectNear(pole.position, {0, 1, 0});
    EXPECT_FLOAT_EQ(pole.u0, 3.5f / n);
    // Ring 2 (theta = 45 degrees), vertex 4 (phi = 90 degrees): (-sin phi sin theta, cos theta, cos phi sin theta).
    int32_t ring2 = n + (n + 1);
    VertexRecord v = vertexAt(surface, ring2 + 4);
    float r = std::sqrt(0.5f);
    expectNear(v.position, {-r, r, 0});
    expectNear(v.normal, {-r, r, 0});
    EXPECT_FLOAT_EQ(v.u0, 4.0f / n);
    EXPECT_FLOAT_EQ(v.v0, 2.0f / 8);
    // The seam repeats the ring's first vertex with u = 1.
    VertexRecord first = vertexAt(surface, ring2), last = vertexAt(surface, ring2 + n);
    expectNear(last.position, first.position);
    EXPECT_EQ(last.u0, 1.0f);
    VertexRecord bottom = vertexAt(surface, n + 7 * (n + 1));
    expectNear(bottom.position, {0, -1, 0});
    EXPECT_EQ(bottom.v0, 1.0f);
}

TEST_F(Shapes, SegmentCountsOutsideTheirRangeAreRefused) {
    for (auto make : std::vector<std::function<void()>>{
             [] { _fcreatesphere(1, 0); }, [] { _fcreatesphere(101, 0); }, [] { _fcreatecylinder(2, 1, 0); },
             [] { _fcreatecylinder(101, 1, 0); }, [] { _fcreatecone(2, 1, 0); }, [] { _fcreatecone(-5, 0, 0); }})
        EXPECT_EQ(errorOf(make), "Illegal number of segments");
    EXPECT_NE(_fcreatecone(100, 1, 0), 0);
}

}  // namespace
}  // namespace tarsk::test
