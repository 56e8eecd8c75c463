// The GL scene on a small surfaceless target: lighting, effects, fog, blending, texture
// stages, the alpha test, viewports and clears, probed pixel by pixel against the
// fixed-function formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "runtime/engine3d/gl_scene3d.h"
#include "runtime/graphics/canvas_flags.h"
#include "runtime/graphics/display_modes.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/graphics/gx_mesh.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"
#include "tests/graphics/display_fixture.h"

namespace tarsk::test {
namespace {

using math3d::Transform;
using math3d::Vec3;

constexpr int kSize = 32;

struct TestVertex {
    Vec3 position, normal;
    uint32_t colour = 0xFFFFFFFFu;
    float uv[2][2] = {};
};

int channel(uint32_t argb, int shift) { return int((argb >> shift) & 0xFF); }

class RenderScene : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        if (HasFatalFailure()) return;
        GlDevice* gl = display_->glDevice();
        if (!gl) GTEST_SKIP() << "no GL context on this machine";
        scene_ = GlScene3D::create(*gl);
        ASSERT_NE(scene_, nullptr);
        target_ = display_->makeCanvas(kSize, kSize, 0);
        ASSERT_NE(target_, nullptr);
        scene_->setTarget(target_);
        mesh_ = std::make_unique<gxMesh>(*display_, *gl, 64, 64);
    }
    void TearDown() override {
        mesh_.reset();
        scene_.reset();
        DisplayTest::TearDown();
    }

    // A square facing the camera at z = depth, half size h, clockwise seen from the eye.
    void square(float h, float depth, std::array<uint32_t, 4> colours = {~0u, ~0u, ~0u, ~0u}, Vec3 normal = {0, 0, -1},
                float uvScale = 1) {
        TestVertex v[4];
        Vec3 corners[4] = {{-h, h, depth}, {h, h, depth}, {h, -h, depth}, {-h, -h, depth}};
        float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i = 0; i < 4; ++i) {
            v[i].position = corners[i];
            v[i].normal = normal;
            v[i].colour = colours[i];
            for (int s = 0; s < 2; ++s) v[i].uv[s][0] = uv[i][0] * uvScale, v[i].uv[s][1] = uv[i][1] * uvScale;
        }
        uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
        upload(v, 4, indices, 2);
    }
    void upload(const TestVertex* v, int count, const uint16_t* indices, int triangles) {
        gxMesh::Locked locked = mesh_->lock();
        ASSERT_NE(locked.vertices, nullptr);
        for (int i = 0; i < count; ++i) std::memcpy(locked.vertices + i * gxMesh::kVertexBytes, &v[i], gxMesh::kVertexBytes);
        std::memcpy(locked.indices, indices, size_t(triangles) * 6);
        mesh_->unlock(triangles);
        triangles_ = triangles;
    }

    // One frame through a camera at the origin looking along +z (zoom 1, range 1 to 1000).
    void frame(const RenderMaterial& material, std::vector<const LightRecord*> lights = {},
               Rgb clearColour = {0, 0, 0}, Transform world = {}) {
        ASSERT_TRUE(scene_->beginFrame(lights));
        scene_->setViewport({0, 0, kSize, kSize});
        scene_->clear(true, true, clearColour);
        scene_->setProjection(perspective(1, 1000));
        scene_->setViewTransform(view_);
        scene_->setFog(fogNear_, fogFar_, fogColour_, fogMode_);
        scene_->setZMode(0);
        scene_->setWorldTransform(world);
        scene_->setRenderState(material);
        scene_->draw(*mesh_, 0, 4, 0, triangles_);
        scene_->endFrame();
    }
    static Matrix4 perspective(float n, float f) {
        Matrix4 m{};
        m[0][0] = n;  // 2n ÷ w with w = 2n
        m[1][1] = n;
        m[2][2] = f / (f - n);
        m[3][2] = -n * f / (f - n);
        m[2][3] = 1;
        return m;
    }
    uint32_t centre() { return target_->peekPixel(kSize / 2, kSize / 2) & 0xFFFFFFu; }
    void expectRgb(uint32_t actual, float r, float g, float b, const char* what = "") {
        EXPECT_NEAR(channel(actual, 16), r * 255, 2.01) << what;
        EXPECT_NEAR(channel(actual, 8), g * 255, 2.01) << what;
        EXPECT_NEAR(channel(actual, 0), b * 255, 2.01) << what;
    }
    // A 2 x 2 texture canvas of one ARGB colour.
    gxCanvas* texture(uint32_t argb, int32_t flags = CV_COLOUR | CV_ALPHA) {
        gxCanvas* t = display_->makeCanvas(2, 2, flags | CV_TEXTURE);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) t->pokePixel(x, y, argb);
        return t;
    }
    static TextureStageState stage(gxCanvas* canvas, TextureColourOp op,
                                   TextureAlphaOp alpha = TextureAlphaOp::kSelectCurrent) {
        TextureStageState s;
        s.canvas = canvas;
        s.colourOp = op;
        s.alphaOp = alpha;
        return s;
    }

    std::unique_ptr<GlScene3D> scene_;
    gxCanvas* target_ = nullptr;
    std::unique_ptr<gxMesh> mesh_;
    int triangles_ = 0;
    Transform view_;
    float fogNear_ = 1, fogFar_ = 1000;
    Rgb fogColour_{0, 0, 0};
    int32_t fogMode_ = 0;
};

