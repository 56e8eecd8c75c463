// Polygon picks of meshes through their collision trees: the floor cases, the surface
// and triangle of a hit, placement by the world transform, rebuilding after geometry
// changes, and MeshesIntersect.
#include <cmath>

#include "engine3d_fixture.h"
#include "runtime/engine3d/collision_tree.h"
#include "runtime/engine3d/mesh.h"
#include "runtime/engine3d/update_world.h"
#include "runtime/engine3d/world.h"
#include "runtime/host/arena.h"

namespace tarsk::test {
namespace {

using math3d::Vec3;

class MeshPicking : public World3D {
protected:
    // A 20 by 20 floor at y = 0 facing up, of two triangles, pickable as polygons.
    void SetUp() override {
        World3D::SetUp();
        floor = _fcreatemesh(0);
        surface = _fcreatesurface(floor, 0);
        _faddvertex(surface, -10, 0, -10, 0, 0, 1);
        _faddvertex(surface, -10, 0, 10, 0, 0, 1);
        _faddvertex(surface, 10, 0, 10, 0, 0, 1);
        _faddvertex(surface, 10, 0, -10, 0, 0, 1);
        _faddtriangle(surface, 0, 1, 2);
        _faddtriangle(surface, 0, 2, 3);
        _fentitypickmode(floor, 2, 1);
    }
    static Vec3 picked() { return {_fpickedx(), _fpickedy(), _fpickedz()}; }
    static MeshGeometry& geometry(int32_t mesh) { return fromHandle<Entity>(mesh)->asModel()->asMesh()->geometry(); }

    int32_t floor = 0, surface = 0;
};

TEST_F(MeshPicking, TheFloorIsPickedFromAboveOnly) {
    struct Case {
        Vec3 o, d;
        float radius;
        bool hit;
        float time;
        int32_t triangle;
    } cases[] = {
        {{0, 10, 0}, {0, -20, 0}, 0, true, 0.5f, 1},    // on the shared edge: the later triangle
        {{-5, 10, 5}, {0, -20, 0}, 0, true, 0.5f, 0},
        {{5, 10, -5}, {0, -20, 0}, 1, true, 0.45f, 1},  // a swept sphere touches earlier
        {{0, -10, 0}, {0, 20, 0}, 0, false, 1, -1},     // front faces only
        {{0, -10, 0}, {0, 20, 0}, 1, false, 1, -1},
        {{15, 10, 0}, {0, -20, 0}, 0, false, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.o.x);
        EXPECT_EQ(_flinepick(c.o.x, c.o.y, c.o.z, c.d.x, c.d.y, c.d.z, c.radius), c.hit ? floor : 0);
        EXPECT_EQ(_fpickedentity(), c.hit ? floor : 0);
        EXPECT_NEAR(_fpickedtime(), c.time, 1e-5f);
        EXPECT_EQ(_fpickedsurface(), c.hit ? surface : 0);
        EXPECT_EQ(_fpickedtriangle(), c.triangle & 0xFFFF);
        if (!c.hit) continue;
        expectNear(picked(), {c.o.x, 0, c.o.z});  // on the floor, radius or not
        expectNear({_fpickednx(), _fpickedny(), _fpickednz()}, {0, 1, 0});
    }
}

TEST_F(MeshPicking, TheMeshIsPlacedByItsWorldTransform) {
    int32_t parent = _fcreatepivot(0);
    _fpositionentity(parent, 0, 2, 0, 0);
    _fentityparent(floor, parent, 0);
    _fscaleentity(floor, 0.5f, 1, 0.5f, 0);  // 10 by 10 now
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), floor);
    EXPECT_NEAR(_fpickedtime(), 0.4f, 1e-5f);
    expectNear(picked(), {0, 2, 0});
    EXPECT_EQ(_flinepick(7, 10, 0, 0, -20, 0, 0), 0);
    _fturnentity(floor, 0, 0, 180, 0);  // upside down: its front faces down
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), 0);
    EXPECT_EQ(_flinepick(0, -10, 0, 0, 20, 0, 0), floor);
    EXPECT_NEAR(_fpickedtime(), 0.6f, 1e-5f);
}

TEST_F(MeshPicking, ANearerSphereHidesThePolygonBehindItAndDropsItsTriangle) {
    ASSERT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), floor);
    int32_t ball = _fcreatepivot(0);
    _fpositionentity(ball, 0, 5, 0, 0);
    _fentitypickmode(ball, 1, 1);
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), ball);
    EXPECT_EQ(_fpickedsurface(), 0);
    EXPECT_EQ(_fpickedtriangle(), 65535);
}

