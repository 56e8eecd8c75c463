// The buffer and drawing commands run as a program without a window: colours through the
// pixel format, buffer selection, the fast pixel commands' bounds, rectangle copies, and
// buffers saved as BMP files and loaded back.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/arena.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/host/runtime_interface.h"
#include "runtime/language/strings.h"
#include "tarsk_commands.h"
#include "tests/support/command_calls.h"
#include "tests/support/program_frame.h"

using namespace tarsk;

namespace {

std::string runWithGraphics(std::function<void()> test, bool debug = true) {
    return test::runAsProgram(test, {.modules = {"basic", "graphics"}, .debugChecks = debug});
}

using test::errorOf;

gxDisplay& display() { return *graphicsState().display; }
int32_t newBuffer(int32_t width, int32_t height) { return handleOf(display().makeCanvas(width, height, 0)); }
gxCanvas& canvasOf(int32_t handle) { return *fromHandle<gxCanvas>(handle); }
tbString* text(const std::string& s) { return stringNew(s); }

std::string tempFile(const char* name) { return testing::TempDir() + "/tarsk_drawing_" + name; }

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DrawingCommands, ColourIsReadBackThroughThePixelFormat) {
    runWithGraphics([] {
        _fcolor(300, 0, 0);  // the bit above red spills into alpha, which the canvas forces
        EXPECT_EQ(_fcolorred(), 44);
        EXPECT_EQ(graphicsState().colour, 0x12C0000u);
        _fcolor(1, 2, 3);
        EXPECT_EQ(_fcolorgreen(), 2);
        EXPECT_EQ(_fcolorblue(), 3);
        _fgraphics(640, 480, 16, 1);
        _fcolor(255, 255, 255);
        EXPECT_EQ(_fcolorred(), 248);
        EXPECT_EQ(_fcolorgreen(), 252);
        EXPECT_EQ(_fcolorblue(), 248);
        _fclscolor(0, 0, 255);
        _fcls();
        EXPECT_EQ(uint32_t(_freadpixel(5, 5, 0)), 0xFF0000F8u);
        _fgetcolor(5, 5);
        EXPECT_EQ(_fcolorblue(), 248);
        _fplot(1, 1);
        EXPECT_EQ(uint32_t(_freadpixel(1, 1, 0)), 0xFF0000F8u);
    });
}

TEST(DrawingCommands, SetBufferGivesTheStateAndResetsOriginAndViewport) {
    runWithGraphics([] {
        int32_t image = newBuffer(20, 10);
        _fcolor(0, 255, 0);
        _fclscolor(255, 0, 0);
        _fsetbuffer(image);
        EXPECT_EQ(_fgraphicsbuffer(), image);
        _fcls();
        EXPECT_EQ(uint32_t(_freadpixel(19, 9, 0)), 0xFFFF0000u);
        _forigin(5, 5);
        _fviewport(0, 0, 8, 8);
        _fplot(0, 0);
        EXPECT_EQ(uint32_t(_freadpixel(0, 0, 0)), 0xFF00FF00u);  // pixel 5, 5
        _fsetbuffer(image);  // the same buffer again: origin and viewport reset
        EXPECT_EQ(canvasOf(image).originX(), 0);
        EXPECT_EQ(canvasOf(image).viewport().right, 20);
        _frect(0, 0, 20, 10, 1);
        EXPECT_EQ(uint32_t(_freadpixel(19, 9, 0)), 0xFF00FF00u);
        _fsetbuffer(_ffrontbuffer());
        EXPECT_EQ(_fgraphicsbuffer(), _ffrontbuffer());
        EXPECT_EQ(_fbackbuffer(), handleOf(display().backCanvas()));
        // Handles are checked whether or not debug checks are on.
        EXPECT_EQ(errorOf([] { _fsetbuffer(0); }), "Buffer does not exist");
        EXPECT_EQ(errorOf([] { _freadpixel(0, 0, 12345); }), "Buffer does not exist");
    });
    runWithGraphics([] { EXPECT_EQ(errorOf([] { _fcopyrect(0, 0, 1, 1, 0, 0, 0, 12345); }), "Buffer does not exist"); },
                    false);
}