TEST_F(RenderScene, WhiteSurfaceWithoutLightsShowsTheTruncatedAmbient) {
    square(10, 5);
    frame({});
    EXPECT_EQ(centre(), 0x7F7F7Fu);
    EXPECT_EQ(target_->peekPixel(0, 0) & 0xFFFFFFu, 0x7F7F7Fu);
    EXPECT_EQ(scene_->triangleTotal(), 2);
}

// Lighting values are those of the square's corners, which all share one distance and
// angle, so interpolation changes nothing.
TEST_F(RenderScene, LightTypesAttenuationAndSpecular) {
    const float h = 0.2f, z = 2;
    Vec3 corner{h, h, z};
    float dist = math3d::length(corner);
    float cosine = z / dist;  // normal (0, 0, -1) against the direction to the eye-side light
    scene_->setAmbient({0, 0, 0});
    square(h, z);

    LightRecord directional;
    directional.diffuse = {0.4f, 0.6f, 0.8f, 1};
    LightRecord turned = directional;  // 60 degrees off the normal
    turned.direction = {std::sin(1.0471976f), 0, std::cos(1.0471976f)};
    LightRecord point;
    point.type = LightType::Point;
    point.range = maximumLightRange();
    point.attenuation1 = 1;
    LightRecord spot = point;
    spot.type = LightType::Spot;
    spot.attenuation1 = 0.5f;
    spot.theta = 10 * math3d::kDegreesToRadians;
    spot.phi = 30 * math3d::kDegreesToRadians;
    // The corners lie 8.05 degrees off the spot's axis.
    LightRecord narrow = spot;
    narrow.phi = narrow.theta = 20 * math3d::kDegreesToRadians;
    LightRecord outside = spot;
    outside.theta = 2 * math3d::kDegreesToRadians;
    outside.phi = 16 * math3d::kDegreesToRadians;
    LightRecord shortRange = point;
    shortRange.range = 1.5f;
    float rho = cosine;
    float spotFactor = (rho - std::cos(15 * math3d::kDegreesToRadians)) /
                       (std::cos(5 * math3d::kDegreesToRadians) - std::cos(15 * math3d::kDegreesToRadians));
    struct Case {
        const char* name;
        LightRecord light;
        Rgb expected;
    } cases[] = {
        {"directional", directional, {0.4f, 0.6f, 0.8f}},
        {"directional at 60 degrees", turned, {0.2f, 0.3f, 0.4f}},
        {"point", point, {cosine / dist, cosine / dist, cosine / dist}},
        {"spot inside the inner cone", narrow, {2 * cosine / dist, 2 * cosine / dist, 2 * cosine / dist}},
        {"spot between the cones", spot,
         {2 * cosine / dist * spotFactor, 2 * cosine / dist * spotFactor, 2 * cosine / dist * spotFactor}},
        {"spot outside the outer cone", outside, {0, 0, 0}},
        {"out of range", shortRange, {0, 0, 0}},
    };
    for (const Case& k : cases) {
        frame({}, {&k.light});
        expectRgb(centre(), k.expected[0], k.expected[1], k.expected[2], k.name);
    }

    // Specular: power shininess × 128, colour shininess, added after the stages.
    RenderMaterial shiny;
    shiny.colour = {0, 0, 0};
    shiny.shininess = 0.5f;
    LightRecord head;
    Vec3 eye = math3d::normalized(corner * -1.0f);
    Vec3 half = math3d::normalized(eye + Vec3{0, 0, -1});
    float highlight = 0.5f * std::pow(-half.z, 64.0f);
    frame(shiny, {&head});
    expectRgb(centre(), highlight, highlight, highlight, "specular");
}

