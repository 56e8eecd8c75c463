// RenderWorld's decisions, recorded by a scene that logs every call: camera order and
// skipping, the four passes, transparent sorting, auto-fade, the light cap, tweening and
// the texture-layer fallback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine3d_fixture.h"
#include "tests/graphics/display_fixture.h"
#include "runtime/engine3d/brush_registry.h"
#include "runtime/engine3d/camera.h"
#include "runtime/engine3d/entity_lifecycle.h"
#include "runtime/engine3d/mesh.h"
#include "runtime/engine3d/mesh_builders.h"
#include "runtime/engine3d/scene_context.h"
#include "runtime/engine3d/texture.h"
#include "runtime/engine3d/world.h"
#include "runtime/graphics/display_modes.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"

namespace tarsk::test {
namespace {

struct Draw {
    float x;  // the world transform's x: which model
    int32_t zMode, triangles;
    float alpha;
    bool layer;
};

class RecordingScene final : public gxScene3D {
public:
    bool beginFrame(const std::vector<const LightRecord*>& lights) override {
        lights_ = lights;
        log.push_back("frame");
        return true;
    }
    void endFrame() override { log.push_back("end"); }
    void setViewport(const Viewport& v) override {
        log.push_back("viewport " + std::to_string(v.x) + "," + std::to_string(v.y) + "," + std::to_string(v.width));
    }
    void clear(bool colour, bool z, const Rgb&) override {
        log.push_back(std::string("clear") + (colour ? " colour" : "") + (z ? " z" : ""));
    }
    void setProjection(const Matrix4&) override {}
    void setViewTransform(const math3d::Transform&) override {}
    void setWorldTransform(const math3d::Transform& world) override { x_ = world.t.x; }
    void setFog(float, float, const Rgb&, int32_t) override {}
    void setZMode(int32_t mode) override { zMode_ = mode; }
    void setCullFlip(bool) override {}
    void setRenderState(const RenderMaterial& material) override { alpha_ = material.alpha; }
    void setLayerPass(const TextureStageState&) override { layer_ = true; }
    void endLayerPasses() override { layer_ = false; }
    void setAmbient(const Rgb&) override {}
    void setWireframe(bool) override {}
    void setDither(bool) override {}
    void setAntiAlias(bool) override {}
    void setWBuffer(bool) override {}
    int32_t maxTextureUnits() const override { return 4; }
    bool supportsCubeMaps() const override { return true; }

    std::vector<std::string> log;
    std::vector<Draw> draws;
    std::vector<const LightRecord*> lights_;

protected:
    void drawTriangles(gxMesh&, int32_t, int32_t, int32_t, int32_t triangles) override {
        draws.push_back({x_, zMode_, triangles, alpha_, layer_});
    }

private:
    float x_ = 0, alpha_ = 1;
    int32_t zMode_ = -1;
    bool layer_ = false;
};

class RenderWorldTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        if (!display_->glDevice()) GTEST_SKIP() << "no GL context on this machine";
        auto recording = std::make_unique<RecordingScene>();
        scene_ = recording.get();
        openSceneWith(std::move(recording), display_);
        scene_->setTextureUnits(scene_->maxTextureUnits());
        graphicsState().buffer = display_->backCanvas();
    }
    void TearDown() override {
        closeScene3D();
        graphicsState().buffer = nullptr;
        DisplayTest::TearDown();
    }
    World& world() { return *currentWorld(); }
    // A cube (12 triangles) at (x, 0, z).
    Mesh* cube(float x, float z) {
        Mesh* mesh = new Mesh(world());
        buildCube(mesh->geometry());
        finishCreation(mesh, nullptr);
        mesh->setLocalPosition({x, 0, z});
        return mesh;
    }
    Camera* camera(Viewport viewport = {0, 0, 64, 48}) {
        Camera* c = new Camera(world(), viewport);
        finishCreation(c, nullptr);
        return c;
    }
    static void setAlpha(Model* model, float alpha) {
        model->brush.setAlpha(alpha);
        model->brushChanged = true;
    }
    std::vector<float> drawnX() {
        std::vector<float> xs;
        for (const Draw& d : scene_->draws) xs.push_back(d.x);
        return xs;
    }

    RecordingScene* scene_ = nullptr;
};

TEST_F(RenderWorldTest, CamerasByOrderAndTheDisabledCameraNeitherDrawsNorClears) {
    Camera* low = camera({1, 0, 10, 10});
    Camera* off = camera({2, 0, 10, 10});
    Camera* high = camera({3, 0, 10, 10});
    high->renderOrder = 5;
    low->renderOrder = 1;
    off->renderOrder = 9;
    off->projectionMode = 0;
    low->clearColourFlag = false;
    _frenderworld(1);
    std::vector<std::string> expected = {"frame", "viewport 3,0,10", "clear colour z", "viewport 1,0,10", "clear z", "end"};
    EXPECT_EQ(scene_->log, expected);
}

