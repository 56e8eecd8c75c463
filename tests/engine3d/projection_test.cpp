// Between the world and a camera's viewport: CameraPick's line through a pixel,
// CameraProject, and EntityInView of points and mesh boxes.
#include "engine3d_fixture.h"
#include "runtime/engine3d/object_entity.h"
#include "runtime/host/arena.h"

namespace tarsk::test {
namespace {

using math3d::Vec3;

class Projection : public World3D {
protected:
    // A 640 × 480 viewport at (100, 50), zoom 1 (frustum 2 × 1.5 at near 1), range 1 to 1000.
    void SetUp() override {
        World3D::SetUp();
        camera = _fcreatecamera(0);
        _fcameraviewport(camera, 100, 50, 640, 480);
    }
    static int32_t ball(Vec3 p, float radius = 0.5f) {
        int32_t e = _fcreatepivot(0);
        _fpositionentity(e, p.x, p.y, p.z, 0);
        _fentitypickmode(e, 1, 1);
        fromHandle<Entity>(e)->asObject()->collisionRadii = {radius, radius, radius};
        return e;
    }
    static Vec3 projected() { return {_fprojectedx(), _fprojectedy(), _fprojectedz()}; }

    int32_t camera = 0;
};

TEST_F(Projection, CameraProjectGivesViewportPixelsInFrontAndZeroBehind) {
    struct Case {
        int32_t mode;
        Vec3 point, pixel;
    } cases[] = {
        {1, {0, 0, 10}, {320, 240, 1}},
        {1, {1, 0, 2}, {480, 240, 1}},      // n·x ÷ z ÷ frustum width: 0.25 right of centre
        {1, {0, 0.75f, 1}, {320, 0, 1}},    // the top edge at the near plane
        {1, {-2, -1.5f, 2}, {0, 480, 1}},
        {1, {0, 0, 1000}, {320, 240, 1}},   // at the far range still
        {1, {0, 0, 1001}, {0, 0, 0}},
        {1, {0, 0, -5}, {0, 0, 0}},         // behind
        {1, {3, 3, 0}, {0, 0, 0}},          // in the camera plane
        {2, {1, 0.5f, 50}, {640, 80, 1}},   // orthographic: no division by depth
        {2, {0, 0, -5}, {320, 240, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point.z);
        _fcameraprojmode(camera, c.mode);
        _fcameraproject(camera, c.point.x, c.point.y, c.point.z);
        expectNear(projected(), c.pixel, 1e-3f);
    }
    // The camera's own placement counts: turned to face −x, a point there is ahead.
    _fcameraprojmode(camera, 1);
    _fturnentity(camera, 0, 90, 0, 0);
    _fcameraproject(camera, -10, 0, 0);
    expectNear(projected(), {320, 240, 1}, 1e-3f);
}

TEST_F(Projection, CameraPickRunsThroughTheViewportPixel) {
    int32_t ahead = ball({0, 0, 10});
    // The viewport centre with the default camera: along the camera's z axis.
    EXPECT_EQ(_fcamerapick(camera, 320, 240), ahead);
    EXPECT_NEAR(_fpickedtime(), 9.5f / 1000, 1e-6f);
    expectNear({_fpickedx(), _fpickedy(), _fpickedz()}, {0, 0, 9.5f});
    EXPECT_EQ(_fcamerapick(camera, 10, 240), 0);
    // The pixel CameraProject gives for a point is the one CameraPick sees it through.
    int32_t aside = ball({30, -12, 60}, 0.1f);
    _fcameraproject(camera, 30, -12, 60);
    EXPECT_EQ(_fcamerapick(camera, _fprojectedx(), _fprojectedy()), aside);
    // Turned and moved, the camera picks along its own axis.
    _fpositionentity(camera, 0, 0, 10, 0);
    _frotateentity(camera, 0, 90, 0, 0);
    int32_t left = ball({-20, 0, 10});
    EXPECT_EQ(_fcamerapick(camera, 320, 240), left);
    // Orthographic: the line starts in the camera plane at the pixel, straight ahead.
    // The bottom-left corner (−1, −0.75) of the 2 × 1.5 view lies at world z 9 now.
    _fcameraprojmode(camera, 2);
    int32_t low = ball({-20, -0.75f, 9}, 0.2f);
    EXPECT_EQ(_fcamerapick(camera, 0, 480), low);
    EXPECT_EQ(_fcamerapick(camera, 320, 240), left);
}

TEST_F(Projection, EntityInViewTestsPivotsByPositionAndMeshesByTheirBox) {
    struct Case {
        Vec3 position;
        bool mesh;
        float scale;
        int32_t inView;
    } cases[] = {
        {{0, 0, 10}, false, 1, 1},
        {{0, 0, -10}, false, 1, 0},
        {{50, 0, 10}, false, 1, 0},     // outside the right plane
        {{0, 0, 2000}, false, 1, 0},    // beyond the far plane
        {{0, 0, -5}, true, 1, 0},       // a cube behind
        {{0, 0, -5}, true, 20, 1},      // its centre behind, its box reaching into view
        {{12.5f, 0, 10}, true, 1, 0},
        {{11.5f, 0, 10}, true, 1, 1},   // a corner inside the right plane
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position.x + c.position.z);
        int32_t e = c.mesh ? _fcreatecube(0) : _fcreatepivot(0);
        _fpositionentity(e, c.position.x, c.position.y, c.position.z, 0);
        _fscaleentity(e, c.scale, c.scale, c.scale, 0);
        EXPECT_EQ(_fentityinview(e, camera), c.inView);
        _ffreeentity(e);
    }
    // Hidden entities are still tested: in view is about the volume only.
    int32_t hidden = _fcreatepivot(0);
    _fpositionentity(hidden, 0, 0, 10, 0);
    _fhideentity(hidden);
    EXPECT_EQ(_fentityinview(hidden, camera), 1);
}

TEST_F(Projection, CommandsCheckTheirCameraAndEntity) {
    int32_t pivot = _fcreatepivot(0);
    EXPECT_EQ(errorOf([&] { _fcamerapick(pivot, 0, 0); }), "Entity is not a camera");
    EXPECT_EQ(errorOf([&] { _fcameraproject(pivot + 16, 0, 0, 0); }), "Entity does not exist");
    EXPECT_EQ(errorOf([&] { _fentityinview(pivot, pivot); }), "Entity is not a camera");
    EXPECT_EQ(errorOf([&] { _fentityinview(0, camera); }), "Entity does not exist");
}

}  // namespace
}  // namespace tarsk::test
