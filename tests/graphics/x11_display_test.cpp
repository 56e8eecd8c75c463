// On an X server of its own: what an outside screenshot tool sees of the window equals
// the pixels the program drew, for each display kind.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <functional>

#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_interface.h"
#include "tarsk_commands.h"
#include "tests/support/screenshot.h"
#include "tests/support/program_frame.h"

using namespace tarsk;
using tarsk::test::Screenshot;
using tarsk::test::takeScreenshot;

namespace {

void runWithGraphics(std::function<void()> test) {
    EXPECT_EQ(test::runAsProgram(test, {.modules = {"basic", "graphics"}, .debugChecks = false, .headless = false}),
              "");
}

// Colours every 5-6-5 store keeps exactly, in a pattern with an edge at each pixel.
uint32_t patternColour(int x, int y) {
    static const uint32_t colours[] = {0xFFF80000, 0xFF00FC00, 0xFF0000F8, 0xFFF8FCF8, 0xFF8040C8, 0xFF000000};
    return colours[size_t((x * 7 + y * 3 + (x * y) % 5) % 6)];
}

void drawPattern(gxCanvas& canvas) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) canvas.pokePixel(x, y, patternColour(x, y));
}

void settle(int milliseconds = 300) { ASSERT_TRUE(currentHost()->waitMillis(milliseconds)); }

// The first screenshot that satisfies `ready`, taken while the program keeps pumping its
// events.
Screenshot awaitScreenshot(const std::function<bool(const Screenshot&)>& ready) {
    return test::awaitScreenshot(ready, [] { currentHost()->waitMillis(30); });
}

// Screen position of the window's client area.
void clientOrigin(int& x, int& y) { SDL_GetWindowPosition(currentHost()->window(), &x, &y); }

// The pixels of the screenshot that differ from the picture pixel (x, y) shown at
// origin + scale * (x, y); the first few are reported when `report` is set.
int wrongPixels(const Screenshot& shot, gxCanvas& canvas, int originX, int originY, int scale, bool report) {
    int wrong = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            uint32_t want = canvas.peekPixel(x, y) & 0xFFFFFFu;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    if (shot.at(originX + x * scale + dx, originY + y * scale + dy) != want && wrong++ < 5 && report)
                        ADD_FAILURE() << "pixel " << x << "," << y << " shows " << std::hex
                                      << shot.at(originX + x * scale + dx, originY + y * scale + dy) << " not " << want;
        }
    }
    return wrong;
}

// Every picture pixel (x, y) appears at origin + scale * (x, y) once presented.
void expectShown(gxCanvas& canvas, int originX, int originY, int scale) {
    Screenshot shot = awaitScreenshot(
        [&](const Screenshot& s) { return wrongPixels(s, canvas, originX, originY, scale, false) == 0; });
    ASSERT_FALSE(shot.empty());
    EXPECT_EQ(wrongPixels(shot, canvas, originX, originY, scale, true), 0);
}

// The screen pixel (x, y) once presented.
uint32_t shownPixel(int x, int y, uint32_t want) {
    return awaitScreenshot([&](const Screenshot& s) { return s.at(x, y) == want; }).at(x, y);
}

TEST(X11Display, WindowShowsFrontDrawingAtOnceAndBackDrawingAfterFlip) {
    runWithGraphics([] {
        _fgraphics(200, 150, 0, 2);
        gxDisplay* display = graphicsState().display;
        drawPattern(*display->frontCanvas());  // the present check shows front drawing within 100 ms
        int x, y;
        clientOrigin(x, y);
        EXPECT_EQ(x, (800 - 200) / 2);
        EXPECT_EQ(y, (600 - 150) / 2);
        expectShown(*display->frontCanvas(), x, y, 1);

        uint32_t before = display->frontCanvas()->peekPixel(10, 10);
        display->backCanvas()->pokePixel(10, 10, 0xFF123456);
        settle();
        EXPECT_EQ(takeScreenshot().at(x + 10, y + 10), before & 0xFFFFFFu);
        _fflip(0);
        EXPECT_EQ(shownPixel(x + 10, y + 10, 0x123456u), 0x123456u);

        // A scaled window keeps the size it is shown at and stretches the picture to it.
        _fgraphics(100, 75, 0, 3);
        display = graphicsState().display;
        drawPattern(*display->frontCanvas());
        clientOrigin(x, y);
        expectShown(*display->frontCanvas(), x, y, 2);
    });
}

TEST(X11Display, FullScreenIsLetterboxedAndGammaIsAppliedWhenPresenting) {
    runWithGraphics([] {
        _fgraphics(400, 300, 16, 1);  // on the 800 x 600 screen: twice the size, no bars
        gxDisplay* display = graphicsState().display;
        EXPECT_EQ(_fgraphicsdepth(), 16);
        drawPattern(*display->backCanvas());
        _fflip(1);
        expectShown(*display->frontCanvas(), 0, 0, 2);

        for (int i = 0; i < 256; ++i) _fsetgamma(i, i, i, float(255 - i), float(i), float(i));
        _fupdategamma(0);
        uint32_t corner = display->frontCanvas()->peekPixel(0, 0);
        uint32_t cornerWant = (255 - ((corner >> 16) & 0xFF)) << 16 | (corner & 0xFFFF);
        Screenshot shot = awaitScreenshot([&](const Screenshot& s) { return s.at(0, 0) == cornerWant; });
        for (int y = 0; y < 300; y += 37) {
            for (int x = 0; x < 400; x += 23) {
                uint32_t drawn = display->frontCanvas()->peekPixel(x, y);
                uint32_t want = (255 - ((drawn >> 16) & 0xFF)) << 16 | (drawn & 0xFFFF);
                EXPECT_EQ(shot.at(2 * x, 2 * y), want) << x << "," << y;
            }
        }

        // 640 x 400 on 800 x 600: scaled by 1.25 to 800 x 500, with bars of 50 above and below.
        _fgraphics(640, 400, 32, 1);
        display = graphicsState().display;
        gxCanvas* back = display->backCanvas();
        const uint32_t quarters[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 640; ++x) back->pokePixel(x, y, quarters[(y / 200) * 2 + x / 320]);
        _fflip(0);
        shot = awaitScreenshot([](const Screenshot& s) { return s.at(600, 425) == 0xFFFF00u; });
        EXPECT_EQ(shot.at(200, 175), 0xFF0000u);
        EXPECT_EQ(shot.at(600, 175), 0x00FF00u);
        EXPECT_EQ(shot.at(200, 425), 0x0000FFu);
        EXPECT_EQ(shot.at(600, 425), 0xFFFF00u);
        EXPECT_EQ(shot.at(400, 51), 0x00FF00u);
        EXPECT_EQ(shot.at(400, 48), 0u);
        EXPECT_EQ(shot.at(400, 551), 0u);
    });
}

}  // namespace
