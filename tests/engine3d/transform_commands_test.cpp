// Moving, turning, scaling, pointing and aligning entities in local and world space.
#include "engine3d_fixture.h"
#include "runtime/engine3d/entity.h"
#include "runtime/host/arena.h"

namespace tarsk::test {
namespace {

using Transforms = World3D;
using math3d::Vec3;

// A child two levels under parents that are moved, turned and scaled.
struct Nested {
    int32_t top, mid, child;
};

Nested nested() {
    Nested n{_fcreatepivot(0), 0, 0};
    _fpositionentity(n.top, 5, -3, 2, 0);
    _frotateentity(n.top, 20, 70, -30, 0);
    _fscaleentity(n.top, 2, 0.5f, 3, 0);
    n.mid = _fcreatepivot(n.top);
    _fpositionentity(n.mid, 1, 1, 1, 0);
    _frotateentity(n.mid, -45, 10, 80, 0);
    _fscaleentity(n.mid, 1.5f, 1.5f, 1.5f, 0);
    n.child = _fcreatepivot(n.mid);
    return n;
}

TEST_F(Transforms, GlobalSettersHoldUnderRotatedScaledNestedParents) {
    struct Case {
        Vec3 position, angles;
    } cases[] = {{{1, 2, 3}, {30, 45, 60}}, {{-7, 0.5f, 12}, {-80, -170, 5}}, {{0, 0, 0}, {0, 0, 0}}};
    for (const Case& c : cases) {
        Nested n = nested();
        _fpositionentity(n.child, c.position.x, c.position.y, c.position.z, 1);
        _frotateentity(n.child, c.angles.x, c.angles.y, c.angles.z, 1);
        expectNear(position(n.child, 1), c.position, 1e-3f);
        expectNear(angles(n.child, 1), c.angles, 2e-2f);
        // Moving the top parent carries the child along.
        _ftranslateentity(n.top, 1, 1, 1, 1);
        expectNear(position(n.child, 1), c.position + Vec3{1, 1, 1}, 1e-3f);
    }
}

TEST_F(Transforms, LocalValuesComposeThroughTheParents) {
    Nested n = nested();
    _fpositionentity(n.child, 0, 0, 2, 0);
    auto apply = [](Vec3 p, Vec3 angles, Vec3 scale, Vec3 position) {
        math3d::Matrix3 r = math3d::rotationAxes(math3d::eulerToQuat(
            math3d::radians(angles.x), math3d::radians(angles.y), math3d::radians(angles.z)));
        return r * Vec3{p.x * scale.x, p.y * scale.y, p.z * scale.z} + position;
    };
    Vec3 inMid = apply({0, 0, 2}, {-45, 10, 80}, {1.5f, 1.5f, 1.5f}, {1, 1, 1});
    expectNear(position(n.child, 1), apply(inMid, {20, 70, -30}, {2, 0.5f, 3}, {5, -3, 2}), 1e-3f);
    expectNear(position(n.child, 0), {0, 0, 2});
    // World scale is the product of local scales; global ScaleEntity divides it back out.
    _fscaleentity(n.child, 6, 3, 9, 1);
    EXPECT_NEAR(fromHandle<Entity>(n.child)->localScale().x, 2, kTolerance);
    EXPECT_NEAR(fromHandle<Entity>(n.child)->localScale().y, 4, kTolerance);
    EXPECT_NEAR(fromHandle<Entity>(n.child)->localScale().z, 2, kTolerance);
}

TEST_F(Transforms, MoveFollowsTheOwnAxesUnscaledAndTranslateIgnoresRotation) {
    int32_t e = _fcreatepivot(0);
    _fscaleentity(e, 2, 2, 2, 0);
    _frotateentity(e, 0, 90, 0, 0);
    _fmoveentity(e, 0, 0, 1);
    expectNear(position(e, 0), {-1, 0, 0});
    _ftranslateentity(e, 0, 0, 1, 0);
    expectNear(position(e, 0), {-1, 0, 1});
}

TEST_F(Transforms, TurnsAboutOwnAxesOrWorldAxes) {
    int32_t local = _fcreatepivot(0), global = _fcreatepivot(0);
    for (int32_t e : {local, global}) _frotateentity(e, 0, 90, 0, 0);
    _fturnentity(local, 90, 0, 0, 0);   // pitch about its own x, which points along world +z
    _fturnentity(global, 90, 0, 0, 1);  // pitch about world x
    _ftformvector(0, 0, 1, local, 0);
    expectNear(tformed(), {0, -1, 0});
    _ftformvector(0, 0, 1, global, 0);
    expectNear(tformed(), {-1, 0, 0});  // forward was -x, on the world x axis
    _ftformvector(0, 1, 0, global, 0);
    expectNear(tformed(), {0, 0, 1});
}

TEST_F(Transforms, PointEntityAimsTheZAxisAndDeltaYawBecomesZero) {
    int32_t a = _fcreatepivot(0), b = _fcreatepivot(0), parent = _fcreatepivot(0);
    _frotateentity(parent, 10, 20, 30, 0);
    _fentityparent(a, parent, 0);
    _fpositionentity(a, 1, 2, 3, 1);
    _fpositionentity(b, -4, 6, 9, 1);
    _fpointentity(a, b, 25);
    _ftformvector(0, 0, 1, a, 0);
    Vec3 d = position(b, 1) - position(a, 1);
    expectNear(tformed(), math3d::normalized(d));
    EXPECT_NEAR(_fentityroll(a, 1), 25, 1e-2f);
    EXPECT_NEAR(_fdeltayaw(a, b), 0, 1e-3f);
    EXPECT_NEAR(_fdeltapitch(a, b), 0, 1e-3f);
    int32_t here = _fcreatepivot(0), same = _fcreatepivot(0);
    _frotateentity(here, 10, 20, 30, 0);
    for (int32_t e : {here, same}) _fpositionentity(e, 1, 2, 3, 0);
    _fpointentity(here, same, 5);  // coincident: pitch and yaw 0
    expectNear(angles(here, 1), {0, 0, 5}, 1e-3f);
}

TEST_F(Transforms, AlignToVectorBranches) {
    int32_t e = _fcreatepivot(0);
    _frotateentity(e, 10, 20, 30, 0);
    Vec3 before = angles(e, 1);
    _faligntovector(e, 0, 0, 0, 3, 1);  // zero vector
    expectNear(angles(e, 1), before);
    _ftformvector(0, 0, 1, e, 0);
    Vec3 k = tformed();
    _faligntovector(e, k.x * 5, k.y * 5, k.z * 5, 3, 1);  // already along
    expectNear(angles(e, 1), before);

    // Opposite, axis 1: half a turn about the entity's own y axis.
    int32_t flip = _fcreatepivot(0);
    _faligntovector(flip, -1, 0, 0, 1, 1);
    _ftformvector(1, 0, 0, flip, 0);
    expectNear(tformed(), {-1, 0, 0});
    _ftformvector(0, 1, 0, flip, 0);
    expectNear(tformed(), {0, 1, 0});

    // General case: the full rate lands the axis on v; half the rate turns half the angle.
    struct Case {
        int32_t axis;
        Vec3 local;
    } cases[] = {{1, {1, 0, 0}}, {2, {0, 1, 0}}, {3, {0, 0, 1}}, {0, {0, 0, 1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.axis);
        int32_t full = _fcreatepivot(0);
        _frotateentity(full, 10, 20, 30, 0);
        _faligntovector(full, 1, 2, -2, c.axis, 1);
        _ftformvector(c.local.x, c.local.y, c.local.z, full, 0);
        expectNear(tformed(), {1.f / 3, 2.f / 3, -2.f / 3});
    }
    int32_t half = _fcreatepivot(0);
    _faligntovector(half, 1, 0, 0, 3, 0.5f);  // z turns 45 degrees towards x
    _ftformvector(0, 0, 1, half, 0);
    expectNear(tformed(), {0.70710677f, 0, 0.70710677f});
}

}  // namespace
}  // namespace tarsk::test
