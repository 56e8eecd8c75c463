// Keys and clicks that an outside tool sends to the window on a real X server
// (the test runs under xvfb-run) reach the input commands.
#include <gtest/gtest.h>
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_interface.h"
#include "tarsk_commands.h"
#include "tests/support/program_frame.h"

using namespace tarsk;

namespace {

void runWithInput(std::function<void()> test) {
    EXPECT_EQ(test::runAsProgram(test, {.modules = {"basic", "input"}, .debugChecks = false, .headless = false}), "");
}

std::string windowId() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    SDL_GetWindowWMInfo(currentHost()->window(), &info);
    return std::to_string(static_cast<unsigned long>(info.info.x11.window));
}

int xdotool(const std::string& arguments) { return std::system(("xdotool " + arguments).c_str()); }

// Polls a command until it gives a non-zero value or a second has passed.
int32_t awaitValue(int32_t (*query)()) {
    for (int i = 0; i < 100; ++i) {
        if (int32_t value = query()) return value;
        SDL_Delay(10);
    }
    return 0;
}

}  // namespace

TEST(X11Input, KeysAndClicksFromAnOutsideTool) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under xvfb-run";
    runWithInput([] {
        gxHost* host = currentHost();
        ASSERT_NE(host->window(), nullptr);
        SDL_SetWindowSize(host->window(), 320, 240);
        SDL_ShowWindow(host->window());
        host->displayKind = kWindowed;
        host->graphicsWidth = 320;
        host->graphicsHeight = 240;
        std::string id = windowId();
        ASSERT_EQ(xdotool("windowfocus --sync " + id), 0);
        currentHost()->waitMillis(50);

        // The character depends on the shift key's state when it is read.
        ASSERT_EQ(xdotool("keydown shift key a"), 0);
        EXPECT_EQ(awaitValue(_fgetkey), 65);  // the shift key's own code has no character
        ASSERT_EQ(xdotool("keyup shift key b Left"), 0);
        EXPECT_EQ(awaitValue(_fgetkey), 98);
        EXPECT_EQ(awaitValue(_fgetkey), 31);
        EXPECT_EQ(_fkeyhit(30), 1);

        ASSERT_EQ(xdotool("mousemove --window " + id + " 40 30 click 1"), 0);
        EXPECT_EQ(awaitValue(_fgetmouse), 1);
        EXPECT_EQ(_fmousex(), 40);
        EXPECT_EQ(_fmousey(), 30);
        ASSERT_EQ(xdotool("click 3"), 0);
        EXPECT_EQ(awaitValue(_fgetmouse), 2);
    });
}
