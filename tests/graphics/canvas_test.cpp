// Canvases over CPU stores: drawing state, pixel access, blits, collision masks, mipmaps.
#include <gtest/gtest.h>

#include <memory>

#include "runtime/graphics/canvas_flags.h"
#include "runtime/graphics/gx_canvas.h"

using namespace tarsk;

namespace {

std::unique_ptr<gxCanvas> canvas(int32_t width, int32_t height, PixelLayout layout = PixelLayout::kX8R8G8B8,
                                 int32_t flags = 0, bool mipmaps = false) {
    return std::make_unique<gxCanvas>(nullptr, Surface::make(width, height, gxPixelFormat::of(layout), mipmaps), flags);
}

// Fills a canvas with distinct colours: pixel (x, y) = 0xFF0000 | x << 8 | y.
void pattern(gxCanvas& c) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) c.pokePixel(x, y, 0xFFFF0000u | uint32_t(x) << 8 | uint32_t(y));
}

TEST(Canvas, InkPaperAndKeyColour) {
    auto c = canvas(4, 4, PixelLayout::kA8R8G8B8);
    c->setInk(0x00102030);
    EXPECT_EQ(c->ink(), 0xFF102030u);
    c->setKeyColour(0x00102030);
    EXPECT_EQ(c->keyColour(), 0x00102030u);  // alpha is not forced
    c->setPaper(0x00445566);
    c->clear();
    EXPECT_EQ(c->peekPixel(3, 3), 0xFF445566u);
    // Outside the viewport a read gives the key colour; black key on a format without alpha.
    auto plain = canvas(4, 4);
    EXPECT_EQ(plain->peekPixel(4, 0), 0xFF000000u);
    plain->moveOrigin(2, 2);
    plain->pokePixel(1, 1, 0xFFABCDEF);
    plain->moveOrigin(0, 0);
    EXPECT_EQ(plain->peekPixel(3, 3), 0xFFABCDEFu);
}

TEST(Canvas, ClipToAnEmptyAreaLeavesNothingToClear) {
    auto c = canvas(8, 8);
    c->setPaper(0xFFFFFFFF);
    c->clipTo(-10, -10, 5, 5);
    CanvasRect v = c->viewport();
    EXPECT_EQ(v.left, 0);
    EXPECT_EQ(v.top, 0);
    EXPECT_EQ(v.right, 0);
    EXPECT_EQ(v.bottom, 0);
    uint32_t count = c->modificationCount();
    c->clear();
    EXPECT_EQ(c->modificationCount(), count);
    c->clipTo(0, 0, 8, 8);
    EXPECT_EQ(c->peekPixel(0, 0), 0xFF000000u);
    c->clipTo(2, 3, 100, 100);
    v = c->viewport();
    EXPECT_EQ(v.right, 8);
    EXPECT_EQ(v.bottom, 8);
    EXPECT_EQ(c->peekPixel(1, 3), 0xFF000000u);  // the key colour: outside the viewport
}

TEST(Canvas, LocksNestAndFastAccessUsesNoOrigin) {
    auto c = canvas(4, 4, PixelLayout::kR5G6B5);
    ASSERT_TRUE(c->beginAccess());
    ASSERT_TRUE(c->beginAccess());
    c->moveOrigin(1, 1);
    c->pokePixelFast(0, 0, 0xFFFFFFFF);
    EXPECT_EQ(c->peekPixelFast(0, 0), 0xFFF8FCF8u);
    c->endAccess();
    EXPECT_TRUE(c->locked());
    c->endAccess();
    EXPECT_FALSE(c->locked());
    EXPECT_EQ(c->peekPixel(-1, -1), 0xFFF8FCF8u);
}

TEST(Canvas, TransferPixelCopiesTheStoredValue) {
    auto a = canvas(2, 2, PixelLayout::kA8R8G8B8), b = canvas(2, 2, PixelLayout::kA8R8G8B8);
    a->pokePixel(1, 1, 0x12345678);
    b->transferPixel(0, 0, a.get(), 1, 1);
    EXPECT_EQ(b->peekPixel(0, 0), 0x12345678u);
    b->transferPixel(0, 0, a.get(), 2, 2);  // outside the source viewport: nothing
    EXPECT_EQ(b->peekPixel(0, 0), 0x12345678u);
}

