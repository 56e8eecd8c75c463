// Texture handles and settings: CreateTexture, transforms, shared representations,
// TextureBuffer, cube faces, the registry's checks and a mode change.
#include <cmath>
#include <cstring>
#include <fstream>

#include "runtime/engine3d/texture_stage.h"
#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gl_device.h"
#include "runtime/graphics/gl_sync.h"
#include "tests/engine3d/texture_fixture.h"

namespace tarsk::test {
namespace {

using Textures = TextureWorld;

TEST_F(Textures, CreateTextureMakesTextureCanvasesWithoutFilters) {
    int32_t texture = _fcreatetexture(100, 60, 4, 3);
    ASSERT_NE(texture, 0);
    TextureRep& rep = repOf(texture);
    EXPECT_EQ(rep.frameCount(), 3);
    EXPECT_EQ(rep.flags(), 4 | 1 | 2 | 65536);
    EXPECT_EQ(_ftexturewidth(texture), 128);
    EXPECT_EQ(_ftextureheight(texture), 64);
    EXPECT_EQ(text(_ftexturename(texture)), "");
    EXPECT_EQ(rep.blend(), 2);
    EXPECT_EQ(rep.coordinateSet(), 0);
    EXPECT_EQ(rep.transform(), nullptr);
    EXPECT_EQ(_factivetextures(), 1);
    // Created entries are never shared, not even with each other.
    int32_t other = _fcreatetexture(100, 60, 4, 3);
    EXPECT_NE(repOf(other).frame(0), rep.frame(0));
    EXPECT_EQ(_factivetextures(), 2);
}

TEST_F(Textures, ChecksAndHandlesWithoutFrames) {
    EXPECT_EQ(errorOf([] { _fcreatetexture(64, 64, 0, 0); }), "Illegal number of texture frames");
    EXPECT_EQ(errorOf([] { _ftextureblend(12345, 1); }), "Texture does not exist");
    EXPECT_EQ(errorOf([] { _ffreetexture(12345); }), "Texture does not exist");
    EXPECT_EQ(errorOf([] { _ffreetexture(0); }), "(none)");
    tarsk3d_destroy();
    EXPECT_EQ(errorOf([] { _floadtexture(S("a.png"), 1); }), "3D Graphics mode not set");
    EXPECT_EQ(errorOf([] { _fcleartexturefilters(); }), "3D Graphics mode not set");
    ASSERT_TRUE(tarsk3d_create());

    debugChecks = false;
    int32_t empty = _fcreatetexture(64, 64, 0, 0);
    ASSERT_NE(empty, 0);
    EXPECT_EQ(_ftexturewidth(empty), 0);
    EXPECT_EQ(_ftextureheight(empty), 0);
    EXPECT_EQ(_ftexturebuffer(empty, 0), 0);
    _fsetcubeface(empty, 2);
    _fsetcubemode(empty, 2);
    // A freed handle is refused always; freeing it again does nothing without debug checks.
    _ffreetexture(empty);
    EXPECT_EQ(errorOf([=] { _ftexturewidth(empty); }), "Texture does not exist");
    EXPECT_EQ(errorOf([=] { _ffreetexture(empty); }), "(none)");
    EXPECT_EQ(_factivetextures(), 0);
}

TEST_F(Textures, TransformRowsFollowScaleRotationAndOffset) {
    struct Case {
        const char* what;
        float su, sv, degrees, ou, ov;
        float rows[12];
    } cases[] = {
        {"scale", 2, 4, 0, 0, 0, {0.5f, 0, 0, 0, 0.25f, 0, 0, 0, 0, 0, 0, 0}},
        {"rotate", 1, 1, 90, 0, 0, {0, 1, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"position", 1, 1, 0, 0.5f, 0.25f, {1, 0, 0, 0, 1, 0, -0.5f, -0.25f, 0, 0, 0, 0}},
        {"all", 0.5f, 0.5f, 90, 1, 2, {0, 2, 0, -2, 0, 0, -1, -2, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int32_t texture = _fcreatetexture(4, 4, 0, 1);
        if (c.su != 1 || c.sv != 1) _fscaletexture(texture, c.su, c.sv);
        if (c.degrees != 0) _frotatetexture(texture, c.degrees);
        if (c.ou != 0 || c.ov != 0) _fpositiontexture(texture, c.ou, c.ov);
        const float* rows = repOf(texture).transform();
        ASSERT_NE(rows, nullptr);
        for (int i = 0; i < 12; ++i) EXPECT_NEAR(rows[i], c.rows[i], 1e-6f) << i;
    }
    // A change after the rows were built rebuilds them.
    int32_t texture = _fcreatetexture(4, 4, 0, 1);
    _fscaletexture(texture, 2, 2);
    EXPECT_EQ(repOf(texture).transform()[0], 0.5f);
    _fscaletexture(texture, 4, 4);
    EXPECT_EQ(repOf(texture).transform()[0], 0.25f);
    EXPECT_EQ(textureStage(repOf(texture), 0).matrix[1][1], 0.25f);
}

TEST_F(Textures, SettingsAreSharedWithEveryHolder) {
    int32_t texture = _fcreatetexture(8, 8, 0, 1);
    // A brush slot holds a reference of its own, a copied handle shares the same one.
    TextureRep* slot = &repOf(texture);
    slot->retain();
    slot->retain();
    int32_t copied = handleOf(registerTexture(slot));
    _ftextureblend(texture, 3);
    _ftexturecoords(texture, 3);
    _fpositiontexture(copied, 0.5f, 0);
    EXPECT_EQ(slot->blend(), 3);
    EXPECT_EQ(slot->coordinateSet(), 1);
    EXPECT_EQ(repOf(texture).transform()[6], -0.5f);
    EXPECT_EQ(textureStage(*slot, 0).colourOp, TextureColourOp::kAdd);
    // The pixels live on while the slot refers to them.
    _ffreetexture(texture);
    _ffreetexture(copied);
    EXPECT_EQ(_factivetextures(), 1);
    ASSERT_NE(slot->frame(0), nullptr);
    EXPECT_TRUE(display_->ownsCanvas(slot->frame(0)));
    slot->release();
    EXPECT_EQ(_factivetextures(), 0);
}

TEST_F(Textures, DrawingIntoTextureBufferReachesTheTexture) {
    int32_t texture = _fcreatetexture(16, 16, 1, 2);
    int32_t first = _ftexturebuffer(texture, 0);
    int32_t second = _ftexturebuffer(texture, 1);
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(_ftexturebuffer(texture, 2), 0);
    EXPECT_EQ(_ftexturebuffer(texture, -1), 0);

    auto* buffer = fromHandle<gxCanvas>(second);
    ASSERT_TRUE(display_->ownsCanvas(buffer));
    buffer->setPaper(0x204060);
    buffer->clear();
    buffer->pokePixel(3, 4, 0xFFFF0000);
    gxCanvas* frame = repOf(texture).frame(1);
    EXPECT_EQ(frame->peekPixel(3, 4) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(frame->peekPixel(0, 0) & 0xFFFFFF, 0x204060u);

    // The renderer's stage samples that canvas, uploaded with the drawing.
    TextureStageState stage = textureStage(repOf(texture), 1);
    ASSERT_EQ(stage.canvas, buffer);
    GlDevice* gl = display_->glDevice();
    if (!gl) GTEST_SKIP() << "no GL context on this machine";
    gl->makeCurrent();
    uint32_t glTexture = textureOf(*gl, stage.canvas->renderSurface());
    EXPECT_EQ(glTexturePixel(glTexture, 3, 4), 0xFF0000u);
    EXPECT_EQ(glTexturePixel(glTexture, 5, 5), 0x204060u);
}

TEST_F(Textures, BufferCommandsDrawIntoTextureFrames) {
    int32_t texture = _fcreatetexture(32, 32, 0, 2);
    int32_t buffer = _ftexturebuffer(texture, 1);
    _fsetbuffer(buffer);
    _fcolor(255, 0, 0);
    _frect(2, 2, 4, 4, 1);
    _fsetbuffer(_fbackbuffer());
    EXPECT_EQ(uint32_t(_freadpixel(3, 3, buffer)) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(rgbAt(texture, 1, 5, 5), 0xFF0000u);
    EXPECT_EQ(rgbAt(texture, 1, 6, 6), 0u);
    EXPECT_EQ(rgbAt(texture, 0, 3, 3), 0u);
    // Freed while it is the current buffer: the back buffer takes over, the handle is refused.
    _fsetbuffer(buffer);
    _ffreetexture(texture);
    EXPECT_EQ(_fgraphicsbuffer(), _fbackbuffer());
    _fplot(0, 0);
    EXPECT_EQ(errorOf([=] { _fsetbuffer(buffer); }), "Buffer does not exist");
}

TEST_F(Textures, CompressedFramesHaveNoBuffer) {
    uint8_t header[128] = {};
    std::memcpy(header, "DDS ", 4);
    uint32_t fields[] = {124, 0, 4, 4};  // size, flags, height, width
    std::memcpy(header + 4, fields, sizeof fields);
    std::memcpy(header + 84, "DXT1", 4);
    std::string file = path("stone.dds");
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<char*>(header), 128).write("\0\0\0\0\0\0\0\0", 8);
    int32_t texture = _floadtexture(S(file), 1);
    ASSERT_NE(texture, 0);
    EXPECT_EQ(_ftexturewidth(texture), 4);
    EXPECT_EQ(_ftexturebuffer(texture, 0), 0);
    // Strips need pixels to split.
    EXPECT_EQ(_floadanimtexture(S(file), 1, 2, 2, 0, 1), 0);
}

TEST_F(Textures, CubeFaceAndModeGoToFrameZero) {
    int32_t cube = _fcreatetexture(8, 8, 128, 1);
    gxCanvas* canvas = repOf(cube).frame(0);
    EXPECT_EQ(canvas->cubeMode(), 1);
    _fsetcubemode(cube, 6);
    EXPECT_EQ(canvas->cubeMode(), 6);
    // Drawing through the buffer goes to the selected face.
    auto* buffer = fromHandle<gxCanvas>(_ftexturebuffer(cube, 0));
    _fsetcubeface(cube, 4);
    buffer->pokePixel(0, 0, 0xFF00FF00);
    _fsetcubeface(cube, 1);
    EXPECT_EQ(buffer->peekPixel(0, 0) & 0xFFFFFF, 0u);
    _fsetcubeface(cube, 4);
    EXPECT_EQ(buffer->peekPixel(0, 0) & 0xFFFFFF, 0x00FF00u);
    _fsetcubeface(cube, 9);  // not a face: nothing changes
    EXPECT_EQ(buffer->peekPixel(0, 0) & 0xFFFFFF, 0x00FF00u);
    TextureStageState stage = textureStage(repOf(cube), 0);
    EXPECT_TRUE(stage.cube);
    EXPECT_EQ(stage.source, TextureCoordSource::kCameraSpaceNormal);
    EXPECT_EQ(stage.transformKind, TextureTransformKind::kNone);
}

TEST_F(Textures, ModeChangeFreesTheCanvasesAndKeepsTheHandles) {
    std::string file = writeStrip("a.png", 8, 8, {0x808080});
    int32_t loaded = _floadtexture(S(file), 1);
    int32_t created = _fcreatetexture(8, 8, 0, 1);
    gxCanvas* drawnInto = repOf(created).frame(0);
    selectBuffer(drawnInto);
    for (auto release : graphicsState().beforeModeChange) release();
    EXPECT_EQ(graphicsState().buffer, display_->backCanvas());
    EXPECT_FALSE(display_->ownsCanvas(drawnInto));
    EXPECT_EQ(repOf(loaded).frameCount(), 0);
    EXPECT_EQ(_ftexturebuffer(created, 0), 0);
    EXPECT_EQ(_factivetextures(), 2);
    // The next load reads the file again.
    int32_t reloaded = _floadtexture(S(file), 1);
    EXPECT_EQ(repOf(reloaded).frameCount(), 1);
    EXPECT_EQ(_factivetextures(), 3);
    _ffreetexture(loaded);
    EXPECT_EQ(_factivetextures(), 2);
}

}  // namespace
}  // namespace tarsk::test
