// Canvases from picture files (written here through the image library) and DDS files.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "runtime/graphics/canvas_flags.h"
#include "runtime/graphics/dds_file.h"
#include "runtime/graphics/gx_canvas.h"
#include "tests/graphics/display_fixture.h"

using namespace tarsk;

namespace {

std::string tempPath(const std::string& name) {
    auto folder = std::filesystem::temp_directory_path() / ("tarsk_graphics_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

// Writes a picture of the given ARGB pixels (top row first) at 24 or 32 bits.
std::string writePicture(const std::string& name, FREE_IMAGE_FORMAT type, int bpp, int width, int height,
                         const std::vector<uint32_t>& argb) {
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, bpp);
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint32_t p = argb[size_t(y * width + x)];
            BYTE* px = row + x * (bpp / 8);
            px[FI_RGBA_BLUE] = BYTE(p), px[FI_RGBA_GREEN] = BYTE(p >> 8), px[FI_RGBA_RED] = BYTE(p >> 16);
            if (bpp == 32) px[FI_RGBA_ALPHA] = BYTE(p >> 24);
        }
    }
    std::string path = tempPath(name);
    EXPECT_TRUE(FreeImage_Save(type, bitmap, path.c_str(), 0));
    FreeImage_Unload(bitmap);
    return path;
}

class PictureLoading : public test::DisplayTest {};

TEST_F(PictureLoading, AlphaRulesByFlags) {
    // Grey 0x306090 (brightness 0x60), black, white, grey: a power-of-two width, unscaled.
    std::vector<uint32_t> pixels = {0xFF306090, 0xFF000000, 0xFFFFFFFF, 0xFF306090};
    std::string plain = writePicture("plain.png", FIF_PNG, 24, 4, 1, pixels);
    struct Case {
        int32_t flags;
        uint32_t grey, black;
    } cases[] = {
        {0, 0xFF306090, 0xFF000000},
        {CV_ALPHA, 0x60FFFFFF, 0x00FFFFFF},
        {CV_ALPHA | CV_COLOUR, 0x60306090, 0x00000000},
        {CV_ALPHA | CV_MASKED, 0xFF306090, 0x00000000},
    };
    for (const Case& c : cases) {
        gxCanvas* canvas = display_->readCanvasFile(plain, c.flags | CV_TEXTURE);
        ASSERT_NE(canvas, nullptr) << c.flags;
        ASSERT_EQ(canvas->format().alphaMask() != 0, (c.flags & CV_ALPHA) != 0) << c.flags;
        EXPECT_EQ(canvas->peekPixel(0, 0), c.grey) << c.flags;
        EXPECT_EQ(canvas->peekPixel(1, 0), c.black) << c.flags;
        display_->dropCanvas(canvas);
    }
    // A picture with alpha of its own keeps it under CV_ALPHA, and loses it without.
    std::string withAlpha = writePicture("alpha.png", FIF_PNG, 32, 1, 1, {0x40102030});
    gxCanvas* kept = display_->readCanvasFile(withAlpha, CV_TEXTURE | CV_COLOUR | CV_ALPHA);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->peekPixel(0, 0), 0x40102030u);
    gxCanvas* opaque = display_->readCanvasFile(withAlpha, 0);
    ASSERT_NE(opaque, nullptr);
    EXPECT_EQ(opaque->peekPixel(0, 0), 0xFF102030u);
}

TEST_F(PictureLoading, TextureSizesScaleByNearestNeighbour) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) pixels.push_back(0xFF000000u | uint32_t(x) << 8 | uint32_t(y));
    std::string path = writePicture("three.bmp", FIF_BMP, 24, 3, 3, pixels);
    gxCanvas* texture = display_->readCanvasFile(path, CV_TEXTURE | CV_COLOUR);
    ASSERT_NE(texture, nullptr);
    ASSERT_EQ(texture->width(), 4);
    ASSERT_EQ(texture->height(), 4);
    // Destination column j takes source column j * 3 / 4: 0, 0, 1, 2.
    const int source[4] = {0, 0, 1, 2};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(texture->peekPixel(x, y), 0xFF000000u | uint32_t(source[x]) << 8 | uint32_t(source[y]));
    gxCanvas* picture = display_->readCanvasFile(path, 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width(), 3);
    EXPECT_EQ(picture->peekPixel(2, 1), 0xFF000201u);
}

