// Picks against the sphere and box pick geometry of pivots: LinePick with and without
// radius, EntityPick, which objects take part, ties, the pick result and lines of sight.
#include "engine3d_fixture.h"
#include "runtime/engine3d/object_entity.h"
#include "runtime/host/arena.h"

namespace tarsk::test {
namespace {

using math3d::Vec3;

class Picking : public World3D {
protected:
    // A pivot at p with the given pick geometry and collision radius.
    static int32_t pickable(Vec3 p, int32_t geometry, float radius = 1) {
        int32_t e = _fcreatepivot(0);
        _fpositionentity(e, p.x, p.y, p.z, 0);
        _fentitypickmode(e, geometry, 1);
        object(e).collisionRadii = {radius, radius, radius};
        return e;
    }
    static ObjectEntity& object(int32_t e) { return *fromHandle<Entity>(e)->asObject(); }
    static Vec3 picked() { return {_fpickedx(), _fpickedy(), _fpickedz()}; }
    static Vec3 pickedNormal() { return {_fpickednx(), _fpickedny(), _fpickednz()}; }
};

TEST_F(Picking, ANewWorldHasPickedNothing) {
    EXPECT_EQ(_fpickedentity(), 0);
    EXPECT_EQ(_fpickedtime(), 1);
    EXPECT_EQ(_fpickedsurface(), 0);
    EXPECT_EQ(_fpickedtriangle(), 65535);
    expectNear(picked(), {0, 0, 0});
    // A pick in one world leaves nothing behind for the next.
    _flinepick(0, 10, 0, 0, -20, 0, 0);
    int32_t e = pickable({0, 0, 0}, 1);
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), e);
    tarsk3d_destroy();
    ASSERT_TRUE(tarsk3d_create());
    EXPECT_EQ(_fpickedentity(), 0);
    EXPECT_EQ(_fpickedtime(), 1);
}

TEST_F(Picking, LinePickHitsSpheresAndBoxesWithAndWithoutRadius) {
    struct Case {
        int32_t geometry;
        float radius, time;
        Vec3 point;
    } cases[] = {
        {1, 0, 0.45f, {0, 1, 0}},
        {1, 1, 0.4f, {0, 1, 0}},  // the touching point on the sphere: o + t·d − r·n
        {3, 0, 0.45f, {0, 1, 0}},
        {3, 1, 0.4f, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.geometry);
        int32_t e = pickable({0, 0, 0}, c.geometry);
        EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, c.radius), e);
        EXPECT_EQ(_fpickedentity(), e);
        EXPECT_NEAR(_fpickedtime(), c.time, 1e-5f);
        expectNear(picked(), c.point);
        expectNear(pickedNormal(), {0, 1, 0});
        EXPECT_EQ(_fpickedtriangle(), 65535);
        _ffreeentity(e);
    }
}

TEST_F(Picking, BoxesAreTestedInTheirTurnedFrameWithoutScale) {
    int32_t e = pickable({0, 0, 0}, 3);
    object(e).collisionBoxMin = {-1, -1, -1};
    object(e).collisionBoxMax = {3, 1, 1};
    _fscaleentity(e, 10, 10, 10, 0);
    _fturnentity(e, 0, 0, 90, 0);  // roll: the box's +x end now points up
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), e);
    EXPECT_NEAR(_fpickedtime(), (10 - 3) / 20.0f, 1e-5f);
    expectNear(picked(), {0, 3, 0});
    expectNear(pickedNormal(), {0, 1, 0});
}

TEST_F(Picking, MissesReturnZeroAndTimeOneButKeepThePoint) {
    int32_t e = pickable({0, 0, 0}, 1);
    ASSERT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), e);
    struct Case {
        Vec3 o, d;
        float radius;
    } misses[] = {
        {{0, 10, 0}, {0, 5, 0}, 0},    // away
        {{0, 10, 0}, {0, -5, 0}, 0},   // ends short
        {{3, 10, 0}, {0, -20, 0}, 0},  // beside
        {{0, 10, 0}, {0, 0, 0}, 0},    // no length
        {{0, 0.5f, 0}, {0, -20, 0}, 0},  // from inside
    };
    for (const Case& c : misses) {
        EXPECT_EQ(_flinepick(c.o.x, c.o.y, c.o.z, c.d.x, c.d.y, c.d.z, c.radius), 0);
        EXPECT_EQ(_fpickedentity(), 0);
        EXPECT_EQ(_fpickedtime(), 1);
        expectNear(picked(), {0, 1, 0});
    }
}

