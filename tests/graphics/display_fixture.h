// A host without a window and one display on it, for tests of display operations.
#pragma once

#include <gtest/gtest.h>

#include "runtime/graphics/display_modes.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"

namespace tarsk::test {

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("SDL_VIDEODRIVER");
        host_ = gxHost::create(nullptr, "", nullptr);
        ASSERT_NE(host_, nullptr);
        display_ = arenaNew<gxDisplay>(*host_, kWindowed, 64, 48, gxPixelFormat::of(PixelLayout::kX8R8G8B8),
                                       int32_t(GRAPHICS_WINDOWED));
    }
    void TearDown() override {
        if (display_) arenaDelete(display_);
        delete host_;
    }
    gxHost* host_ = nullptr;
    gxDisplay* display_ = nullptr;
};

}  // namespace tarsk::test
