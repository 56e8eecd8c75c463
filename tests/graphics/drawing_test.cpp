// The canvas primitives pixel by pixel: lines, rectangles and ovals at sizes where the
// rounding shows, clipped at each edge of the viewport, and after a GL render.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gl_device.h"
#include "runtime/graphics/gl_sync.h"
#include "runtime/graphics/gx_canvas.h"
#include "tests/graphics/display_fixture.h"

using namespace tarsk;

namespace {

std::unique_ptr<gxCanvas> canvas(int32_t width, int32_t height) {
    return std::make_unique<gxCanvas>(nullptr, Surface::make(width, height, gxPixelFormat::of(PixelLayout::kX8R8G8B8), false),
                                      0);
}

// The canvas as rows of '#' (ink) and '.' (anything else).
std::vector<std::string> picture(gxCanvas& c) {
    std::vector<std::string> rows;
    for (int y = 0; y < c.height(); ++y) {
        std::string row;
        for (int x = 0; x < c.width(); ++x) row += c.peekPixel(x, y) == 0xFFFFFFFFu ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

struct Shape {
    const char* name;
    int width, height;
    CanvasRect viewport;  // empty: the whole canvas
    void (*draw)(gxCanvas&);
    std::vector<std::string> want;
};

const CanvasRect kWhole{};
const CanvasRect kInner{1, 1, 5, 4};  // columns 1..4, rows 1..3 of a 6 x 5 canvas

const Shape kShapes[] = {
    {"one-pixel line", 3, 3, kWhole, [](gxCanvas& c) { c.drawLine(1, 1, 1, 1); }, {"...", ".#.", "..."}},
    {"shallow line", 6, 4, kWhole, [](gxCanvas& c) { c.drawLine(0, 0, 4, 2); }, {"#.....", ".##...", "...##.", "......"}},
    {"reversed line", 6, 4, kWhole, [](gxCanvas& c) { c.drawLine(4, 2, 0, 0); }, {"##....", "..##..", "....#.", "......"}},
    {"diagonal: y is the long axis", 4, 4, kWhole, [](gxCanvas& c) { c.drawLine(0, 3, 3, 0); },
     {"...#", "..#.", ".#..", "#..."}},
    {"line clipped top-left and bottom-right", 6, 5, kInner, [](gxCanvas& c) { c.drawLine(-2, -2, 7, 7); },
     {"......", ".#....", "..#...", "...#..", "......"}},
    // The clipped end moves by a truncated slope: (10, 3) becomes (4, 2).
    {"line clipped at the right", 5, 5, kWhole, [](gxCanvas& c) { c.drawLine(0, 0, 10, 3); },
     {"#....", ".##..", "...##", ".....", "....."}},
    {"line wholly outside", 6, 5, kInner, [](gxCanvas& c) { c.drawLine(0, 0, 5, 0); },
     {"......", "......", "......", "......", "......"}},
    {"line along the bottom edge", 6, 5, kInner, [](gxCanvas& c) { c.drawLine(-3, 3, 9, 3); },
     {"......", "......", "......", ".####.", "......"}},
    {"one-pixel outline", 3, 3, kWhole, [](gxCanvas& c) { c.drawRect(1, 1, 1, 1, false); }, {"...", ".#.", "..."}},
    {"zero-width outline", 3, 3, kWhole, [](gxCanvas& c) { c.drawRect(1, 0, 0, 3, false); }, {"...", "...", "..."}},
    {"negative-size solid", 3, 3, kWhole, [](gxCanvas& c) { c.drawRect(2, 2, -2, -2, true); }, {"...", "...", "..."}},
    {"outline 4 x 3", 5, 4, kWhole, [](gxCanvas& c) { c.drawRect(0, 0, 4, 3, false); },
     {"####.", "#..#.", "####.", "....."}},
    {"outline 2 x 2", 3, 3, kWhole, [](gxCanvas& c) { c.drawRect(1, 1, 2, 2, false); }, {"...", ".##", ".##"}},
    // Each side is clipped alone: sides outside the viewport vanish.
    {"outline crossing top and bottom", 6, 5, kInner, [](gxCanvas& c) { c.drawRect(2, 0, 3, 5, false); },
     {"......", "..#.#.", "..#.#.", "..#.#.", "......"}},
    {"outline crossing left and right", 6, 5, kInner, [](gxCanvas& c) { c.drawRect(-1, 2, 8, 2, false); },
     {"......", "......", ".####.", ".####.", "......"}},
    {"outline around the viewport", 6, 5, kInner, [](gxCanvas& c) { c.drawRect(0, 0, 6, 5, false); },
     {"......", "......", "......", "......", "......"}},
    {"solid clipped", 6, 5, kInner, [](gxCanvas& c) { c.drawRect(-5, 3, 20, 20, true); },
     {"......", "......", "......", ".####.", "......"}},
    {"one-pixel oval", 3, 3, kWhole, [](gxCanvas& c) { c.drawOval(1, 1, 1, 1, true); }, {"...", ".#.", "..."}},
    {"zero-height oval", 3, 3, kWhole, [](gxCanvas& c) { c.drawOval(0, 1, 3, 0, true); }, {"...", "...", "..."}},
    {"solid oval 4 x 4", 4, 4, kWhole, [](gxCanvas& c) { c.drawOval(0, 0, 4, 4, true); },
     {".##.", "####", "####", ".##."}},
    {"solid oval 3 x 3", 4, 4, kWhole, [](gxCanvas& c) { c.drawOval(0, 0, 3, 3, true); },
     {"###.", "###.", "###.", "...."}},
    {"solid oval 6 x 4", 7, 4, kWhole, [](gxCanvas& c) { c.drawOval(0, 0, 6, 4, true); },
     {".####..", "######.", "######.", ".####.."}},
    {"outline oval 5 x 5", 5, 5, kWhole, [](gxCanvas& c) { c.drawOval(0, 0, 5, 5, false); },
     {".###.", "#...#", "#...#", "#...#", ".###."}},
    {"outline oval 7 x 4", 7, 4, kWhole, [](gxCanvas& c) { c.drawOval(0, 0, 7, 4, false); },
     {".#####.", "#.....#", "#.....#", ".#####."}},
    // Clipped at the top: the walk starts one row above, so the first visible row shows only
    // the sides, as it would unclipped.
    {"outline oval clipped at the top", 5, 5, CanvasRect{0, 1, 5, 5},
     [](gxCanvas& c) { c.drawOval(0, 0, 5, 5, false); }, {".....", "#...#", "#...#", "#...#", ".###."}},
    {"outline oval clipped at the bottom", 5, 5, CanvasRect{0, 0, 5, 4},
     [](gxCanvas& c) { c.drawOval(0, 0, 5, 5, false); }, {".###.", "#...#", "#...#", "#...#", "....."}},
    {"outline oval clipped left and right", 5, 5, CanvasRect{1, 0, 4, 5},
     [](gxCanvas& c) { c.drawOval(0, 0, 5, 5, false); }, {".###.", ".....", ".....", ".....", ".###."}},
    {"solid oval clipped at every edge", 6, 5, kInner, [](gxCanvas& c) { c.drawOval(-1, -1, 8, 7, true); },
     {"......", ".####.", ".####.", ".####.", "......"}},
};

TEST(Drawing, ShapesPixelByPixel) {
    for (const Shape& shape : kShapes) {
        auto c = canvas(shape.width, shape.height);
        if (!shape.viewport.empty())
            c->clipTo(shape.viewport.left, shape.viewport.top, shape.viewport.right - shape.viewport.left,
                      shape.viewport.bottom - shape.viewport.top);
        shape.draw(*c);
        EXPECT_EQ(picture(*c), shape.want) << shape.name;
    }
}

TEST(Drawing, OriginAppliesToPrimitivesAndCheckedPixelsOnly) {
    auto c = canvas(16, 16);
    c->moveOrigin(10, 10);
    c->dot(0, 0);
    EXPECT_EQ(c->peekPixel(0, 0), 0xFFFFFFFFu);
    c->beginAccess();
    EXPECT_EQ(c->peekPixelFast(10, 10), 0xFFFFFFFFu);
    EXPECT_EQ(c->peekPixelFast(0, 0), 0xFF000000u);
    c->endAccess();
    c->drawLine(-10, -10, -8, -10);
    c->drawRect(-10, -9, 1, 1, true);
    c->drawOval(-10, -8, 1, 1, true);
    c->moveOrigin(0, 0);
    EXPECT_EQ(c->peekPixel(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(c->peekPixel(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(c->peekPixel(0, 2), 0xFFFFFFFFu);
}

TEST(Drawing, LongLineOnANarrowViewportDrawsOnlyTheVisiblePixels) {
    auto c = canvas(80, 10);
    c->clipTo(10, 0, 50, 10);
    uint32_t before = c->modificationCount();
    c->drawLine(-100, 5, 100, 5);
    int drawn = 0;
    for (int x = 0; x < 80; ++x) drawn += c->peekPixel(x, 5) == 0xFFFFFFFFu;
    EXPECT_EQ(drawn, 50);
    EXPECT_EQ(c->modificationCount() - before, 50u);  // one per pixel
    before = c->modificationCount();
    c->drawRect(12, 1, 5, 5, false);
    EXPECT_EQ(c->modificationCount() - before, 4u);  // one per side
}

TEST(Drawing, ExtremeCoordinatesAreClippedWithoutOverflow) {
    auto c = canvas(8, 8);
    c->drawLine(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    c->drawRect(INT32_MAX - 1, 0, INT32_MAX, 4, true);
    c->drawOval(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, false);
    c->moveOrigin(INT32_MAX, INT32_MAX);
    c->dot(INT32_MAX, INT32_MAX);
    c->drawLine(0, 0, 1, 1);
    c->moveOrigin(0, 0);
    EXPECT_EQ(c->peekPixel(0, 0), 0xFFFFFFFFu);  // on the diagonal
    EXPECT_EQ(c->peekPixel(7, 7), 0xFFFFFFFFu);
}

TEST(Drawing, FillsOnAFiveSixFiveStoreWriteTheConvertedInk) {
    auto c = std::make_unique<gxCanvas>(nullptr, Surface::make(3, 2, gxPixelFormat::of(PixelLayout::kR5G6B5), false), 0);
    c->setInk(0xFFFFFFFF);
    c->drawRect(0, 0, 3, 2, true);
    EXPECT_EQ(c->peekPixel(2, 1), 0xFFF8FCF8u);
    auto rgb = std::make_unique<gxCanvas>(nullptr, Surface::make(3, 2, gxPixelFormat::of(PixelLayout::kR8G8B8), false), 0);
    rgb->setInk(0xFF123456);
    rgb->drawOval(0, 0, 3, 2, true);
    EXPECT_EQ(rgb->peekPixel(1, 1), 0xFF123456u);
}

class DrawingAfterRender : public test::DisplayTest {};

// A fill after a render reads the rendered picture back first, so both survive.
TEST_F(DrawingAfterRender, FillsKeepTheRenderedPixels) {
    GlDevice* gl = display_->glDevice();
    if (!gl) GTEST_SKIP() << "no GL context on this machine";
    gxCanvas* c = display_->backCanvas();
    Surface& surface = c->currentSurface();
    ASSERT_TRUE(beginRender(*gl, surface));
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    endRender(surface);
    c->touch({0, 0, c->width(), c->height()});
    c->setInk(0xFFFF0000);
    c->drawRect(2, 2, 3, 3, true);
    c->drawLine(0, 10, 5, 10);
    EXPECT_FALSE(surface.gl.gpuNewer);
    EXPECT_EQ(c->peekPixel(3, 3), 0xFFFF0000u);
    EXPECT_EQ(c->peekPixel(3, 10), 0xFFFF0000u);
    EXPECT_EQ(c->peekPixel(10, 3), 0xFF00FF00u);
}

}  // namespace