TEST_F(RenderWorldTest, PassesAndTransparentSorting) {
    camera();
    Mesh* sky = cube(-3, 50);
    sky->renderOrder = 1;
    Mesh* overlay1 = cube(3, 10);
    overlay1->renderOrder = -1;
    Mesh* overlay2 = cube(4, 10);
    overlay2->renderOrder = -2;
    cube(0, 20);
    Mesh* near = cube(1, 10);
    Mesh* far = cube(2, 30);
    setAlpha(near, 0.5f);
    setAlpha(far, 0.5f);
    cube(0, -20);  // outside the frustum
    Mesh* hidden = cube(5, 10);
    hidden->setVisible(false);
    Mesh* clear = cube(6, 10);
    setAlpha(clear, 0);
    _frenderworld(1);
    std::vector<float> order = {-3, 0, 2, 1, 3, 4};
    EXPECT_EQ(drawnX(), order);
    std::vector<int32_t> zModes;
    for (const Draw& d : scene_->draws) zModes.push_back(d.zMode);
    EXPECT_EQ(zModes, (std::vector<int32_t>{1, 0, 2, 2, 1, 1}));
    EXPECT_EQ(_ftrisrendered(), 6 * 12);
}

TEST_F(RenderWorldTest, AutoFadeByDistance) {
    Camera* c = camera();
    Mesh* m = cube(0, 0);
    _fentityautofade(handleOf(m), 10, 20);
    struct Case {
        float distance;
        bool drawn;
        float alpha;
        int32_t zMode;
    } cases[] = {{5, true, 1, 0}, {10, true, 1, 0}, {15, true, 0.5f, 2}, {20, false, 0, 0}, {25, false, 0, 0}};
    for (const Case& k : cases) {
        scene_->draws.clear();
        c->setLocalPosition({0, 0, -k.distance});
        _frenderworld(1);
        ASSERT_EQ(scene_->draws.size(), k.drawn ? 1u : 0u) << k.distance;
        if (!k.drawn) continue;
        EXPECT_FLOAT_EQ(scene_->draws[0].alpha, k.alpha) << k.distance;
        EXPECT_EQ(scene_->draws[0].zMode, k.zMode) << k.distance;
    }
}

TEST_F(RenderWorldTest, OnlyTheFirstEightLightsInPreorder) {
    camera();
    Entity* parent = finishCreation(new Light(world(), 1), nullptr);
    std::vector<Light*> lights;
    for (int i = 0; i < 8; ++i) lights.push_back(static_cast<Light*>(finishCreation(new Light(world(), 2), parent)));
    _frenderworld(1);
    ASSERT_EQ(scene_->lights_.size(), 8u);
    EXPECT_EQ(scene_->lights_[0], &parent->asLight()->record);
    for (int i = 1; i < 8; ++i) EXPECT_EQ(scene_->lights_[size_t(i)], &lights[size_t(i - 1)]->record);
}

TEST_F(RenderWorldTest, TweenedPositionsAndAlpha) {
    camera();
    Mesh* m = cube(0, 10);
    _fcaptureworld();
    m->setLocalPosition({10, 0, 10});
    setAlpha(m, 0.5f);
    Mesh* late = cube(-4, 10);
    struct Case {
        float tween, x, alpha;
    } cases[] = {{0.5f, 5, 0.75f}, {1, 10, 0.5f}, {0, 0, 1}};
    for (const Case& k : cases) {
        scene_->draws.clear();
        _frenderworld(k.tween);
        ASSERT_EQ(scene_->draws.size(), 2u);
        // The cube made after the capture is drawn at its world position.
        const Draw& tweened = scene_->draws[0].x == late->localPosition().x ? scene_->draws[1] : scene_->draws[0];
        const Draw& other = &tweened == &scene_->draws[0] ? scene_->draws[1] : scene_->draws[0];
        EXPECT_FLOAT_EQ(other.x, -4) << k.tween;
        EXPECT_FLOAT_EQ(tweened.x, k.x) << k.tween;
        EXPECT_FLOAT_EQ(tweened.alpha, k.alpha) << k.tween;
    }
}

TEST_F(RenderWorldTest, TextureLayersBeyondTheUnitsDrawExtraPasses) {
    camera();
    Mesh* m = cube(0, 10);
    TextureRep* a = createTexture(4, 4, 1, 1);
    TextureRep* b = createTexture(4, 4, 1, 1);
    m->brush.setTexture(0, a, 0);
    m->brush.setTexture(1, b, 0);
    m->brushChanged = true;
    _frenderworld(1);
    EXPECT_EQ(_ftrisrendered(), 12);
    _fhwmultitex(0);
    EXPECT_EQ(_fhwtexunits(), 1);
    scene_->draws.clear();
    _frenderworld(1);
    EXPECT_EQ(_ftrisrendered(), 24);
    ASSERT_EQ(scene_->draws.size(), 2u);
    EXPECT_FALSE(scene_->draws[0].layer);
    EXPECT_TRUE(scene_->draws[1].layer);
    _fhwmultitex(1);
    EXPECT_EQ(_fhwtexunits(), 4);
    a->release();
    b->release();
}