TEST(DrawingCommands, FastPixelCommandsDropWhatLiesOutsideOrUnlocked) {
    runWithGraphics([] {
        int32_t buffer = newBuffer(4, 3);
        _fwritepixelfast(1, 1, int32_t(0xFF112233), buffer);  // not locked: dropped
        EXPECT_EQ(uint32_t(_freadpixel(1, 1, buffer)), 0xFF000000u);
        _flockbuffer(buffer);
        EXPECT_EQ(_freadpixelfast(1, 1, buffer), int32_t(0xFF000000u));
        const std::pair<int32_t, int32_t> outside[] = {{-1, 0}, {4, 0}, {0, -1}, {0, 3}, {INT32_MIN, 0}, {0, INT32_MAX}};
        for (auto [x, y] : outside) {
            _fwritepixelfast(x, y, -1, buffer);
            EXPECT_EQ(_freadpixelfast(x, y, buffer), 0) << x << "," << y;
        }
        _fwritepixelfast(3, 2, int32_t(0xFF445566), buffer);
        EXPECT_EQ(uint32_t(_freadpixelfast(3, 2, buffer)), 0xFF445566u);
        int32_t other = newBuffer(4, 3);
        _flockbuffer(other);
        _fcopypixelfast(3, 2, buffer, 0, 0, other);
        _fcopypixelfast(3, 3, buffer, 1, 0, other);  // source outside: dropped
        _funlockbuffer(other);
        _funlockbuffer(buffer);
        EXPECT_EQ(uint32_t(_freadpixel(0, 0, other)), 0xFF445566u);
        EXPECT_EQ(uint32_t(_freadpixel(1, 0, other)), 0xFF000000u);
        for (int x = 0; x < 4; ++x)  // nothing of the rejected writes landed anywhere
            for (int y = 0; y < 3; ++y)
                EXPECT_EQ(uint32_t(_freadpixel(x, y, buffer)), x == 3 && y == 2 ? 0xFF445566u : 0xFF000000u);
        // Checked copies follow each canvas's origin and viewport.
        canvasOf(buffer).moveOrigin(1, 1);
        _fcopypixel(2, 1, buffer, 2, 2, other);
        EXPECT_EQ(uint32_t(_freadpixel(2, 2, other)), 0xFF445566u);
    });
}

TEST(DrawingCommands, CopyRectIsSolidAndAddsTheDestinationOrigin) {
    runWithGraphics([] {
        int32_t source = newBuffer(4, 4), dest = newBuffer(8, 8);
        gxCanvas& s = canvasOf(source);
        s.setKeyColour(0xFF0000);
        s.setInk(0xFFFF0000);
        s.drawRect(0, 0, 4, 4, true);
        s.setInk(0xFF0000FF);
        s.dot(1, 1);
        canvasOf(dest).moveOrigin(2, 2);
        _fcopyrect(0, 0, 3, 3, 1, 1, source, dest);
        canvasOf(dest).moveOrigin(0, 0);
        EXPECT_EQ(canvasOf(dest).peekPixel(3, 3), 0xFFFF0000u);  // the key colour is copied too
        EXPECT_EQ(canvasOf(dest).peekPixel(4, 4), 0xFF0000FFu);
        EXPECT_EQ(canvasOf(dest).peekPixel(6, 6), 0xFF000000u);
    });
}

// A buffer of distinct colours: pixel (x, y) = x * 0x40 red, y * 0x40 green, 0x11 blue.
void paint(gxCanvas& c) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) c.pokePixel(x, y, 0xFF000011u | uint32_t(x * 0x40) << 16 | uint32_t(y * 0x40) << 8);
}