TEST_F(RenderScene, EffectBits) {
    RenderMaterial m;
    m.colour = {1, 0.5f, 0.25f};
    LightRecord light;
    light.diffuse = {0.2f, 0.2f, 0.2f, 1};
    square(10, 5, {0xFF400000u, 0xFF004000u, 0xFF000040u, 0xFF404040u});

    m.fx = kFxFullBright;
    frame(m, {&light});
    expectRgb(centre(), 1, 0.5f, 0.25f, "full bright ignores lights");

    m.fx = kFxVertexColours | kFxFlat;
    frame(m);
    expectRgb(centre(), 0.25f * 127 / 255, 0, 0, "flat: the first vertex's colour");
    expectRgb(target_->peekPixel(kSize - 2, kSize - 2), 0.25f * 127 / 255, 0, 0, "flat, other corner");

    square(10, 5, {0xFF000040u, 0xFF000040u, 0xFF000040u, 0xFF000040u});
    m.fx = kFxEmissiveVertexColours;
    frame(m);
    float a = 127.0f / 255;
    expectRgb(centre(), a, 0.5f * a, 0.25f * a + 64.0f / 255, "emissive vertex colour");

    m.fx = kFxSecondAmbient;
    frame(m);
    expectRgb(centre(), 0, 0, 0, "second ambient");

    // Fog off per brush.
    fogMode_ = 1, fogNear_ = 1, fogFar_ = 9, fogColour_ = {0, 1, 0};
    m.fx = kFxFullBright;
    frame(m);
    expectRgb(centre(), 0.5f, 0.5f + 0.25f, 0.125f, "fog half way");
    m.fx = kFxFullBright | kFxNoFog;
    frame(m);
    expectRgb(centre(), 1, 0.5f, 0.25f, "no fog");
    fogMode_ = 0;

    // A square seen from behind is culled unless the brush says otherwise.
    square(10, 5, {~0u, ~0u, ~0u, ~0u});
    Transform turned{math3d::rotationAxes(math3d::eulerToQuat(0, math3d::kPi, 0)), {0, 0, 10}};
    m.fx = kFxFullBright;
    frame(m, {}, {0, 0, 1}, turned);
    expectRgb(centre(), 0, 0, 1, "back face culled");
    m.fx = kFxFullBright | kFxNoCulling;
    frame(m, {}, {0, 0, 1}, turned);
    expectRgb(centre(), 1, 0.5f, 0.25f, "no culling");
    // A mirror view turns the front faces round.
    m.fx = kFxFullBright;
    ASSERT_TRUE(scene_->beginFrame({}));
    scene_->setViewport({0, 0, kSize, kSize});
    scene_->clear(true, true, {0, 0, 1});
    scene_->setCullFlip(true);
    scene_->setWorldTransform(turned);
    scene_->setRenderState(m);
    scene_->draw(*mesh_, 0, 4, 0, triangles_);
    scene_->endFrame();
    scene_->setCullFlip(false);
    expectRgb(centre(), 1, 0.5f, 0.25f, "flipped culling");
}