TEST_F(PictureLoading, TypeFromContentsThenExtensionElseFailure) {
    std::string bmp = writePicture("named.bmp", FIF_BMP, 24, 1, 1, {0xFF010203});
    std::string renamed = tempPath("really_a_bmp.png");
    std::filesystem::copy_file(bmp, renamed, std::filesystem::copy_options::overwrite_existing);
    gxCanvas* canvas = display_->readCanvasFile(renamed, 0);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->peekPixel(0, 0), 0xFF010203u);
    std::string junk = tempPath("junk.xyz");
    std::ofstream(junk) << "not a picture";
    EXPECT_EQ(display_->readCanvasFile(junk, 0), nullptr);
    EXPECT_EQ(display_->readCanvasFile(tempPath("missing.png"), 0), nullptr);
}

// A DDS file: header, then the given number of block bytes.
std::string writeDds(const std::string& name, const char* code, uint32_t width, uint32_t height, uint32_t mipmaps,
                     size_t blockBytes) {
    uint8_t header[128] = {};
    std::memcpy(header, "DDS ", 4);
    auto put = [&](size_t at, uint32_t v) { std::memcpy(header + at, &v, 4); };
    put(4, 124);
    put(8, 0x1007 | (mipmaps ? 0x20000 : 0));
    put(12, height);
    put(16, width);
    put(28, mipmaps);
    put(76, 32);
    put(80, 4);
    std::memcpy(header + 84, code, 4);
    std::string path = tempPath(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    std::vector<char> blocks(blockBytes, '\x5A');
    out.write(blocks.data(), std::streamsize(blocks.size()));
    return path;
}

TEST_F(PictureLoading, DdsLevelsAreReadWholeAndShortFilesRefused) {
    // 8 x 8 DXT5 with 4 levels: 4 + 1 + 1 + 1 blocks of 16 bytes.
    std::string whole = writeDds("whole.dds", "DXT5", 8, 8, 4, 7 * 16);
    gxCanvas* canvas = display_->readCanvasFile(whole, 0);
    ASSERT_NE(canvas, nullptr);
    Surface& store = canvas->currentSurface();
    ASSERT_EQ(store.levels.size(), 4u);
    EXPECT_EQ(store.levels[0].bytes.size(), 64u);
    EXPECT_EQ(store.levels[3].bytes.size(), 16u);
    EXPECT_FALSE(canvas->beginAccess());  // no pixel access on a compressed store
    EXPECT_EQ(canvas->peekPixel(0, 0), 0u);

    EXPECT_EQ(display_->readCanvasFile(writeDds("short.dds", "DXT5", 8, 8, 4, 7 * 16 - 1), 0), nullptr);
    EXPECT_EQ(display_->readCanvasFile(writeDds("dxt1.dds", "DXT1", 4, 4, 0, 8), 0) != nullptr, true);
    EXPECT_EQ(display_->readCanvasFile(writeDds("bad_code.dds", "ATI2", 4, 4, 0, 16), 0), nullptr);
    EXPECT_EQ(display_->readCanvasFile(writeDds("huge.dds", "DXT1", 1u << 30, 4, 0, 8), 0), nullptr);
}

TEST(DdsPath, OnlyAFirstDotDdsAtTheEndCounts) {
    EXPECT_TRUE(isDdsPath("textures/stone.dds"));
    EXPECT_FALSE(isDdsPath("pic.dds.dds"));
    EXPECT_FALSE(isDdsPath("STONE.DDS"));
    EXPECT_FALSE(isDdsPath("stone.dds.png"));
}

}  // namespace