TEST_F(MeshPicking, TheTreeIsReusedUntilTheGeometryChanges) {
    const CollisionTree* first = &geometry(floor).collisionTree();
    EXPECT_EQ(&geometry(floor).collisionTree(), first);
    EXPECT_EQ(first->triangles().size(), 2u);
    ASSERT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), floor);
    // Raising the floor to y = 5 is seen by the next pick.
    const Vec3 corners[4] = {{-10, 5, -10}, {-10, 5, 10}, {10, 5, 10}, {10, 5, -10}};
    for (int i = 0; i < 4; ++i) _fvertexcoords(surface, i, corners[i].x, corners[i].y, corners[i].z);
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), floor);
    EXPECT_NEAR(_fpickedtime(), 0.25f, 1e-5f);
    // A triangle naming a vertex that does not exist is left out; the others stay.
    int32_t bad = _faddtriangle(surface, 0, 1, 99);
    EXPECT_EQ(bad, 2);
    EXPECT_EQ(geometry(floor).collisionTree().triangles().size(), 2u);
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), floor);
    // A copy shares the geometry and so the tree; it is placed by its own transform.
    int32_t copy = _fcopyentity(floor, 0);
    _fpositionentity(copy, 100, 0, 0, 0);
    EXPECT_EQ(&geometry(copy).collisionTree(), &geometry(floor).collisionTree());
    EXPECT_EQ(_flinepick(100, 10, 0, 0, -20, 0, 0), copy);
    // Emptied, the mesh is never hit.
    _fclearsurface(surface, 1, 1);
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), 0);
}

TEST_F(MeshPicking, Stats3DCountsTheLeafTrianglesOfPicksUntilTheNextUpdate) {
    updateWorld(requireWorld(), 1);
    EXPECT_EQ(_fstats3d(0), 0);
    _flinepick(0, 10, 0, 0, -20, 0, 0);
    EXPECT_EQ(_fstats3d(0), 2);  // the floor's one leaf
    _flinepick(50, 10, 0, 0, -20, 0, 0);  // beside the floor: its leaf is not reached
    _flinepick(0, 10, 0, 0, -20, 0, 1);
    EXPECT_EQ(_fstats3d(0), 4);
    updateWorld(requireWorld(), 1);
    EXPECT_EQ(_fstats3d(0), 0);
}

TEST_F(MeshPicking, EveryTriangleOfASphereCanBePicked) {
    int32_t ball = _fcreatesphere(16, 0);
    _fentitypickmode(ball, 2, 1);
    _fpositionentity(ball, 0, 0, 50, 0);
    // Lines from all around, passing 0.3 beside the centre, hit the unit sphere close
    // to where the round one would be hit; those from straight above and below run along
    // the seam where the first and last columns of triangles meet.
    for (int i = 0; i < 36; ++i) {
        float a = float(i) * 10 * math3d::kDegreesToRadians;
        Vec3 from{10 * std::cos(a), 10 * std::sin(a), 50.3f};
        ASSERT_EQ(_flinepick(from.x, from.y, from.z, -2 * from.x, -2 * from.y, 0, 0), ball) << i;
        EXPECT_NEAR(_fpickedtime(), (10 - std::sqrt(1 - 0.09f)) / 20, 0.002f);
        EXPECT_NE(_fpickedtriangle(), 65535);
    }
}

TEST_F(MeshPicking, MeshesIntersectWhenTrianglesMeet) {
    int32_t a = _fcreatecube(0), b = _fcreatecube(0);
    struct Case {
        Vec3 position, angles, scale;
        int32_t meet;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 0}, {1, 1, 1}, 1},        // coincident faces
        {{1.5f, 0.3f, 0}, {0, 0, 0}, {1, 1, 1}, 1},  // overlapping
        {{2, 0, 0}, {0, 0, 0}, {1, 1, 1}, 1},        // touching faces
        {{2.2f, 0, 0}, {0, 0, 0}, {1, 1, 1}, 0},
        {{2.2f, 0, 0}, {0, 45, 0}, {1, 1, 1}, 1},    // a turned edge reaches in
        {{0, 0, 0}, {0, 0, 0}, {0.5f, 0.5f, 0.5f}, 0},  // inside, no triangle meets
        {{0, 0, 0}, {0, 0, 0}, {3, 0.5f, 0.5f}, 1},  // poking through two faces
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position.x);
        _fpositionentity(a, c.position.x, c.position.y, c.position.z, 0);
        _frotateentity(a, c.angles.x, c.angles.y, c.angles.z, 0);
        _fscaleentity(a, c.scale.x, c.scale.y, c.scale.z, 0);
        EXPECT_EQ(_fmeshesintersect(a, b), c.meet);
        EXPECT_EQ(_fmeshesintersect(b, a), c.meet);
    }
    int32_t pivot = _fcreatepivot(0);
    EXPECT_EQ(errorOf([&] { _fmeshesintersect(a, pivot); }), "Entity is not a mesh");
    EXPECT_EQ(errorOf([&] { _fmeshesintersect(pivot + 16, a); }), "Entity does not exist");
    EXPECT_EQ(_fmeshesintersect(a, _fcreatemesh(0)), 0);  // no geometry
}

}  // namespace
}  // namespace tarsk::test
