// The mode argument, the mode list, the full-screen depth and the texture formats.
#include <gtest/gtest.h>

#include "runtime/graphics/display_modes.h"
#include "runtime/graphics/graphics_host.h"
#include "runtime/graphics/texture_formats.h"

using namespace tarsk;

namespace {

TEST(ModeArgument, MapsToFlagsOrIsIllegal) {
    constexpr int W = GRAPHICS_WINDOWED, S = GRAPHICS_SCALED, A = GRAPHICS_AUTOSUSPEND, D = GRAPHICS_3D;
    struct Case {
        int32_t mode;
        bool graphics3D, debug, desktop3D;
        int32_t flags;
    } cases[] = {
        {0, false, true, false, W},       {0, false, false, true, 0},     {1, false, true, true, 0},
        {2, false, false, false, W},      {3, false, false, false, W | S}, {6, false, false, false, W | A},
        {7, false, false, false, W | S | A}, {0, true, true, true, W | D}, {0, true, true, false, D},
        {0, true, false, true, D},        {3, true, false, false, W | S | D},
        {4, false, true, true, -1},       {5, true, true, true, -1},      {-1, false, true, true, -1},
        {8, false, true, true, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(graphicsFlagsFor(c.mode, c.graphics3D, c.debug, c.desktop3D), c.flags)
            << c.mode << " 3d=" << c.graphics3D << " debug=" << c.debug << " desktop3d=" << c.desktop3D;
}

TEST(ModeList, PlatformSizesThenStandardSizesUpToTheDesktopAtThreeDepths) {
    std::vector<gxMode> modes = buildModeList({{1000, 700}, {640, 480}}, {1024, 768}, {16, 32});
    ASSERT_GE(modes.size(), 6u);
    EXPECT_EQ(modes[0].width, 1000);
    EXPECT_EQ(modes[0].depth, 16);
    EXPECT_TRUE(modes[0].is3D);
    EXPECT_EQ(modes[1].depth, 24);
    EXPECT_FALSE(modes[1].is3D);  // not a render depth
    EXPECT_EQ(modes[2].depth, 32);
    EXPECT_EQ(modes[3].width, 640);
    int count640 = 0;
    for (const gxMode& m : modes) {
        EXPECT_LE(m.width, 1024);
        EXPECT_LE(m.height, 768);
        if (m.width == 640 && m.height == 480) ++count640;
    }
    EXPECT_EQ(count640, 3);  // listed once per depth
}

TEST(FullScreenDepth, ThreeDTakesTheDeepestRenderDepthTwoDTheFirstThatSets) {
    gxDriver driver;
    driver.renderDepths = {16, 24, 32};
    driver.modes = buildModeList({}, {800, 600}, driver.renderDepths);
    EXPECT_EQ(GraphicsHost::chooseFullScreenDepth(driver, 640, 480, true), 32);
    EXPECT_EQ(GraphicsHost::chooseFullScreenDepth(driver, 640, 480, false), 16);
    EXPECT_EQ(GraphicsHost::chooseFullScreenDepth(driver, 1024, 768, false), 0);
    driver.renderDepths = {};
    EXPECT_EQ(GraphicsHost::chooseFullScreenDepth(driver, 640, 480, true), 0);
}

TEST(TextureFormats, SetsChosenByMeasureAndSize) {
    std::vector<gxPixelFormat> offered;
    for (PixelLayout layout : kTextureLayouts) offered.push_back(gxPixelFormat::of(layout));
    auto is = [](const gxPixelFormat& f, PixelLayout layout) { return f == gxPixelFormat::of(layout); };

    TextureFormatSet deep = chooseTextureFormats(offered, gxPixelFormat::of(PixelLayout::kX8R8G8B8), false);
    EXPECT_TRUE(is(deep[kColourTexture], PixelLayout::kX8R8G8B8));
    EXPECT_TRUE(is(deep[kAlphaTexture], PixelLayout::kA8R8G8B8));
    EXPECT_TRUE(is(deep[kColourAlphaTexture], PixelLayout::kA8R8G8B8));
    EXPECT_TRUE(is(deep[kMaskedTexture], PixelLayout::kA8R8G8B8));

    // On a 16-bit front buffer set 0 stays within 16 bits; set 1 goes on to 32.
    gxPixelFormat front16 = gxPixelFormat::of(PixelLayout::kR5G6B5);
    TextureFormatSet low = chooseTextureFormats(offered, front16, false);
    EXPECT_TRUE(is(low[kColourTexture], PixelLayout::kR5G6B5));
    EXPECT_TRUE(is(low[kAlphaTexture], PixelLayout::kA4R4G4B4));
    EXPECT_TRUE(is(low[kColourAlphaTexture], PixelLayout::kA4R4G4B4));
    EXPECT_TRUE(is(low[kMaskedTexture], PixelLayout::kA8R8G8B8));  // masked ignores the limit
    TextureFormatSet high = chooseTextureFormats(offered, front16, true);
    EXPECT_TRUE(is(high[kColourTexture], PixelLayout::kX8R8G8B8));
    EXPECT_TRUE(is(high[kColourAlphaTexture], PixelLayout::kA8R8G8B8));

    // Nothing offered: the front format.
    EXPECT_TRUE(is(chooseTextureFormats({}, front16, false)[kAlphaTexture], PixelLayout::kR5G6B5));
}

TEST(TextureSize, PowersOfTwoWithinTheLimits) {
    struct Case {
        int32_t w, h, ew, eh;
    } cases[] = {{3, 3, 4, 4}, {1, 1, 1, 1}, {100, 20, 128, 32}, {5000, 1, kTextureMaxSize, 1}, {0, 0, 1, 1}};
    for (const Case& c : cases) {
        TextureSize s = adjustTextureSize(c.w, c.h);
        EXPECT_EQ(s.width, c.ew) << c.w;
        EXPECT_EQ(s.height, c.eh) << c.h;
    }
}

}  // namespace