TEST(DrawingCommands, SaveBufferWritesTheBmpByteForByte) {
    runWithGraphics([] {
        int32_t wide = newBuffer(3, 1);
        paint(canvasOf(wide));
        canvasOf(wide).moveOrigin(1, 1);  // neither origin nor viewport applies
        canvasOf(wide).clipTo(0, 0, 1, 1);
        std::string file = tempFile("3x1.bmp");
        EXPECT_EQ(_fsavebuffer(wide, text(file)), 1);
        const std::vector<uint8_t> want3x1 = {
            'B', 'M', 66, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                                  // file header
            40, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0,          // info header
            0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                                  //
            0x11, 0, 0, 0x11, 0, 0x40, 0x11, 0, 0x80, 0, 0, 0};                              // one row, padded
        EXPECT_EQ(fileBytes(file), want3x1);

        int32_t square = newBuffer(2, 2);
        paint(canvasOf(square));
        file = tempFile("2x2.bmp");
        EXPECT_EQ(_fsavebuffer(square, text(file)), 1);
        std::vector<uint8_t> bytes = fileBytes(file);
        ASSERT_EQ(bytes.size(), 54u + 2 * 8);
        EXPECT_EQ(bytes[2], 70);
        EXPECT_EQ(bytes[22], 2);  // height positive: bottom-up
        const std::vector<uint8_t> rows(bytes.begin() + 54, bytes.end());
        EXPECT_EQ(rows, (std::vector<uint8_t>{0x11, 0x40, 0, 0x11, 0x40, 0x40, 0, 0, 0x11, 0, 0, 0x11, 0, 0x40, 0, 0}));

        // The image library reads it as the same picture.
        FreeImage_Initialise(FALSE);
        FIBITMAP* bitmap = FreeImage_Load(FIF_BMP, file.c_str(), 0);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(FreeImage_GetWidth(bitmap), 2u);
        EXPECT_EQ(FreeImage_GetBPP(bitmap), 24u);
        RGBQUAD top;
        FreeImage_GetPixelColor(bitmap, 1, 1, &top);  // the library counts rows from the bottom
        EXPECT_EQ(top.rgbRed, 0x40);
        EXPECT_EQ(top.rgbGreen, 0);
        EXPECT_EQ(top.rgbBlue, 0x11);
        FreeImage_Unload(bitmap);
        FreeImage_DeInitialise();
    });
}

TEST(DrawingCommands, SaveBufferFailsWithoutLeavingAFile) {
    runWithGraphics([] {
        std::string folder = testing::TempDir() + "/tarsk_drawing_folder";
        std::filesystem::create_directories(folder);
        EXPECT_EQ(_fsavebuffer(0, text(folder)), 0);  // the final rename fails
        EXPECT_EQ(_fsavebuffer(0, text(folder + "/missing/x.bmp")), 0);
        EXPECT_TRUE(std::filesystem::is_empty(folder));
        for (const auto& entry : std::filesystem::directory_iterator(testing::TempDir()))
            EXPECT_EQ(entry.path().filename().string().find("tarsk_drawing_folder."), std::string::npos) << entry.path();
        std::filesystem::remove_all(folder);
    });
}

TEST(DrawingCommands, LoadBufferRoundTripsAndStretches) {
    runWithGraphics([] {
        int32_t saved = newBuffer(5, 4);
        paint(canvasOf(saved));
        std::string file = tempFile("roundtrip.bmp");
        ASSERT_EQ(_fsavebuffer(saved, text(file)), 1);
        int32_t loaded = newBuffer(5, 4);
        canvasOf(loaded).moveOrigin(3, 3);
        EXPECT_EQ(_floadbuffer(loaded, text(file)), 1);
        EXPECT_EQ(canvasOf(loaded).originX(), 3);  // put back
        canvasOf(loaded).moveOrigin(0, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(canvasOf(loaded).peekPixel(x, y), canvasOf(saved).peekPixel(x, y));

        // 100 x 100, left half red, right half blue, into 200 x 50.
        int32_t picture = newBuffer(100, 100);
        gxCanvas& p = canvasOf(picture);
        p.setInk(0xFFFF0000);
        p.drawRect(0, 0, 50, 100, true);
        p.setInk(0xFF0000FF);
        p.drawRect(50, 0, 50, 100, true);
        file = tempFile("halves.bmp");
        ASSERT_EQ(_fsavebuffer(picture, text(file)), 1);
        int32_t stretched = newBuffer(200, 50);
        EXPECT_EQ(_floadbuffer(stretched, text(file)), 1);
        gxCanvas& s = canvasOf(stretched);
        EXPECT_EQ(s.peekPixel(10, 25), 0xFFFF0000u);
        EXPECT_EQ(s.peekPixel(98, 25), 0xFFFF0000u);
        EXPECT_EQ(s.peekPixel(101, 25), 0xFF0000FFu);
        EXPECT_EQ(s.peekPixel(190, 25), 0xFF0000FFu);
        EXPECT_EQ(_floadbuffer(stretched, text(tempFile("missing.bmp"))), 0);
    });
}

}  // namespace
