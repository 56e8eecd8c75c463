// The GL copies of canvases on a surfaceless GL context: uploads when used after a CPU
// change, read-backs when touched by the CPU after a render.
#include <gtest/gtest.h>

#include "runtime/graphics/canvas_flags.h"
#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gl_device.h"
#include "runtime/graphics/gl_sync.h"
#include "runtime/graphics/gx_canvas.h"
#include "tests/graphics/display_fixture.h"

using namespace tarsk;
using tarsk::test::glTexturePixel;

namespace {

class GlSync : public test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        gl_ = display_->glDevice();
        if (!gl_) GTEST_SKIP() << "no GL context on this machine";
    }
    // A GL draw standing in for a 3D render: one pixel filled with a colour.
    void renderPixel(gxCanvas& canvas, int x, int y, float r, float g, float b) {
        Surface& surface = canvas.currentSurface();
        ASSERT_TRUE(beginRender(*gl_, surface));
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, y, 1, 1);
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        endRender(surface);
        canvas.touch({x, y, x + 1, y + 1});
    }
    GlDevice* gl_ = nullptr;
};

TEST_F(GlSync, ChangedStoreUploadsOnceWhenNextUsed) {
    gxCanvas* canvas = display_->makeCanvas(8, 8, 0);
    canvas->pokePixel(1, 2, 0xFFFF0000);
    Surface& surface = canvas->currentSurface();
    uint32_t texture = textureOf(*gl_, surface);
    EXPECT_EQ(glTexturePixel(texture, 1, 2), 0xFF0000u);
    EXPECT_EQ(glTexturePixel(texture, 0, 0), 0u);
    // Bytes changed behind the canvas's back are not uploaded: nothing was counted.
    surface.pixels()[0] = 0xFF;
    EXPECT_EQ(textureOf(*gl_, surface), texture);
    EXPECT_EQ(glTexturePixel(texture, 0, 0), 0u);
    canvas->pokePixel(7, 7, 0xFF0000FF);
    textureOf(*gl_, surface);
    EXPECT_EQ(glTexturePixel(texture, 7, 7), 0x0000FFu);
}

TEST_F(GlSync, RenderIsSeenByTheNextPixelReadAndBlit) {
    gxCanvas* canvas = display_->backCanvas();
    canvas->pokePixel(1, 1, 0xFFFF0000);
    renderPixel(*canvas, 2, 3, 0.0f, 1.0f, 0.0f);
    EXPECT_TRUE(canvas->currentSurface().gl.gpuNewer);
    EXPECT_EQ(canvas->peekPixel(2, 3), 0xFF00FF00u);
    EXPECT_FALSE(canvas->currentSurface().gl.gpuNewer);  // read back once
    EXPECT_EQ(canvas->peekPixel(1, 1), 0xFFFF0000u);     // the CPU drawing went up with the render
    // The front buffer of a window shares the store.
    EXPECT_EQ(display_->frontCanvas()->peekPixel(2, 3), 0xFF00FF00u);

    renderPixel(*canvas, 4, 4, 0.0f, 0.0f, 1.0f);
    gxCanvas* copy = display_->makeCanvas(8, 8, 0);
    copy->copyArea(0, 0, canvas, 0, 0, 8, 8, true);
    EXPECT_EQ(copy->peekPixel(4, 4), 0xFF0000FFu);
    // A texture made from the rendered canvas holds both sides' drawing.
    uint32_t texture = textureOf(*gl_, canvas->currentSurface());
    EXPECT_EQ(glTexturePixel(texture, 4, 4), 0x0000FFu);
    EXPECT_EQ(glTexturePixel(texture, 1, 1), 0xFF0000u);
}

TEST_F(GlSync, ReadBackConvertsToTheStoreFormat) {
    auto store = Surface::make(4, 4, gxPixelFormat::of(PixelLayout::kR5G6B5), false);
    gxCanvas sixteen(display_, std::move(store), 0);
    renderPixel(sixteen, 0, 0, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(sixteen.peekPixel(0, 0), 0xFFF8FCF8u);
    EXPECT_EQ(sixteen.peekPixel(1, 0), 0xFF000000u);
}

}  // namespace
