// Whole-mesh commands: extents, fitting, transforms with their normals, flipping, smooth
// normals and their caching, baked light, merging, and geometry shared by copies.
#include <cmath>

#include "mesh_test_helpers.h"
#include "runtime/engine3d/mesh.h"
#include "runtime/host/arena.h"

namespace tarsk::test {
namespace {

using MeshCommands = World3D;

TEST_F(MeshCommands, AnEmptyMeshHasTheExtentOfTheEmptyBox) {
    int32_t mesh = _fcreatemesh(0);
    expectNear(meshExtent(mesh), {-2e7f, -2e7f, -2e7f});
    int32_t surface = _fcreatesurface(mesh, 0);
    _faddvertex(surface, 1, 2, 3, 0, 0, 1);
    expectNear(meshExtent(mesh), {0, 0, 0});
    _faddvertex(surface, -1, 0, 5, 0, 0, 1);
    expectNear(meshExtent(mesh), {2, 2, 2});
}

TEST_F(MeshCommands, FitMeshFillsTheBoxOrKeepsProportions) {
    struct Case {
        math3d::Vec3 origin, size;
        int32_t uniform;
        math3d::Vec3 min, max;
    };
    const Case cases[] = {
        {{0, 0, 0}, {2, 4, 8}, 0, {0, 0, 0}, {2, 4, 8}},
        // Uniform: the smallest factor (1), centred in the box.
        {{0, 0, 0}, {2, 4, 8}, 1, {0, 1, 3}, {2, 3, 5}},
        // Negative sizes are normalized first.
        {{1, 1, 1}, {-2, -4, -1}, 0, {-1, -3, 0}, {1, 1, 1}},
    };
    for (const Case& c : cases) {
        int32_t cube = _fcreatecube(0);
        _ffitmesh(cube, c.origin.x, c.origin.y, c.origin.z, c.size.x, c.size.y, c.size.z, c.uniform);
        int32_t surface = _fgetsurface(cube, 1);
        math3d::Vec3 low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
        for (int32_t i = 0; i < _fcountvertices(surface); ++i) {
            math3d::Vec3 p = vertexAt(surface, i).position;
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
        expectNear(low, c.min);
        expectNear(high, c.max);
        expectNear(meshExtent(cube), c.max - c.min);
    }
}

TEST_F(MeshCommands, FitMeshOfAFlatMeshOnlyCentresTheFlatAxis) {
    int32_t mesh = _fcreatemesh(0);
    int32_t surface = _fcreatesurface(mesh, 0);
    _faddvertex(surface, 0, 0, 0, 0, 0, 1);
    _faddvertex(surface, 1, 1, 0, 0, 0, 1);
    _ffitmesh(mesh, 0, 0, 0, 4, 2, 6, 1);
    expectNear(vertexAt(surface, 0).position, {1, 0, 3});
    expectNear(vertexAt(surface, 1).position, {3, 2, 3});
}

TEST_F(MeshCommands, TransformsMoveNormalsByTheCofactorMatrix) {
    int32_t cube = _fcreatecube(0);
    int32_t surface = _fgetsurface(cube, 1);
    _fscalemesh(cube, 2, 3, 4);
    // Face 1 (+x): normal scaled by y·z = 12, not renormalized.
    expectNear(vertexAt(surface, 4).normal, {12, 0, 0});
    expectNear(vertexAt(surface, 4).position, {2, 3, -4});
    _fpositionmesh(cube, 1, 0, 0);
    expectNear(meshExtent(cube), {4, 6, 8});
    expectNear(vertexAt(surface, 4).position, {3, 3, -4});
    // Yaw 90 turns +z towards -x.
    int32_t other = _fcreatecube(0);
    _frotatemesh(other, 0, 90, 0);
    int32_t face2 = _fgetsurface(other, 1);
    expectNear(vertexAt(face2, 8).normal, {-1, 0, 0});
}

TEST_F(MeshCommands, FlipMeshReversesAndTwiceRestores) {
    int32_t sphere = _fcreatesphere(4, 0);
    MeshRecord before = recordOf(sphere);
    _fflipmesh(sphere);
    MeshRecord flipped = recordOf(sphere);
    const TriangleRecord& t = before.triangles[0][5];
    EXPECT_EQ(flipped.triangles[0][5], (TriangleRecord{{t.v[0], t.v[2], t.v[1]}}));
    expectNear(flipped.vertices[0][9].normal, before.vertices[0][9].normal * -1);
    _fflipmesh(sphere);
    MeshRecord after = recordOf(sphere);
    EXPECT_EQ(after.triangles, before.triangles);
    for (size_t i = 0; i < before.vertices[0].size(); ++i) expectSameVertex(after.vertices[0][i], before.vertices[0][i]);
}

TEST_F(MeshCommands, UpdateNormalsSmoothsSharedPositionsAndIsCached) {
    int32_t cube = _fcreatecube(0);
    int32_t surface = _fgetsurface(cube, 1);
    _fupdatenormals(cube);
    for (int32_t i = 0; i < 24; ++i) {
        VertexRecord v = vertexAt(surface, i);
        // The normalized sum of the three faces meeting at the corner.
        expectNear(v.normal, v.position * (1 / std::sqrt(3.0f)));
    }
    _fvertexnormal(surface, 0, 0, 0, 1);
    _fupdatenormals(cube);
    expectNear(vertexAt(surface, 0).normal, {0, 0, 1});
    // A geometry change makes the next call recompute.
    _fvertexcoords(surface, 0, -1, 1, -1);
    _fupdatenormals(cube);
    expectNear(vertexAt(surface, 0).normal, math3d::Vec3{-1, 1, -1} * (1 / std::sqrt(3.0f)));

    // A sphere's smooth normals point outward, and the seam's two copies share one.
    int32_t sphere = _fcreatesphere(8, 0);
    int32_t round = _fgetsurface(sphere, 1);
    for (int32_t i = 0; i < _fcountvertices(round); ++i) _fvertexnormal(round, i, 0, 0, 0);
    _fupdatenormals(sphere);
    for (int32_t i = 0; i < _fcountvertices(round); ++i) {
        VertexRecord v = vertexAt(round, i);
        EXPECT_GT(math3d::dot(v.normal, v.position), 0.98f) << i;
    }
    expectNear(vertexAt(round, 16 + 17).normal, vertexAt(round, 16 + 17 + 16).normal);
}

TEST_F(MeshCommands, UpdateNormalsSkipsTrianglesNamingMissingVertices) {
    int32_t mesh = _fcreatemesh(0);
    int32_t surface = _fcreatesurface(mesh, 0);
    _faddvertex(surface, 0, 0, 0, 0, 0, 1);
    _faddvertex(surface, 0, 1, 0, 0, 0, 1);
    _faddvertex(surface, 1, 0, 0, 0, 0, 1);
    _faddtriangle(surface, 0, 1, 2);
    _faddtriangle(surface, 0, 1, 40000);
    _faddtriangle(surface, -1, 1, 2);
    _fupdatenormals(mesh);
    for (int32_t i = 0; i < 3; ++i) expectNear(vertexAt(surface, i).normal, {0, 0, -1});
    EXPECT_EQ(_ftrianglevertex(surface, 2, 0), 65535);
}

TEST_F(MeshCommands, LightMeshAddsColourByRangeAndAngle) {
    int32_t cube = _fcreatecube(0);
    int32_t surface = _fgetsurface(cube, 1);
    for (int32_t i = 0; i < 24; ++i) _fvertexcolor(surface, i, 0, 10, 20, 0);
    _flightmesh(cube, 255, 0, 0, 0, 0, 0, 0);
    for (int32_t i = 0; i < 24; ++i) {
        VertexRecord v = vertexAt(surface, i);
        EXPECT_EQ(v.red, 255);
        EXPECT_EQ(v.alpha, 1.0f);
        EXPECT_NEAR(v.green, 10, 1);
        EXPECT_NEAR(v.blue, 20, 1);
    }
    // A light 3 units in front of face 0 (normal -z), range 3: vertex (-1, 1, -1) gets
    // d = (1, -1, -2), w = 2, |d| = sqrt 6, so (3/sqrt 6) · (2/sqrt 6) = 1 times the light;
    // face 2 (normal +z) faces away and stays as it was.
    int32_t lit = _fcreatecube(0);
    int32_t litSurface = _fgetsurface(lit, 1);
    for (int32_t i = 0; i < 24; ++i) _fvertexcolor(litSurface, i, 0, 0, 0, 0.5f);
    _flightmesh(lit, 0, 0, 51, 3, 0, 0, -3);
    EXPECT_NEAR(_fvertexblue(litSurface, 0), 51, 1);
    EXPECT_EQ(_fvertexalpha(litSurface, 0), 1.0f);
    EXPECT_EQ(_fvertexblue(litSurface, 8), 0);
    EXPECT_NEAR(_fvertexalpha(litSurface, 8), 127 / 255.0f, 1e-6);
}

TEST_F(MeshCommands, CopyEntitySharesGeometryAndCopyMeshDoesNot) {
    int32_t cube = _fcreatecube(0);
    _fmeshcullbox(cube, 0, 0, 0, 1, 1, 1);
    int32_t shared = _fcopyentity(cube, 0);
    int32_t independent = _fcopymesh(cube, 0);
    EXPECT_EQ(text(_fentityclass(shared)), "Mesh");
    EXPECT_EQ(_fgetsurface(shared, 1), _fgetsurface(cube, 1));
    _fvertexcoords(_fgetsurface(cube, 1), 0, 5, 5, 5);
    EXPECT_EQ(_fvertexx(_fgetsurface(shared, 1), 0), 5);
    EXPECT_EQ(_fvertexx(_fgetsurface(independent, 1), 0), -1);
    EXPECT_EQ(_fcountvertices(_fgetsurface(independent, 1)), 24);
    EXPECT_FLOAT_EQ(fromHandle<Mesh>(independent)->geometry().cullBox.max.x, 1);
    // The copy keeps the geometry alive after the original is freed.
    _ffreeentity(cube);
    EXPECT_EQ(_fvertexx(_fgetsurface(shared, 1), 0), 5);
    expectNear(meshExtent(shared), {6, 6, 6});
}

TEST_F(MeshCommands, AddMeshMergesSurfacesWithEqualBrushes) {
    int32_t red = _fcreatebrush(255, 0, 0), alsoRed = _fcreatebrush(255, 0, 0), blue = _fcreatebrush(0, 0, 255);
    int32_t source = _fcreatecube(0), dest = _fcreatecube(0);
    _fpaintmesh(source, red);
    _fpaintmesh(dest, alsoRed);
    _fpositionmesh(source, 10, 0, 0);
    _faddmesh(source, dest);
    ASSERT_EQ(_fcountsurfaces(dest), 1);
    int32_t merged = _fgetsurface(dest, 1);
    EXPECT_EQ(_fcountvertices(merged), 48);
    EXPECT_EQ(_fcounttriangles(merged), 24);
    EXPECT_EQ(_ftrianglevertex(merged, 12, 0), 24);
    EXPECT_EQ(_ftrianglevertex(merged, 23, 2), 24 + 23);
    EXPECT_EQ(_fvertexx(merged, 24), 9);
    EXPECT_EQ(_ffindsurface(dest, red), merged);
    EXPECT_EQ(_ffindsurface(dest, blue), 0);

    _fpaintmesh(source, blue);
    _faddmesh(source, dest);
    ASSERT_EQ(_fcountsurfaces(dest), 2);
    EXPECT_EQ(_ffindsurface(dest, blue), _fgetsurface(dest, 2));
    EXPECT_EQ(_fcountvertices(_fgetsurface(dest, 2)), 24);
    EXPECT_EQ(_fcountvertices(merged), 48);
}

TEST_F(MeshCommands, AddMeshIntoItselfIsRefusedButACopySharingItsGeometryDoublesIt) {
    int32_t cube = _fcreatecube(0);
    EXPECT_EQ(errorOf([&] { _faddmesh(cube, cube); }), "A mesh cannot be added to itself");
    int32_t copy = _fcopyentity(cube, 0);
    _faddmesh(copy, cube);
    EXPECT_EQ(_fcountsurfaces(cube), 1);
    EXPECT_EQ(_fcountvertices(_fgetsurface(copy, 1)), 48);
    EXPECT_EQ(_ftrianglevertex(_fgetsurface(copy, 1), 12, 0), 24);
}

TEST_F(MeshCommands, CullBoxStartsEmptyAndNegativeSizesEmptyItAgain) {
    int32_t cube = _fcreatecube(0);
    MeshGeometry& geometry = fromHandle<Mesh>(cube)->geometry();
    EXPECT_TRUE(geometry.cullBox.empty());
    expectNear(geometry.visibilityBox().max, {1, 1, 1});
    _fmeshcullbox(cube, -5, -5, -5, 10, 10, 10);
    expectNear(geometry.visibilityBox().max, {5, 5, 5});
    _fmeshcullbox(cube, 0, 0, 0, -1, 1, 1);
    expectNear(geometry.visibilityBox().min, {-1, -1, -1});
}

TEST_F(MeshCommands, MeshChecks) {
    int32_t cube = _fcreatecube(0);
    int32_t pivot = _fcreatepivot(0), freed = _fcreatepivot(0);
    _ffreeentity(freed);
    EXPECT_EQ(errorOf([&] { _fgetsurface(cube, 0); }), "Surface Index out of range");
    EXPECT_EQ(errorOf([&] { _fgetsurface(cube, 2); }), "Surface Index out of range");
    EXPECT_EQ(errorOf([&] { _fcountsurfaces(pivot); }), "Entity is not a mesh");
    EXPECT_EQ(errorOf([&] { _fflipmesh(0); }), "Entity does not exist");
    EXPECT_EQ(errorOf([&] { _fcreatecube(freed); }), "Parent entity does not exist");
    EXPECT_EQ(errorOf([&] { _fcreatesurface(cube, 12345); }), "Brush does not exist");
}

}  // namespace
}  // namespace tarsk::test