TEST_F(RenderWorldTest, UpdateWorldStoresVelocitiesOfEnabledObjects) {
    Mesh* moving = cube(0, 0);
    Mesh* parked = cube(0, 0);
    Mesh* child = cube(0, 0);
    child->setParent(parked);
    parked->setEnabled(false);
    stats3D()[0] = 5;
    moving->setLocalPosition({4, 0, 0});
    child->setLocalPosition({4, 0, 0});
    _fupdateworld(2);
    expectNear(moving->velocity, {2, 0, 0});
    expectNear(moving->previousWorldTransform.t, {4, 0, 0});
    expectNear(child->velocity, {0, 0, 0});  // under a disabled parent: not updated
    expectNear(child->previousWorldTransform.t, {0, 0, 0});
    EXPECT_EQ(_fstats3d(0), 0);
    _fupdateworld(0);
    expectNear(moving->velocity, {0, 0, 0});
}

TEST_F(RenderWorldTest, ClearWorldFreesTheGroupsAsked) {
    cube(0, 0);
    _fcreatebrush(255, 0, 0);
    size_t brushes = registeredBrushCount();
    int32_t texture = _fcreatetexture(4, 4, 1, 1);
    _fclearworld(1, 0, 1);
    EXPECT_EQ(world().firstRoot, nullptr);
    EXPECT_EQ(registeredBrushCount(), brushes);
    EXPECT_EQ(errorOf([&] { _ftexturewidth(texture); }), "Texture does not exist");
    _fclearworld(0, 1, 0);
    EXPECT_EQ(registeredBrushCount(), 0u);
}

TEST_F(RenderWorldTest, CommandsNeedAScene) {
    closeScene3D();
    openWorld();
    EXPECT_EQ(errorOf([] { _frenderworld(1); }), "3D Graphics mode not set");
    EXPECT_EQ(errorOf([] { _fambientlight(1, 1, 1); }), "3D Graphics mode not set");
    EXPECT_EQ(_ftrisrendered(), 0);
    int32_t pivot = _fcreatepivot(0);
    EXPECT_EQ(errorOf([&] { _fentityorder(pivot, 1); }), "Entity is not a model or camera");
    EXPECT_EQ(errorOf([&] { _fentityautofade(pivot, 1, 2); }), "Entity is not a model");
    closeWorld();
}

}  // namespace
}  // namespace tarsk::test

namespace tarsk::test {
namespace {

// RenderWorld through the GL scene into the back buffer and into a texture, with 2D
// pixels drawn before and after.
class RenderWorldGl : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        if (!display_->glDevice()) GTEST_SKIP() << "no GL context on this machine";
        graphicsState().display = display_;
        openScene3D(*display_);
        selectBuffer(display_->backCanvas());
    }
    void TearDown() override {
        closeScene3D();
        for (auto release : graphicsState().beforeModeChange) release();
        graphicsState().buffer = nullptr;
        graphicsState().display = nullptr;
        DisplayTest::TearDown();
    }
};

TEST_F(RenderWorldGl, BackBufferAndTextureTargets) {
    gxCanvas* back = display_->backCanvas();
    back->pokePixel(0, 0, 0xFF123456u);
    int32_t camera = _fcreatecamera(0);
    _fcameraviewport(camera, 8, 0, 56, 48);
    _fcameraclscolor(camera, 0, 0, 255);
    int32_t cube = _fcreatecube(0);
    _fpositionentity(cube, 0, 0, 4, 0);
    _frenderworld(1);
    EXPECT_EQ(_ftrisrendered(), 12);
    EXPECT_EQ(back->peekPixel(36, 24) & 0xFFFFFF, 0x7F7F7Fu);  // white, lit by the ambient light
    EXPECT_EQ(back->peekPixel(9, 1) & 0xFFFFFF, 0x0000FFu);    // the camera's clear colour
    EXPECT_EQ(back->peekPixel(0, 0) & 0xFFFFFF, 0x123456u);    // outside the viewport: the 2D pixel
    _fambientlight(255, 0, 0);
    back->pokePixel(40, 30, 0xFF00FF00u);                        // drawn over by the next render
    _frenderworld(1);
    EXPECT_EQ(back->peekPixel(40, 30) & 0xFFFFFF, 0xFF0000u);

    // Into a texture: the current buffer is the target.
    int32_t texture = _fcreatetexture(32, 32, 1, 1);
    gxCanvas* canvas = fromHandle<gxCanvas>(_ftexturebuffer(texture, 0));
    selectBuffer(canvas);
    _fcameraviewport(camera, 0, 0, 32, 32);
    _frenderworld(1);
    EXPECT_EQ(canvas->peekPixel(16, 16) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(canvas->peekPixel(1, 1) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(back->peekPixel(40, 30) & 0xFFFFFF, 0xFF0000u);
    _ffreetexture(texture);
}

}  // namespace
}  // namespace tarsk::test
