// The driver, mode and gamma commands run as a program without a window.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "runtime/graphics/graphics_host.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/host/runtime_interface.h"
#include "runtime/language/strings.h"
#include "tarsk_commands.h"
#include "tests/support/command_calls.h"
#include "tests/support/program_frame.h"

using namespace tarsk;

namespace {

// Runs the body as a program with the basic and graphics modules; returns its error text.
std::string runWithGraphics(std::function<void()> test, bool debug = true) {
    return test::runAsProgram(test, {.modules = {"basic", "graphics"}, .debugChecks = debug});
}

using test::errorOf;

GraphicsState& state() { return graphicsState(); }

TEST(GraphicsCommands, StartUpDisplayIsAFourHundredByThreeHundredWindow) {
    runWithGraphics([] {
        EXPECT_EQ(_fgraphicswidth(), 400);
        EXPECT_EQ(_fgraphicsheight(), 300);
        EXPECT_EQ(_fgraphicsdepth(), 32);
        EXPECT_EQ(currentHost()->displayKind, kWindowed);
        EXPECT_EQ(state().buffer, state().display->frontCanvas());
        EXPECT_EQ(_fgammared(200), 200.0f);  // no gamma control: the identity
        EXPECT_GT(_ftotalvidmem(), 0);
        EXPECT_LT(_favailvidmem(), _ftotalvidmem());
        EXPECT_GE(_fscanline(), 0);
        EXPECT_LT(_fscanline(), 300);
    });
}

TEST(GraphicsCommands, IllegalModeChangesNothing) {
    runWithGraphics([] {
        gxDisplay* before = state().display;
        gxCanvas* buffer = state().buffer;
        EXPECT_EQ(errorOf([] { _fgraphics(640, 480, 0, 4); }), "Illegal Graphics mode");
        EXPECT_EQ(errorOf([] { _fgraphics3d(640, 480, 0, 9); }), "Illegal Graphics3D mode");
        EXPECT_EQ(state().display, before);
        EXPECT_EQ(state().buffer, buffer);
        EXPECT_EQ(_fgraphicswidth(), 400);
    });
}

TEST(GraphicsCommands, ModesBufferAndDepthByKind) {
    runWithGraphics([] {
        _fsetgfxdriver(1);
        _fgraphics(640, 480, 16, 2);  // windowed: the depth is not used
        EXPECT_EQ(_fgraphicsdepth(), 32);
        EXPECT_EQ(currentHost()->displayKind, kWindowed);
        EXPECT_EQ(state().buffer, state().display->frontCanvas());
        _fgraphics3d(640, 480, 0, 3);
        EXPECT_EQ(currentHost()->displayKind, kScaledWindow);
        EXPECT_EQ(state().buffer, state().display->backCanvas());
        _fgraphics(640, 480, 0, 1);  // full screen, depth 0 without 3D: 16 bits
        EXPECT_EQ(currentHost()->displayKind, kFullScreen);
        EXPECT_EQ(_fgraphicsdepth(), 16);
        EXPECT_TRUE(currentHost()->suspendWhileInactive);
        _fgraphics3d(640, 480, 0, 1);
        EXPECT_EQ(_fgraphicsdepth(), 32);
        _fgraphics(800, 600, 24, 1);
        EXPECT_EQ(_fgraphicsdepth(), 24);
        _fendgraphics();
        EXPECT_EQ(_fgraphicswidth(), 400);
        EXPECT_EQ(currentHost()->displayKind, kWindowed);
        EXPECT_FALSE(currentHost()->suspendWhileInactive);
        // A mode the driver does not list: the old display is gone, and the error says so
        // (the program ends at its next event pump).
        EXPECT_EQ(errorOf([] { _fgraphics(12345, 480, 16, 1); }), "Unable to set graphics mode");
        EXPECT_EQ(state().display, nullptr);
        EXPECT_EQ(errorOf([] { _fgraphicswidth(); }), "No graphics mode is open");
    });
}

TEST(GraphicsCommands, WindowBuffersShareThePixelsButOnlyTheFrontAsksForARepaint) {
    runWithGraphics([] {
        gxDisplay* display = state().display;
        gxCanvas* front = display->frontCanvas();
        gxCanvas* back = display->backCanvas();
        ASSERT_NE(front, back);
        _fflip(0);
        EXPECT_FALSE(display->frontChanged());
        back->pokePixel(3, 4, 0xFF112233);
        EXPECT_EQ(front->peekPixel(3, 4), 0xFF112233u);
        EXPECT_FALSE(display->frontChanged());
        front->pokePixel(5, 5, 0xFF445566);
        EXPECT_TRUE(display->frontChanged());
        display->paint();
        EXPECT_FALSE(display->frontChanged());
        back->pokePixel(0, 0, 0xFFFFFFFF);
        _fflip(0);  // hands the back buffer's count to the front and presents
        EXPECT_FALSE(display->frontChanged());
        EXPECT_EQ(front->modificationCount(), back->modificationCount());
    });
}

TEST(GraphicsCommands, FullScreenFlipExchangesThePages) {
    runWithGraphics([] {
        _fgraphics(640, 480, 32, 1);
        gxDisplay* display = state().display;
        display->backCanvas()->pokePixel(1, 1, 0xFF00FF00);
        EXPECT_EQ(display->frontCanvas()->peekPixel(1, 1), 0xFF000000u);
        _fflip(1);
        EXPECT_EQ(display->frontCanvas()->peekPixel(1, 1), 0xFF00FF00u);
        EXPECT_EQ(display->backCanvas()->peekPixel(1, 1), 0xFF000000u);
    });
}

TEST(GraphicsCommands, DriverAndModeQueries) {
    runWithGraphics([] {
        ASSERT_GE(_fcountgfxdrivers(), 1);
        EXPECT_FALSE(stringTake(_fgfxdrivername(1)).empty());
        EXPECT_EQ(_fgfxdriver3d(1), 1);
        EXPECT_EQ(_fwindowed3d(), 1);
        EXPECT_EQ(errorOf([] { _fgfxdrivername(0); }), "Illegal graphics driver index");
        EXPECT_EQ(errorOf([] { _fsetgfxdriver(_fcountgfxdrivers() + 1); }), "Illegal graphics driver index");
        EXPECT_EQ(errorOf([] { _fgfxmodewidth(1); }), "Illegal graphics mode index");  // no list yet
        int32_t count = _fcountgfxmodes();
        ASSERT_GT(count, 0);
        EXPECT_EQ(errorOf([count] { _fgfxmodewidth(count + 1); }), "Illegal graphics mode index");
        bool found640 = false;
        for (int32_t i = 1; i <= count; ++i) {
            if (_fgfxmodewidth(i) == 640 && _fgfxmodeheight(i) == 480 && _fgfxmodedepth(i) == 24) found640 = true;
        }
        EXPECT_TRUE(found640);
        EXPECT_EQ(_fgfxmodeexists(640, 480, 24), 1);
        EXPECT_EQ(_fgfxmodeexists(640, 480, 8), 0);
        EXPECT_EQ(_fgfxmode3dexists(640, 480, 16), 1);
        EXPECT_EQ(_fcountgfxmodes3d(), count);  // every depth renders 3D
        EXPECT_EQ(_fgfxmode3d(1), 1);
        _fsetgfxdriver(1);
        EXPECT_EQ(errorOf([] { _fgfxmodeheight(1); }), "Illegal graphics mode index");  // the list was emptied
    });
}

TEST(GraphicsCommands, GammaRampsKeepTheLowSixteenBits) {
    runWithGraphics([] {
        _fsetgamma(10, 10, 10, 300.0f, 0.0f, 255.0f);
        // 300 * 257 = 77100, whose low 16 bits are 11564.
        EXPECT_FLOAT_EQ(_fgammared(10), 11564.0f / 257.0f);
        EXPECT_FLOAT_EQ(_fgammagreen(10), 0.0f);
        EXPECT_FLOAT_EQ(_fgammablue(10), 255.0f);
        EXPECT_FLOAT_EQ(_fgammared(266), 11564.0f / 257.0f);  // the index wraps at 256
        _fupdategamma(0);
    });
}

TEST(GraphicsCommands, PointerCommandsSetTheHostFlag) {
    runWithGraphics([] {
        _fhidepointer();
        EXPECT_FALSE(currentHost()->pointerVisible());
        _fshowpointer();
        EXPECT_TRUE(currentHost()->pointerVisible());
    });
}

}  // namespace
