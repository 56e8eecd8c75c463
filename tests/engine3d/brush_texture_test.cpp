// Brushes with textures made on a display: the effective blend from alpha textures, the
// masked-texture effect bit, texture settings read at render time, and LoadBrush.
#include "runtime/engine3d/brush_registry.h"
#include "tests/engine3d/texture_fixture.h"

namespace tarsk::test {
namespace {

using BrushTextures = TextureWorld;

const Brush& brushOf(int32_t handle) { return checkedBrush(handle)->brush; }

TEST_F(BrushTextures, AlphaTexturesDecideTheEffectiveBlend) {
    int32_t alpha = _fcreatetexture(8, 8, 2, 1), plain = _fcreatetexture(8, 8, 1, 1);
    int32_t brush = _fcreatebrush(255, 255, 255);
    _fbrushtexture(brush, alpha, 0, 0);
    EXPECT_EQ(brushOf(brush).effectiveBlend(), kBlendAlpha);
    // Blend 0 looks at a lone slot 0 only; blend 1 at every used slot.
    _fbrushtexture(brush, plain, 0, 1);
    EXPECT_EQ(brushOf(brush).effectiveBlend(), 0);
    _fbrushblend(brush, kBlendAlpha);
    EXPECT_EQ(brushOf(brush).effectiveBlend(), kBlendAlpha);
    _fbrushtexture(brush, plain, 0, 0);
    EXPECT_EQ(brushOf(brush).effectiveBlend(), 0);
    _fbrushtexture(brush, alpha, 0, 1);
    EXPECT_EQ(brushOf(brush).effectiveBlend(), kBlendAlpha);
}

TEST_F(BrushTextures, MaskedFirstFrameSetsTheEffectBitAndTextureSettingsAreReadWhenDrawn) {
    int32_t masked = _fcreatetexture(8, 8, 4, 2);
    int32_t brush = _fcreatebrush(255, 255, 255);
    _fbrushtexture(brush, masked, 1, 0);
    const BrushRenderState& state = brushOf(brush).renderState();
    EXPECT_EQ(state.fx & kFxMaskedTexture, kFxMaskedTexture);
    EXPECT_EQ(state.effectiveBlend, 0);
    EXPECT_EQ(state.slots[0].canvas, checkedTexture(masked)->rep->frame(1));
    _ftextureblend(masked, 3);
    _ftexturecoords(masked, 1);
    EXPECT_EQ(brushOf(brush).renderState().slots[0].blend, 3);
    EXPECT_EQ(brushOf(brush).renderState().slots[0].coordinateSet, 1);
    // Equal values with another frame are another render state.
    int32_t other = _fcreatebrush(255, 255, 255);
    _fbrushtexture(other, masked, 0, 0);
    EXPECT_FALSE(brushOf(brush) == brushOf(other));
    _fbrushtexture(other, masked, 1, 0);
    EXPECT_TRUE(brushOf(brush) == brushOf(other));
}

TEST_F(BrushTextures, LoadBrushPutsFrameZeroInSlotZero) {
    std::string picture = writeCells("brush.png", 4, 4, 1, {0xFF0000});
    int32_t brush = _floadbrush(S(picture), 1, 2, 1);
    ASSERT_NE(brush, 0);
    const Brush& loaded = brushOf(brush);
    EXPECT_EQ(loaded.slotCount(), 1);
    ASSERT_NE(loaded.frameCanvas(0), nullptr);
    EXPECT_EQ(loaded.red(), 1.0f);
    EXPECT_NE(loaded.texture(0)->transform(), nullptr);  // scaled as ScaleTexture would
    int32_t texture = _fgetbrushtexture(brush, 0);
    EXPECT_EQ(checkedTexture(texture)->rep->frame(0), loaded.frameCanvas(0));
    EXPECT_EQ(_floadbrush(S(path("missing.png")), 1, 1, 1), 0);
}

}  // namespace
}  // namespace tarsk::test