TEST_F(Picking, OnlyEnabledObjectsWithPickGeometryOneToThreeTakePart) {
    int32_t far = pickable({0, -5, 0}, 1);
    struct Case {
        const char* what;
        int32_t geometry;
        bool hidden, hiddenParent;
    } blockers[] = {
        {"geometry 0", 0, false, false},
        {"geometry 4", 4, false, false},
        {"hidden", 1, true, false},
        {"child of a hidden parent", 1, false, true},
        {"polygon test of a pivot", 2, false, false},
    };
    for (const Case& c : blockers) {
        SCOPED_TRACE(c.what);
        int32_t near = pickable({0, 0, 0}, c.geometry);
        int32_t parent = _fcreatepivot(0);
        if (c.hiddenParent) {
            _fentityparent(near, parent, 1);
            _fhideentity(parent);
        }
        if (c.hidden) _fhideentity(near);
        EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), far);
        _ffreeentity(near);
        _ffreeentity(parent);
    }
    // Shown again, a hidden object takes part.
    int32_t near = pickable({0, 0, 0}, 1);
    _fhideentity(near);
    _fshowentity(near);
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), near);
}

TEST_F(Picking, TheNearestWinsAndAnEqualLaterOneReplacesIt) {
    int32_t first = pickable({0, 0, 0}, 1);
    int32_t nearer = pickable({0, 3, 0}, 1);
    int32_t farther = pickable({0, -3, 0}, 1);
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), nearer);
    _ffreeentity(nearer);
    _ffreeentity(farther);
    // Two spheres at exactly the same distance: the one later in the gathering order.
    int32_t twin = pickable({0, 0, 0}, 3);
    object(twin).collisionBoxMin = {-1, -1, -1};
    object(twin).collisionBoxMax = {1, 1, 1};
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), twin);
    // Gathering is pre-order: a child of the first root comes before the second root.
    int32_t child = pickable({0, 0, 0}, 1);
    _fentityparent(child, first, 1);
    EXPECT_EQ(_flinepick(0, 10, 0, 0, -20, 0, 0), twin);
}

TEST_F(Picking, EntityPickRunsAlongTheScaledZAxisForRange) {
    int32_t shooter = _fcreatepivot(0);
    _fpositionentity(shooter, 0, 10, 0, 0);
    _frotateentity(shooter, 90, 0, 0, 0);  // z points down
    int32_t target = pickable({0, 0, 0}, 1);
    EXPECT_EQ(_fentitypick(shooter, 5), 0);
    EXPECT_EQ(_fentitypick(shooter, 20), target);
    EXPECT_NEAR(_fpickedtime(), 0.45f, 1e-5f);
    _fscaleentity(shooter, 1, 1, 4, 0);
    EXPECT_EQ(_fentitypick(shooter, 5), target);
    EXPECT_NEAR(_fpickedtime(), 0.45f, 1e-5f);
    expectNear(picked(), {0, 1, 0});
}

TEST_F(Picking, EntityVisibleIsBlockedOnlyByObscurersBetweenTheTwo) {
    int32_t a = pickable({0, 10, 0}, 1), b = pickable({0, -10, 0}, 1);
    EXPECT_EQ(_fentityvisible(a, b), 1);  // the two themselves never block
    int32_t wall = pickable({0, 0, 0}, 1);
    EXPECT_EQ(_fentityvisible(a, b), 0);
    EXPECT_EQ(_fentityvisible(b, a), 0);
    _fentitypickmode(wall, 1, 0);  // not an obscurer
    EXPECT_EQ(_fentityvisible(a, b), 1);
    _fentitypickmode(wall, 0, 1);  // an obscurer without pick geometry
    EXPECT_EQ(_fentityvisible(a, b), 1);
    _fentitypickmode(wall, 1, 1);
    _fpositionentity(wall, 0, -20, 0, 0);  // beyond the far end
    EXPECT_EQ(_fentityvisible(a, b), 1);
    // The pick result is not touched.
    EXPECT_EQ(_fpickedentity(), 0);
    EXPECT_EQ(_fpickedtime(), 1);
}

TEST_F(Picking, CommandsCheckTheirEntitiesAndTheWorld) {
    int32_t e = _fcreatepivot(0);
    EXPECT_EQ(errorOf([&] { _fentitypickmode(e + 16, 1, 1); }), "Entity does not exist");
    EXPECT_EQ(errorOf([&] { _fentitypick(0, 1); }), "Entity does not exist");
    EXPECT_EQ(errorOf([&] { _fentityvisible(e, 0); }), "Entity does not exist");
    _fentitypickmode(e, 2, 0);
    EXPECT_EQ(object(e).pickGeometry, 2);
    EXPECT_FALSE(object(e).obscurer);
    _fentitypickmode(e, 1, 7);
    EXPECT_TRUE(object(e).obscurer);
    tarsk3d_destroy();
    EXPECT_EQ(errorOf([] { _flinepick(0, 0, 0, 0, 1, 0, 0); }), "3D Graphics mode not set");
    EXPECT_EQ(_fpickedtriangle(), 65535);  // the result needs no world
    ASSERT_TRUE(tarsk3d_create());
}

}  // namespace
}  // namespace tarsk::test