TEST_F(RenderScene, WireframeDrawsTheEdgesOnly) {
    square(10, 5);
    RenderMaterial m;
    m.fx = kFxFullBright;
    scene_->setWireframe(true);
    frame(m, {}, {0, 0, 1});
    scene_->setWireframe(false);
    // The shared edge of the two triangles runs along the image's diagonal.
    uint32_t onEdge[2] = {target_->peekPixel(15, 15) & 0xFFFFFF, target_->peekPixel(16, 16) & 0xFFFFFF};
    EXPECT_TRUE(onEdge[0] == 0xFFFFFFu || onEdge[1] == 0xFFFFFFu) << std::hex << onEdge[0] << " " << onEdge[1];
    EXPECT_EQ(target_->peekPixel(8, 20) & 0xFFFFFF, 0x0000FFu);
    frame(m, {}, {0, 0, 1});
    EXPECT_EQ(target_->peekPixel(8, 20) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(RenderScene, BlendModes) {
    square(10, 5);
    Rgb below{0.8f, 0.4f, 0.2f};
    RenderMaterial m;
    m.fx = kFxFullBright;
    m.colour = {0.5f, 1, 0};
    m.alpha = 0.25f;
    // The clear colour is truncated to 8 bits like the device's.
    float d[3] = {204.0f / 255, 102.0f / 255, 51.0f / 255};
    struct Case {
        int32_t blend;
        Rgb expected;
    } cases[] = {
        {0, {0.5f, 1, 0}},
        {1, {0.25f * 0.5f + 0.75f * d[0], 0.25f + 0.75f * d[1], 0.75f * d[2]}},
        {2, {0.5f * d[0], d[1], 0}},
        {3, {std::min(1.0f, 0.125f + d[0]), std::min(1.0f, 0.25f + d[1]), d[2]}},
    };
    for (const Case& k : cases) {
        m.blend = k.blend;
        frame(m, {}, below);
        expectRgb(centre(), k.expected[0], k.expected[1], k.expected[2], std::to_string(k.blend).c_str());
    }
}

TEST_F(RenderScene, TextureOperationsAndAlphaTest) {
    square(10, 5);
    uint32_t argb = 0x80C04020u;  // alpha 128
    float t[4] = {192.0f / 255, 64.0f / 255, 32.0f / 255, 128.0f / 255};
    gxCanvas* tex = texture(argb);
    RenderMaterial m;
    m.fx = kFxFullBright;
    m.colour = {0.5f, 0.5f, 1};
    m.stageCount = 1;
    float c[3] = {0.5f, 0.5f, 1};
    auto dot3 = [&] {
        float v = 4 * ((t[0] - 0.5f) * (c[0] - 0.5f) + (t[1] - 0.5f) * (c[1] - 0.5f) + (t[2] - 0.5f) * (c[2] - 0.5f));
        return std::clamp(v, 0.0f, 1.0f);
    };
    struct Case {
        const char* name;
        TextureColourOp op;
        Rgb expected;
    } cases[] = {
        {"modulate", TextureColourOp::kModulate, {t[0] * c[0], t[1] * c[1], t[2] * c[2]}},
        {"add", TextureColourOp::kAdd, {std::min(1.0f, t[0] + c[0]), t[1] + c[1], 1}},
        {"modulate 2x", TextureColourOp::kModulate2x, {2 * t[0] * c[0], 2 * t[1] * c[1], 2 * t[2] * c[2]}},
        {"blend texture alpha", TextureColourOp::kBlendTextureAlpha,
         {t[0] * t[3] + c[0] * (1 - t[3]), t[1] * t[3] + c[1] * (1 - t[3]), t[2] * t[3] + c[2] * (1 - t[3])}},
        {"dot product", TextureColourOp::kDotProduct3, {dot3(), dot3(), dot3()}},
    };
    for (const Case& k : cases) {
        m.stages[0] = stage(tex, k.op);
        frame(m);
        expectRgb(centre(), k.expected[0], k.expected[1], k.expected[2], k.name);
    }
    // Two stages: the second modulates the first's result.
    gxCanvas* grey = texture(0xFF808080u);
    m.stageCount = 2;
    m.stages[0] = stage(tex, TextureColourOp::kModulate);
    m.stages[1] = stage(grey, TextureColourOp::kModulate);
    frame(m);
    float g = 128.0f / 255;
    expectRgb(centre(), t[0] * c[0] * g, t[1] * c[1] * g, t[2] * c[2] * g, "two stages");
    // With one unit in use the second stage is not set; a layer pass multiplies it in.
    scene_->setTextureUnits(1);
    frame(m);
    expectRgb(centre(), t[0] * c[0], t[1] * c[1], t[2] * c[2], "one unit");
    ASSERT_TRUE(scene_->beginFrame({}));
    scene_->setViewport({0, 0, kSize, kSize});
    scene_->clear(true, true, {0, 0, 0});
    scene_->setZMode(0);
    scene_->setRenderState(m);
    scene_->draw(*mesh_, 0, 4, 0, triangles_);
    scene_->setLayerPass(m.stages[1]);
    scene_->draw(*mesh_, 0, 4, 0, triangles_);
    scene_->endLayerPasses();
    scene_->endFrame();
    expectRgb(centre(), t[0] * c[0] * g, t[1] * c[1] * g, t[2] * c[2] * g, "layer pass");
    scene_->setTextureUnits(scene_->maxTextureUnits());

    // Alpha test: reference alpha × 128, pixels pass when their alpha is greater.
    m.stageCount = 1;
    m.fx = kFxFullBright | kFxAlphaTest;
    struct AlphaCase {
        uint32_t argb;
        bool passes;
    } alphas[] = {{0x80FFFFFFu, false}, {0x81FFFFFFu, true}, {0x00FFFFFFu, false}};
    for (const AlphaCase& k : alphas) {
        m.stages[0] = stage(texture(k.argb), TextureColourOp::kModulate, TextureAlphaOp::kModulate);
        frame(m, {}, {0, 1, 0});
        EXPECT_EQ(centre() != 0x00FF00u, k.passes) << std::hex << k.argb;
    }
    // With fx 32 as well the reference is 0.
    m.fx = kFxFullBright | kFxAlphaTest | kFxAlphaBlend;
    m.stages[0] = stage(texture(0x01FFFFFFu), TextureColourOp::kModulate, TextureAlphaOp::kModulate);
    frame(m, {}, {0, 1, 0});
    EXPECT_NE(centre(), 0x00FF00u);
}

TEST_F(RenderScene, TextureCoordinatesTransformsAndSphereMaps) {
    // A 2 x 2 texture with four colours, clamped, sampled at the quarter points.
    gxCanvas* tex = display_->makeCanvas(2, 2, CV_COLOUR | CV_TEXTURE);
    uint32_t colours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
    for (int i = 0; i < 4; ++i) tex->pokePixel(i & 1, i >> 1, colours[i]);
    // The square exactly fills the view: u runs left to right, v top to bottom.
    square(5, 5);
    RenderMaterial m;
    m.fx = kFxFullBright;
    m.stageCount = 1;
    m.stages[0] = stage(tex, TextureColourOp::kModulate);
    m.stages[0].addressU = m.stages[0].addressV = TextureAddress::kClamp;
    frame(m);
    EXPECT_EQ(target_->peekPixel(4, 4) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(target_->peekPixel(kSize - 5, 4) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(target_->peekPixel(4, kSize - 5) & 0xFFFFFF, 0x0000FFu);
    // Offset by half the texture: u' = u + 0.5.
    m.stages[0].transformKind = TextureTransformKind::kAffine2;
    m.stages[0].matrix[0][0] = 1;
    m.stages[0].matrix[1][1] = 1;
    m.stages[0].matrix[3][0] = 0.75f;
    frame(m);
    EXPECT_EQ(target_->peekPixel(4, 4) & 0xFFFFFF, 0x00FF00u);
    // Sphere map: camera-space normal (0, 0, -1) maps to the texture's centre row/column 0.5.
    m.stages[0].source = TextureCoordSource::kCameraSpaceNormal;
    std::memset(m.stages[0].matrix, 0, sizeof m.stages[0].matrix);
    m.stages[0].matrix[0][0] = 0.5f;
    m.stages[0].matrix[1][1] = -0.5f;
    m.stages[0].matrix[3][0] = 0.25f;  // 0.5·nx + 0.25: inside the left column
    m.stages[0].matrix[3][1] = 0.25f;  // top row
    frame(m);
    EXPECT_EQ(centre(), 0xFF0000u);
}

TEST_F(RenderScene, CubeMapsSampleTheFaceTheCoordinatesPointAt) {
    gxCanvas* cube = display_->makeCanvas(2, 2, CV_COLOUR | CV_TEXTURE | CV_CUBE);
    ASSERT_NE(cube, nullptr);
    uint32_t faces[6] = {0xFF110000u, 0xFF220000u, 0xFF330000u, 0xFF440000u, 0xFF550000u, 0xFF660000u};
    for (int f = 0; f < 6; ++f) {
        cube->selectFace(f);
        for (int i = 0; i < 4; ++i) cube->pokePixel(i & 1, i >> 1, faces[f]);
    }
    cube->selectFace(1);
    square(10, 5);
    RenderMaterial m;
    m.fx = kFxFullBright;
    m.stageCount = 1;
    m.stages[0] = stage(cube, TextureColourOp::kModulate);
    m.stages[0].cube = true;
    // Normals of the square are (0, 0, -1) in camera space: the back face (-z), 3.
    m.stages[0].source = TextureCoordSource::kCameraSpaceNormal;
    frame(m);
    EXPECT_EQ(centre(), 0x440000u);
    // Reflection of the eye ray off the facing square points back at the eye: -z again;
    // turned into world space by a camera yawed 90 degrees, -z becomes +x, face 2.
    m.stages[0].source = TextureCoordSource::kCameraSpaceReflection;
    m.stages[0].transformKind = TextureTransformKind::kCameraToWorld;
    view_ = {math3d::rotationAxes(math3d::eulerToQuat(0, math3d::kPi / 2, 0)), {}};
    Surface* selected = &cube->currentSurface();
    frame(m, {}, {0, 0, 0}, {view_.m, {}});
    EXPECT_EQ(centre(), 0x330000u);
    EXPECT_EQ(&cube->currentSurface(), selected);  // the selected face survives
}

TEST_F(RenderScene, ViewportsAndClearsTouchOnlyTheirArea) {
    square(10, 5);
    ASSERT_TRUE(scene_->beginFrame({}));
    scene_->setViewport({0, 0, kSize, kSize});
    scene_->clear(true, true, {1, 0, 0});
    scene_->setViewport({8, 4, 8, 8});
    scene_->clear(true, false, {0, 0, 1});
    scene_->endFrame();
    EXPECT_EQ(target_->peekPixel(8, 4) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(target_->peekPixel(15, 11) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(target_->peekPixel(16, 11) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(target_->peekPixel(8, 12) & 0xFFFFFF, 0xFF0000u);
    // A 2D pixel drawn after the frame stays; the next frame starts from it.
    target_->pokePixel(0, 0, 0xFF00FF00u);
    ASSERT_TRUE(scene_->beginFrame({}));
    scene_->setViewport({20, 20, 4, 4});
    scene_->clear(true, true, {1, 1, 1});
    scene_->endFrame();
    EXPECT_EQ(target_->peekPixel(0, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(target_->peekPixel(21, 21) & 0xFFFFFF, 0xFFFFFFu);
    // Drawing into a viewport: the picture is squeezed into its rectangle.
    ASSERT_TRUE(scene_->beginFrame({}));
    scene_->setViewport({0, 0, kSize, kSize});
    scene_->clear(true, true, {0, 0, 0});
    scene_->setViewport({0, 16, 16, 16});
    scene_->setProjection(perspective(1, 1000));
    scene_->setViewTransform({});
    scene_->setZMode(0);
    scene_->setWorldTransform({});
    RenderMaterial m;
    m.fx = kFxFullBright;
    scene_->setRenderState(m);
    scene_->draw(*mesh_, 0, 4, 0, triangles_);
    scene_->endFrame();
    EXPECT_EQ(target_->peekPixel(8, 24) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(target_->peekPixel(8, 8) & 0xFFFFFF, 0u);
}

TEST_F(RenderScene, DepthModesAndTopRowFirst) {
    // A near red square on the upper half, a far green one everywhere.
    TestVertex v[8];
    Vec3 p[8] = {{-1, 1, 2}, {1, 1, 2}, {1, 0, 2}, {-1, 0, 2}, {-9, 9, 8}, {9, 9, 8}, {9, -9, 8}, {-9, -9, 8}};
    for (int i = 0; i < 8; ++i) {
        v[i].position = p[i];
        v[i].normal = {0, 0, -1};
        v[i].colour = i < 4 ? 0xFFFF0000u : 0xFF00FF00u;
    }
    uint16_t idx[12] = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
    upload(v, 8, idx, 4);
    RenderMaterial m;
    m.fx = kFxFullBright | kFxVertexColours;
    struct Case {
        int32_t zMode;
        uint32_t top, bottom;
    } cases[] = {{0, 0xFF0000u, 0x00FF00u}, {1, 0x00FF00u, 0x00FF00u}, {2, 0x00FF00u, 0x00FF00u}};
    for (const Case& k : cases) {
        ASSERT_TRUE(scene_->beginFrame({}));
        scene_->setViewport({0, 0, kSize, kSize});
        scene_->clear(true, true, {0, 0, 0});
        scene_->setProjection(perspective(1, 1000));
        scene_->setViewTransform({});
        scene_->setZMode(k.zMode);
        scene_->setWorldTransform({});
        scene_->setRenderState(m);
        scene_->draw(*mesh_, 0, 8, 0, 4);
        scene_->endFrame();
        EXPECT_EQ(target_->peekPixel(16, 8) & 0xFFFFFF, k.top) << k.zMode;
        EXPECT_EQ(target_->peekPixel(16, 24) & 0xFFFFFF, k.bottom) << k.zMode;
    }
}

}  // namespace
}  // namespace tarsk::test