TEST(Blit, ClipsToTheViewportAndTakesTheMatchingSourcePart) {
    auto source = canvas(8, 8);
    pattern(*source);
    auto dest = canvas(10, 10);
    dest->clipTo(2, 2, 6, 6);  // viewport 2,2 to 8,8
    dest->copyArea(-2, 5, source.get(), 0, 0, 8, 8, true);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            dest->clipTo(0, 0, 10, 10);
            uint32_t got = dest->peekPixel(x, y);
            bool inside = x >= 2 && x < 6 && y >= 5 && y < 8;  // source columns 4..7, rows 0..2
            uint32_t want = inside ? 0xFFFF0000u | uint32_t(x + 2) << 8 | uint32_t(y - 5) : 0xFF000000u;
            ASSERT_EQ(got, want) << x << "," << y;
            dest->clipTo(2, 2, 6, 6);
        }
    }
    // A source rectangle past the source's edge is cut, moving the destination alike.
    auto small = canvas(4, 4);
    small->copyArea(0, 0, source.get(), 6, -1, 4, 4, true);
    EXPECT_EQ(small->peekPixel(0, 1), 0xFFFF0600u);
    EXPECT_EQ(small->peekPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(small->peekPixel(2, 1), 0xFF000000u);
}

TEST(Blit, HandleOffsetsTheDestination) {
    auto source = canvas(2, 2);
    pattern(*source);
    source->placeHandle(1, 1);
    auto dest = canvas(4, 4);
    dest->copyArea(1, 1, source.get(), 0, 0, 2, 2, true);
    EXPECT_EQ(dest->peekPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(dest->peekPixel(1, 1), 0xFFFF0101u);
}

TEST(Blit, MaskedBlitSkipsExactlyTheKeyValue) {
    for (PixelLayout layout : {PixelLayout::kX8R8G8B8, PixelLayout::kR5G6B5, PixelLayout::kR8G8B8}) {
        auto source = canvas(3, 1, layout);
        source->pokePixel(0, 0, 0xFFFF00FF);
        source->pokePixel(1, 0, 0xFFFF00F8);  // equal to the key only after 5-6-5 truncation
        source->pokePixel(2, 0, 0xFF00FF00);
        source->setKeyColour(0xFFFF00FF);
        auto dest = canvas(3, 1, layout);
        dest->setPaper(0xFF0000FF);
        dest->clear();
        dest->copyArea(0, 0, source.get(), 0, 0, 3, 1, false);
        uint32_t blue = dest->format().toArgb(dest->format().toStored(0xFF0000FF));
        EXPECT_EQ(dest->peekPixel(0, 0), blue) << int(layout);
        EXPECT_EQ(dest->peekPixel(1, 0), layout == PixelLayout::kR5G6B5 ? blue : 0xFFFF00F8u) << int(layout);
        EXPECT_EQ(dest->peekPixel(2, 0), source->peekPixel(2, 0)) << int(layout);
        dest->copyArea(0, 0, source.get(), 0, 0, 3, 1, true);
        EXPECT_EQ(dest->peekPixel(0, 0), source->peekPixel(0, 0)) << int(layout);
    }
}

TEST(Blit, BetweenFormatsConvertsThroughArgb) {
    auto source = canvas(1, 1, PixelLayout::kA8R8G8B8);
    source->pokePixel(0, 0, 0x80FFFFFF);
    auto dest = canvas(1, 1, PixelLayout::kR5G6B5);
    dest->copyArea(0, 0, source.get(), 0, 0, 1, 1, true);
    EXPECT_EQ(dest->peekPixel(0, 0), 0xFFF8FCF8u);
}

TEST(Collision, EdgesMasksAndKeyColour) {
    auto a = canvas(10, 10), b = canvas(10, 10);
    a->setPaper(0xFFFFFFFF), a->clear();
    b->setPaper(0xFFFFFFFF), b->clear();
    EXPECT_FALSE(a->collide(0, 0, b.get(), 10, 0, false));  // boxes touch only at an edge
    EXPECT_TRUE(a->collide(0, 0, b.get(), 9, 9, false));
    EXPECT_TRUE(a->collide(0, 0, b.get(), 5, 0, true));

    auto thinA = canvas(1, 4), thinB = canvas(1, 4);
    thinA->setPaper(0xFF808080), thinA->clear();
    thinB->setPaper(0xFF808080), thinB->clear();
    EXPECT_TRUE(thinA->collide(3, 3, thinB.get(), 3, 3, false));
    auto thinC = canvas(1, 4), thinD = canvas(1, 4);  // masks made with the grey key: nothing solid
    thinC->setPaper(0xFF808080), thinC->clear(), thinC->setKeyColour(0xFF808080);
    thinD->setPaper(0xFF808080), thinD->clear(), thinD->setKeyColour(0xFF808080);
    EXPECT_FALSE(thinC->collide(3, 3, thinD.get(), 3, 3, false));

    auto wide = canvas(33, 2);
    EXPECT_EQ(wide->maskRowWords(), 3u);
}

TEST(Collision, OnePixelAcrossAWordBoundaryAndMaskUpkeep) {
    auto big = canvas(70, 3), dot = canvas(1, 1);
    dot->setPaper(0xFFFFFFFF), dot->clear();
    big->pokePixel(40, 1, 0xFFFFFFFF);
    EXPECT_FALSE(big->collide(0, 0, dot.get(), 41, 1, false));
    EXPECT_TRUE(big->collide(0, 0, dot.get(), 40, 1, false));
    EXPECT_TRUE(dot->collide(40, 1, big.get(), 0, 0, false));  // either order
    // The mask follows later drawing: a pixel write under a lock, then a clear.
    big->pokePixel(69, 2, 0xFFFFFFFF);
    EXPECT_TRUE(big->collide(0, 0, dot.get(), 69, 2, false));
    big->clear();
    EXPECT_FALSE(big->collide(0, 0, dot.get(), 40, 1, false));
    EXPECT_FALSE(big->collideRect(0, 0, 0, 0, 70, 3, false));
    big->pokePixel(35, 0, 0xFFFFFFFF);
    EXPECT_TRUE(big->collideRect(0, 0, 35, 0, 1, 1, false));
    EXPECT_FALSE(big->collideRect(0, 0, 36, 0, 30, 3, false));
    EXPECT_FALSE(big->collideRect(0, 0, 0, 0, 35, 3, false));
    EXPECT_TRUE(big->collideRect(0, 0, 2, 0, 60, 1, false));
}

TEST(Mipmaps, TruncatedAveragesOfEachChannel) {
    auto c = canvas(2, 2, PixelLayout::kA8R8G8B8, CV_TEXTURE, true);
    c->pokePixel(0, 0, 0x01010101);
    c->pokePixel(1, 0, 0x02020202);
    c->pokePixel(0, 1, 0x02020202);
    c->pokePixel(1, 1, 0xFF0302FF);
    Surface& s = c->renderSurface();
    ASSERT_EQ(s.levels.size(), 2u);
    uint32_t got = s.format.read(s.levels[1].bytes.data());
    // alpha (1+2+2+255)/4 = 65, red (1+2+2+3)/4 = 2, green 7/4 = 1, blue 260/4 = 65
    EXPECT_EQ(got, 0x41020141u);
    // A side of 1 pixel averages the two along the other side.
    auto tall = canvas(1, 4, PixelLayout::kA8R8G8B8, CV_TEXTURE, true);
    tall->pokePixel(0, 0, 0x00000001);
    tall->pokePixel(0, 1, 0x00000002);
    tall->pokePixel(0, 2, 0x000000FF);
    tall->pokePixel(0, 3, 0x000000FF);
    Surface& t = tall->renderSurface();
    ASSERT_EQ(t.levels.size(), 3u);
    EXPECT_EQ(t.format.read(t.levels[1].bytes.data()), 0x00000001u);
    EXPECT_EQ(t.format.read(t.levels[1].bytes.data() + t.levels[1].pitch), 0x000000FFu);
    EXPECT_EQ(t.format.read(t.levels[2].bytes.data()), 0x00000080u);  // (1 + 255) / 2
}

TEST(Backup, RestoreBringsBackTheKeptPicture) {
    auto c = canvas(2, 2);
    c->pokePixel(0, 0, 0xFF123456);
    c->keepCopy();
    c->pokePixel(0, 0, 0xFFFFFFFF);
    c->restoreCopy();
    EXPECT_EQ(c->peekPixel(0, 0), 0xFF123456u);
}

}  // namespace
