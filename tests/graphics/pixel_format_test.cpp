// Pixel layouts: what each stores and reads back, and the specialised converters
// against the channel formula.
#include <gtest/gtest.h>

#include <random>

#include "runtime/graphics/pixel_format.h"

using namespace tarsk;

namespace {

struct RoundTrip {
    PixelLayout layout;
    uint32_t written, stored, readBack;
};

TEST(PixelFormat, EachLayoutTruncatesOnWriteAndReadsTopBitsBack) {
    const RoundTrip cases[] = {
        {PixelLayout::kR5G6B5, 0xFFFFFFFF, 0xFFFF, 0xFFF8FCF8},
        {PixelLayout::kX1R5G5B5, 0xFFFFFFFF, 0x7FFF, 0xFFF8F8F8},
        {PixelLayout::kA1R5G5B5, 0x80FF0000, 0xFC00, 0x80F80000},
        {PixelLayout::kA1R5G5B5, 0x7F00FF00, 0x03E0, 0x0000F800},
        {PixelLayout::kA4R4G4B4, 0xFEDCBA98, 0xFDB9, 0xF0D0B090},
        {PixelLayout::kR8G8B8, 0x80123456, 0x123456, 0xFF123456},
        {PixelLayout::kX8R8G8B8, 0x80123456, 0x123456, 0xFF123456},
        {PixelLayout::kA8R8G8B8, 0x80123456, 0x80123456, 0x80123456},
    };
    for (const RoundTrip& c : cases) {
        gxPixelFormat f = gxPixelFormat::of(c.layout);
        uint8_t pixel[4] = {0xAA, 0xAA, 0xAA, 0xAA};
        f.write(pixel, c.written);
        SCOPED_TRACE(testing::Message() << "layout " << int(c.layout) << " value " << std::hex << c.written);
        EXPECT_EQ(f.readStored(pixel), c.stored);
        EXPECT_EQ(f.read(pixel), c.readBack);
        EXPECT_EQ(f.toArgb(f.toStored(c.written)), c.readBack);
    }
    // 0x12345678 on 5-6-5: red 0x34 -> 6, green 0x56 -> 21, blue 0x78 -> 15.
    gxPixelFormat f = gxPixelFormat::of(PixelLayout::kR5G6B5);
    EXPECT_EQ(f.toStored(0x12345678), (6u << 11) | (21u << 5) | 15u);
    EXPECT_EQ(f.toArgb(f.toStored(0x12345678)), 0xFF305478u);
}

TEST(PixelFormat, TwentyFourBitPixelsAreThreeLittleEndianBytes) {
    gxPixelFormat f = gxPixelFormat::of(PixelLayout::kR8G8B8);
    uint8_t pixels[6] = {0, 0, 0, 0xEE, 0xEE, 0xEE};
    f.write(pixels, 0xFF112233);
    EXPECT_EQ(pixels[0], 0x33);
    EXPECT_EQ(pixels[1], 0x22);
    EXPECT_EQ(pixels[2], 0x11);
    EXPECT_EQ(pixels[3], 0xEE);  // the next pixel is untouched
}

TEST(PixelFormat, SpecialisedConvertersAgreeWithTheChannelFormula) {
    std::mt19937 random(7);
    for (int layout = 0; layout <= int(PixelLayout::kR8G8B8); ++layout) {
        gxPixelFormat f = gxPixelFormat::of(PixelLayout(layout));
        for (int i = 0; i < 1000; ++i) {
            uint32_t argb = random();
            uint8_t pixel[4] = {};
            f.write(pixel, argb);
            ASSERT_EQ(f.readStored(pixel), f.toStored(argb)) << layout;
            ASSERT_EQ(f.read(pixel), f.toArgb(f.readStored(pixel))) << layout;
        }
    }
}

TEST(PixelFormat, AnyMaskLayoutConvertsByTheFormula) {
    // Blue in the high bits, red low: 5-6-5 in the other order.
    gxPixelFormat f = gxPixelFormat::fromMasks(16, 0, 0x001F, 0x07E0, 0xF800);
    ASSERT_TRUE(f.valid());
    EXPECT_EQ(f.toStored(0xFFFF0000), 0x001Fu);
    EXPECT_EQ(f.toArgb(0xF800), 0xFF0000F8u);
    EXPECT_FALSE(gxPixelFormat::fromMasks(8, 0, 0xE0, 0x1C, 0x03).valid());
}

}  // namespace
