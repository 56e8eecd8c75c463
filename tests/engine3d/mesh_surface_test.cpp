// Surface and vertex commands: building, vertex defaults, colour packing, clearing, and
// the index and handle checks that keep readers inside the arrays.
#include <cmath>
#include <functional>

#include "mesh_test_helpers.h"

namespace tarsk::test {
namespace {

using SurfaceCommands = World3D;

TEST_F(SurfaceCommands, AddVertexAndTriangleNumberInOrderWithDefaults) {
    int32_t mesh = _fcreatemesh(0);
    int32_t surface = _fcreatesurface(mesh, 0);
    EXPECT_EQ(_fcountsurfaces(mesh), 1);
    EXPECT_EQ(_faddvertex(surface, 1, 2, 3, 0.25f, 0.75f, 7), 0);
    EXPECT_EQ(_faddvertex(surface, 0, 0, 0, 0, 0, 1), 1);
    EXPECT_EQ(_faddvertex(surface, 0, 1, 0, 0, 0, 1), 2);
    EXPECT_EQ(_faddtriangle(surface, 0, 1, 2), 0);
    EXPECT_EQ(_faddtriangle(surface, 2, 1, 0), 1);
    VertexRecord v = vertexAt(surface, 0);
    expectNear(v.position, {1, 2, 3});
    expectNear(v.normal, {0, 0, 0});
    EXPECT_EQ(v.red + v.green + v.blue, 3 * 255.0f);
    EXPECT_EQ(v.alpha, 1.0f);
    EXPECT_EQ(v.u1, 0.25f);
    EXPECT_EQ(v.v1, 0.75f);
    EXPECT_EQ(_fvertexw(surface, 0, 1), 1.0f);
    _fvertextexcoords(surface, 0, 0.5f, 0.125f, 3, 1);
    EXPECT_EQ(_fvertexu(surface, 0, 1), 0.5f);
    EXPECT_EQ(_fvertexv(surface, 0, 1), 0.125f);
    EXPECT_EQ(_fvertexu(surface, 0, 0), 0.25f);
    EXPECT_EQ(_ftrianglevertex(surface, 1, 0), 2);
}

TEST_F(SurfaceCommands, VertexColorClampsAndTruncates) {
    int32_t surface = _fcreatesurface(_fcreatemesh(0), 0);
    _faddvertex(surface, 0, 0, 0, 0, 0, 1);
    struct Case {
        float red, green, blue, alpha;
        float wantRed, wantGreen, wantBlue, wantAlphaByte;
    };
    const Case cases[] = {
        {300, -5, 128, 0.5f, 255, 0, 128, 127},
        {12.9f, 254.99f, NAN, 2, 12, 254, 0, 255},
        {0, 0, 0, NAN, 0, 0, 0, 0},
        {1, 2, 3, -1, 1, 2, 3, 0},
    };
    for (const Case& c : cases) {
        _fvertexcolor(surface, 0, c.red, c.green, c.blue, c.alpha);
        EXPECT_EQ(_fvertexred(surface, 0), c.wantRed);
        EXPECT_EQ(_fvertexgreen(surface, 0), c.wantGreen);
        EXPECT_EQ(_fvertexblue(surface, 0), c.wantBlue);
        EXPECT_FLOAT_EQ(_fvertexalpha(surface, 0), c.wantAlphaByte / 255.0f);
    }
}

TEST_F(SurfaceCommands, ClearSurfaceEmptiesEitherArray) {
    int32_t cube = _fcreatecube(0);
    int32_t surface = _fgetsurface(cube, 1);
    _fclearsurface(surface, 0, 1);
    EXPECT_EQ(_fcountvertices(surface), 24);
    EXPECT_EQ(_fcounttriangles(surface), 0);
    _fclearsurface(surface, 1, 0);
    EXPECT_EQ(_fcountvertices(surface), 0);
    expectNear(meshExtent(cube), {-2e7f, -2e7f, -2e7f});
}

TEST_F(SurfaceCommands, IndicesOutsideTheArraysAreRefused) {
    int32_t cube = _fcreatecube(0);
    int32_t s = _fgetsurface(cube, 1);
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { _fvertexx(s, -1); }, "Vertex index out of range"},
        {[&] { _fvertexnz(s, 24); }, "Vertex index out of range"},
        {[&] { _fvertexalpha(s, 1000); }, "Vertex index out of range"},
        {[&] { _fvertexcoords(s, 24, 0, 0, 0); }, "Vertex index out of range"},
        {[&] { _fvertexnormal(s, -3, 0, 0, 0); }, "Vertex index out of range"},
        {[&] { _fvertexcolor(s, 99, 0, 0, 0, 1); }, "Vertex index out of range"},
        {[&] { _fvertextexcoords(s, 24, 0, 0, 1, 0); }, "Vertex index out of range"},
        {[&] { _fvertexu(s, 0, 2); }, "Texture coordinate set out of range"},
        {[&] { _fvertexw(s, 0, -1); }, "Texture coordinate set out of range"},
        {[&] { _fvertextexcoords(s, 0, 0, 0, 1, 2); }, "Texture coordinate set out of range"},
        {[&] { _ftrianglevertex(s, 12, 0); }, "Triangle index out of range"},
        {[&] { _ftrianglevertex(s, 0, 3); }, "Vertex index out of range"},
    };
    for (const auto& [call, message] : cases) EXPECT_EQ(errorOf(call), message);
}

TEST_F(SurfaceCommands, SurfacesOfAFreedMeshAreNoLongerAccepted) {
    int32_t cube = _fcreatecube(0);
    int32_t surface = _fgetsurface(cube, 1);
    int32_t copy = _fcopyentity(cube, 0);
    _ffreeentity(cube);
    EXPECT_EQ(_fcountvertices(surface), 24);
    _ffreeentity(copy);
    EXPECT_EQ(errorOf([&] { _fcountvertices(surface); }), "Surface does not exist");
    EXPECT_EQ(errorOf([&] { _faddvertex(surface, 0, 0, 0, 0, 0, 1); }), "Surface does not exist");
    EXPECT_EQ(errorOf([&] { _fgetsurfacebrush(0); }), "Surface does not exist");
}

}  // namespace
}  // namespace tarsk::test
