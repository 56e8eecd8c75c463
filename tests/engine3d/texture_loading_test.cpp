// Loading textures: the cache, name filters, the texture path, animation and cube strips.
#include "runtime/engine3d/texture_names.h"
#include "tests/engine3d/texture_fixture.h"

namespace tarsk::test {
namespace {

using Textures = TextureWorld;

constexpr uint32_t kRed = 0x800000, kGreen = 0x008000, kBlue = 0x000080;
constexpr uint32_t kYellow = 0x808000, kCyan = 0x008080, kMagenta = 0x800080;

TEST_F(Textures, SameNameAndParametersShareOneEntry) {
    std::string file = writeStrip("a.png", 8, 8, {kRed});
    EXPECT_EQ(_factivetextures(), 0);
    int32_t first = _floadtexture(S(file), 1);
    int32_t second = _floadtexture(S(file), 1);
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(_factivetextures(), 1);
    EXPECT_EQ(repOf(first).frame(0), repOf(second).frame(0));
    // Other flags or other animation parameters load again.
    int32_t masked = _floadtexture(S(file), 4);
    int32_t strip = _floadanimtexture(S(file), 1, 8, 8, 0, 1);
    EXPECT_EQ(_factivetextures(), 3);
    EXPECT_NE(repOf(masked).frame(0), repOf(first).frame(0));
    // The entry lives while a handle refers to it; its canvas goes with it.
    gxCanvas* canvas = repOf(first).frame(0);
    _ffreetexture(first);
    EXPECT_EQ(_factivetextures(), 3);
    _ffreetexture(second);
    EXPECT_EQ(_factivetextures(), 2);
    EXPECT_FALSE(display_->ownsCanvas(canvas));
    _ffreetexture(masked);
    _ffreetexture(strip);
    EXPECT_EQ(_factivetextures(), 0);
}

TEST_F(Textures, FiltersAddFlagsByLowerCasedName) {
    std::string plain = writeStrip("plain.png", 4, 4, {kRed});
    std::string marked = writeStrip("Wall_M.png", 4, 4, {kRed});
    int32_t filtered = _floadtexture(S(plain), 2);
    EXPECT_EQ(repOf(filtered).flags(), 2 | 9 | 65536);
    EXPECT_TRUE(repOf(filtered).hasAlpha());
    _fcleartexturefilters();
    int32_t unfiltered = _floadtexture(S(plain), 2);
    EXPECT_EQ(repOf(unfiltered).flags(), 2 | 65536);
    EXPECT_EQ(_factivetextures(), 2);
    _ftexturefilter(S("_M"), 4);
    int32_t masked = _floadtexture(S(marked), 0);
    // Masked: colour and alpha too, but it does not count as having alpha.
    EXPECT_EQ(repOf(masked).flags(), 4 | 1 | 2 | 65536);
    EXPECT_FALSE(repOf(masked).hasAlpha());
    EXPECT_EQ(repOf(_floadtexture(S(plain), 0)).flags(), 65536);
    // A new world brings back the single default filter.
    tarsk3d_destroy();
    ASSERT_TRUE(tarsk3d_create());
    EXPECT_EQ(repOf(_floadtexture(S(marked), 0)).flags(), 9 | 65536);
}

TEST_F(Textures, TexturePathIsTriedFirstWithTheFileNamePartOnly) {
    writeStrip("model/Wood.PNG", 4, 4, {kRed});
    std::string other = writeStrip("other/wood.png", 4, 4, {kGreen});
    std::string stone = writeStrip("other/stone.png", 4, 4, {kBlue});
    setTexturePath(path("model"));
    std::string lowerModel = lowerCased(path("model"));
    int32_t wood = _floadtexture(S(other), 1);
    EXPECT_EQ(rgbAt(wood, 0, 0, 0), kRed);
    EXPECT_EQ(text(_ftexturename(wood)), lowerModel + "\\wood.png");
    // Not under the texture path: the name as given, lower-cased.
    int32_t fallback = _floadtexture(S(path("OTHER/Stone.png")), 1);
    EXPECT_EQ(rgbAt(fallback, 0, 0, 0), kBlue);
    EXPECT_EQ(text(_ftexturename(fallback)), lowerCased(stone));
    setTexturePath("");
    int32_t own = _floadtexture(S(other), 1);
    EXPECT_EQ(rgbAt(own, 0, 0, 0), kGreen);
    // A leading ".\" is dropped before the look-up.
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    int32_t relative = _floadtexture(S(".\\Other\\wood.png"), 1);
    std::filesystem::current_path(before);
    ASSERT_NE(relative, 0);
    EXPECT_EQ(text(_ftexturename(relative)), "other\\wood.png");
    EXPECT_EQ(rgbAt(relative, 0, 0, 0), kGreen);
}

TEST_F(Textures, AnimationStripsLoadOnlyWhenTheFramesFit) {
    std::string row = writeStrip("row.png", 64, 64, {kRed, kGreen, kBlue, kYellow});
    std::string grid = writeCells("grid.png", 64, 64, 2, {kRed, kGreen, kBlue, kYellow});
    struct Case {
        std::string file;
        int32_t first, count;
        std::vector<uint32_t> frames;  // empty: no texture
    } cases[] = {
        {row, 2, 2, {kBlue, kYellow}},
        {row, 2, 3, {}},
        {row, 0, 4, {kRed, kGreen, kBlue, kYellow}},
        {grid, 1, 2, {kGreen, kBlue}},  // the second square of row 0, then row 1 from its start
        {grid, 3, 1, {kYellow}},
        {grid, 4, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " from " + std::to_string(c.first) + " count " + std::to_string(c.count));
        int32_t texture = _floadanimtexture(S(c.file), 1, 64, 64, c.first, c.count);
        if (c.frames.empty()) {
            EXPECT_EQ(texture, 0);
            continue;
        }
        ASSERT_NE(texture, 0);
        ASSERT_EQ(repOf(texture).frameCount(), int32_t(c.frames.size()));
        for (size_t f = 0; f < c.frames.size(); ++f) {
            EXPECT_EQ(rgbAt(texture, int32_t(f), 0, 0), c.frames[f]) << f;
            EXPECT_EQ(rgbAt(texture, int32_t(f), 63, 63), c.frames[f]) << f;
        }
    }
    // Without valid animation parameters the whole picture is one frame.
    int32_t whole = _floadanimtexture(S(row), 1, 0, 64, 0, 1);
    ASSERT_NE(whole, 0);
    EXPECT_EQ(_ftexturewidth(whole), 256);
    EXPECT_EQ(repOf(whole).frameCount(), 1);
}

TEST_F(Textures, CubeStripsSplitIntoSixFaces) {
    std::string fits = writeStrip("cube.png", 100, 100, {kRed, kGreen, kBlue, kYellow, kCyan, kMagenta});
    int32_t cube = _floadtexture(S(fits), 128);
    ASSERT_NE(cube, 0);
    ASSERT_EQ(repOf(cube).frameCount(), 1);
    gxCanvas* canvas = repOf(cube).frame(0);
    EXPECT_EQ(_ftexturewidth(cube), 128);  // 100 rounded up for the texture
    const uint32_t faces[] = {kRed, kGreen, kBlue, kYellow, kCyan, kMagenta};
    // Face 1 is current after loading.
    EXPECT_EQ(canvas->peekPixel(0, 0) & 0xFFFFFF, kGreen);
    for (int32_t face = 0; face < 6; ++face) {
        _fsetcubeface(cube, face);
        EXPECT_EQ(canvas->peekPixel(0, 0) & 0xFFFFFF, faces[face]) << face;
        EXPECT_EQ(canvas->peekPixel(99, 99) & 0xFFFFFF, faces[face]) << face;
        EXPECT_EQ(canvas->peekPixel(100, 0) & 0xFFFFFF, 0u) << face;  // beyond the face's 100 x 100
    }
    std::string off = path("off.png");
    {
        FIBITMAP* bitmap = FreeImage_Allocate(601, 100, 24);
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, bitmap, off.c_str(), 0));
        FreeImage_Unload(bitmap);
    }
    EXPECT_EQ(_floadtexture(S(off), 128), 0);
    EXPECT_EQ(_floadtexture(S(path("missing.png")), 1), 0);
    EXPECT_EQ(_factivetextures(), 1);
}

}  // namespace
}  // namespace tarsk::test
