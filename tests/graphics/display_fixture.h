// A host without a window and one display on it, for tests of display operations.
#pragma once

#include <gtest/gtest.h>

#include "runtime/graphics/display_modes.h"
#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"

namespace tarsk::test {

// The RGB of a GL texture's pixel (y counted from the top row of the store), read through
// a framebuffer of its own.
inline uint32_t glTexturePixel(uint32_t texture, int x, int y) {
    GLuint framebuffer;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    uint32_t argb = 0;
    glReadPixels(x, y, 1, 1, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &argb);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    return argb & 0xFFFFFFu;
}

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
