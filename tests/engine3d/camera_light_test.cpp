// Cameras (settings, frustum, projection), lights (records, cone angles) and the
// tweened render transform.
#include <cmath>

#include "engine3d_fixture.h"
#include "runtime/engine3d/camera.h"
#include "runtime/engine3d/light.h"
#include "runtime/host/arena.h"

namespace tarsk::test {
namespace {

using CameraLight = World3D;

Camera* cameraOf(int32_t handle) { return fromHandle<Entity>(handle)->asCamera(); }
Light* lightOf(int32_t handle) { return fromHandle<Entity>(handle)->asLight(); }

TEST_F(CameraLight, FrustumFollowsZoomRangeAndViewport) {
    Camera* c = cameraOf(_fcreatecamera(0));
    _fcameraviewport(handleOf(c), 0, 0, 200, 100);
    EXPECT_FLOAT_EQ(c->frustumWidth(), 2);
    EXPECT_FLOAT_EQ(c->frustumHeight(), 1);
    _fcamerazoom(handleOf(c), 2);
    EXPECT_FLOAT_EQ(c->frustumWidth(), 1);
    EXPECT_NEAR(2 * std::atan(0.5f) / math3d::kDegreesToRadians, 53.13f, 0.01f);
    _fcamerarange(handleOf(c), 2, 100);
    EXPECT_FLOAT_EQ(c->frustumWidth(), 2);
    const Frustum& f = c->frustum();
    expectNear(f.points[1], {1, 0.5f, 2});
    expectNear(f.points[7], {-50, -25, 100});
    expectNear(f.points[8], {0, 0, 0});
    // Inside points are on the inner side of every plane; each plane excludes its side.
    for (const Plane3& p : f.planes) EXPECT_GT(math3d::dot(p.n, {0, 0, 50}) + p.d, 0);
    math3d::Vec3 outside[6] = {{0, 0, 1}, {0, 0, 101}, {-30, 0, 50}, {30, 0, 50}, {0, 20, 50}, {0, -20, 50}};
    for (int i = 0; i < 6; ++i) EXPECT_LT(math3d::dot(f.planes[i].n, outside[i]) + f.planes[i].d, 0) << i;
}

TEST_F(CameraLight, ProjectionMatrices) {
    Camera* c = cameraOf(_fcreatecamera(0));
    _fcameraviewport(handleOf(c), 0, 0, 100, 50);
    _fcamerarange(handleOf(c), 1, 11);
    Matrix4 p = c->projection();
    EXPECT_FLOAT_EQ(p[0][0], 1);
    EXPECT_FLOAT_EQ(p[1][1], 2);
    EXPECT_FLOAT_EQ(p[2][2], 1.1f);
    EXPECT_FLOAT_EQ(p[3][2], -1.1f);
    EXPECT_FLOAT_EQ(p[2][3], 1);
    EXPECT_FLOAT_EQ(p[3][3], 0);
    _fcameraprojmode(handleOf(c), 2);
    p = c->projection();
    EXPECT_FLOAT_EQ(p[0][0], 1);
    EXPECT_FLOAT_EQ(p[2][2], 0.1f);
    EXPECT_FLOAT_EQ(p[3][2], -0.1f);
    EXPECT_FLOAT_EQ(p[2][3], 0);
    EXPECT_FLOAT_EQ(p[3][3], 1);
    _fcameraprojmode(handleOf(c), 0);
    EXPECT_TRUE(c->disabled());
}

TEST_F(CameraLight, BoxCullingNeedsAllCornersBehindOnePlane) {
    Camera* c = cameraOf(_fcreatecamera(0));
    _fcameraviewport(handleOf(c), 0, 0, 100, 100);
    auto box = [](math3d::Vec3 lo, math3d::Vec3 hi) {
        std::array<math3d::Vec3, 8> corners;
        for (int i = 0; i < 8; ++i) corners[i] = {i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z};
        return corners;
    };
    const Frustum& f = c->frustum();
    EXPECT_FALSE(cornersOutside(f, box({-1, -1, 9}, {1, 1, 11})));
    EXPECT_TRUE(cornersOutside(f, box({-1, -1, -5}, {1, 1, -3})));
    EXPECT_TRUE(cornersOutside(f, box({20, -1, 9}, {22, 1, 11})));
    // Straddling the left plane while far outside the top-left corner region is kept.
    EXPECT_FALSE(cornersOutside(f, box({-12, -1, 9}, {-8, 1, 11})));
    // Moved frustum: a camera at z = 100 turned round sees the box at z = 90.
    math3d::Transform view{math3d::rotationAxes(math3d::eulerToQuat(0, math3d::kPi, 0)), {0, 0, 100}};
    Frustum moved = transformFrustum(f, view);
    EXPECT_FALSE(cornersOutside(moved, box({-1, -1, 89}, {1, 1, 91})));
    EXPECT_TRUE(cornersOutside(moved, box({-1, -1, 109}, {1, 1, 111})));
}

TEST_F(CameraLight, SettingsAndCopies) {
    int32_t c = _fcreatecamera(0);
    Camera* cam = cameraOf(c);
    _fcameraclscolor(c, 255, 0, 51);
    _fcameraclsmode(c, 0, 7);
    _fcamerafogcolor(c, 0, 255, 0);
    _fcamerafogrange(c, 5, 50);
    _fcamerafogmode(c, 1);
    EXPECT_FLOAT_EQ(cam->clearColour[0], 1);
    EXPECT_NEAR(cam->clearColour[2], 0.2f, 1e-6f);
    EXPECT_FALSE(cam->clearColourFlag);
    EXPECT_TRUE(cam->clearZFlag);
    EXPECT_FLOAT_EQ(cam->fogColour[1], 1);
    EXPECT_EQ(cam->fogMode, 1);
    EXPECT_FLOAT_EQ(cam->fogFar, 50);
    int32_t l = _fcreatelight(2, c);
    EXPECT_EQ(text(_fentityclass(c)), "Camera");
    EXPECT_EQ(text(_fentityclass(l)), "Light");
    int32_t copy = _fcopyentity(c, 0);
    EXPECT_EQ(text(_fentityclass(copy)), "Pivot");
    EXPECT_EQ(text(_fentityclass(_fgetchild(copy, 1))), "Pivot");
    EXPECT_EQ(errorOf([&] { _fcamerazoom(l, 2); }), "Entity is not a camera");
    EXPECT_EQ(errorOf([&] { _flightrange(c, 2); }), "Entity is not a light");
    EXPECT_EQ(errorOf([&] { _fcreatecamera(12345); }), "Parent entity does not exist");
}

TEST_F(CameraLight, LightRecords) {
    struct Case {
        int32_t type;
        LightType expected;
    } cases[] = {{1, LightType::Directional}, {2, LightType::Point}, {3, LightType::Spot}, {0, LightType::Directional},
                 {7, LightType::Directional}};
    for (const Case& k : cases) EXPECT_EQ(lightOf(_fcreatelight(k.type, 0))->record.type, k.expected) << k.type;
    int32_t l = _fcreatelight(3, 0);
    LightRecord& r = lightOf(l)->record;
    EXPECT_FLOAT_EQ(r.range, std::sqrt(3.4028235e38f));
    EXPECT_FLOAT_EQ(r.attenuation1, 0.001f);
    _flightcolor(l, 510, -255, 127.5f);
    EXPECT_FLOAT_EQ(r.diffuse[0], 2);
    EXPECT_FLOAT_EQ(r.diffuse[1], -1);
    EXPECT_NEAR(r.diffuse[2], 0.5f, 1e-6f);
    _flightrange(l, 50);
    EXPECT_FLOAT_EQ(r.attenuation1, 0.02f);
    _flightconeangles(l, 60, 30);
    EXPECT_FLOAT_EQ(r.theta, 60 * math3d::kDegreesToRadians);
    EXPECT_FLOAT_EQ(r.phi, r.theta);
    _flightconeangles(l, -10, 500);
    EXPECT_FLOAT_EQ(r.theta, 0);
    EXPECT_FLOAT_EQ(r.phi, math3d::kPi);
    // Begin render copies the render transform's translation and z axis.
    _fpositionentity(l, 1, 2, 3, 0);
    _frotateentity(l, 0, 90, 0, 0);
    lightOf(l)->beginRender(1);
    expectNear(r.position, {1, 2, 3});
    expectNear(r.direction, {-1, 0, 0});
}

TEST_F(CameraLight, TweenInterpolatesCapturedLocalValues) {
    int32_t parent = _fcreatepivot(0);
    int32_t e = _fcreatepivot(parent);
    auto* pe = fromHandle<Entity>(parent)->asObject();
    auto* ee = fromHandle<Entity>(e)->asObject();
    pe->capture();
    ee->capture();
    _fmoveentity(e, 10, 0, 0);
    _fturnentity(e, 0, 90, 0, 0);
    _fscaleentity(e, 3, 3, 3, 0);
    _fpositionentity(parent, 0, 0, 100, 0);
    int32_t late = _fcreatepivot(0);
    _fpositionentity(late, 4, 0, 0, 0);
    struct Case {
        float tween;
        math3d::Vec3 position, xAxis;
    } cases[] = {
        {0.5f, {5, 0, 50}, {2 * std::cos(0.7853982f), 0, 2 * std::sin(0.7853982f)}},
        {0, {0, 0, 0}, {1, 0, 0}},
        {1, {10, 0, 100}, {0, 0, 3}},
    };
    for (const Case& k : cases) {
        pe->beginRender(k.tween);
        ee->beginRender(k.tween);
        expectNear(ee->renderTransform().t, k.position);
        expectNear(ee->renderTransform().m.i, k.xAxis);
    }
    // Never captured: drawn at its world transform whatever the tween.
    auto* le = fromHandle<Entity>(late)->asObject();
    le->beginRender(0.5f);
    expectNear(le->renderTransform().t, {4, 0, 0});
}

}  // namespace
}  // namespace tarsk::test
