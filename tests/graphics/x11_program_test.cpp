// A compiled program drawing text and shapes, seen by an outside screenshot tool on an X
// server of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace {

// The root window as xwd writes it (ZPixmap, 24 or 32 bits a pixel), as RGB values.
struct Screen {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;
    uint32_t at(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height ? rgb[size_t(y) * width + x] : 0xFFFFFFFFu;
    }
    int count(int left, int top, int right, int bottom, uint32_t colour) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += at(x, y) == colour;
        return n;
    }
};

Screen screenshot() {
    std::string file = testing::TempDir() + "/tarsk_program_screen.xwd";
    EXPECT_EQ(tarsk::test::runProcess({"/usr/bin/xwd", "-root", "-silent", "-out", file}).status, 0);
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Screen s;
    auto field = [&](int i) {
        const uint8_t* p = &b[size_t(4 * i)];
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    };
    if (b.size() < 100) return s;
    uint32_t pixelBytes = field(11) / 8, bytesPerLine = field(12), lsbFirst = field(7) == 0;
    size_t data = field(0) + size_t(field(19)) * 12;
    s.width = int(field(4));
    s.height = int(field(5));
    if (b.size() < data + size_t(bytesPerLine) * s.height || (pixelBytes != 3 && pixelBytes != 4)) return Screen{};
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const uint8_t* p = &b[data + size_t(y) * bytesPerLine + size_t(x) * pixelBytes];
            uint32_t v = 0;
            for (uint32_t i = 0; i < pixelBytes; ++i) v |= uint32_t(p[lsbFirst ? i : pixelBytes - 1 - i]) << (8 * i);
            s.rgb.push_back(v & 0xFFFFFFu);
        }
    }
    return s;
}

TEST(X11Program, TextAndShapesReachTheScreen) {
    tarsk::test::RunningProcess program({tarsk::test::binaryFolder() + "tarsk", "run", "--debug",
                                         std::string(TARSK_TEST_IMAGES) + "/text_and_shapes.tbm"});
    ASSERT_TRUE(program.awaitOutputEnding("drawn\n", 20000));
    usleep(400'000);  // the window shows front drawing within 100 ms
    Screen shot = screenshot();
    ASSERT_FALSE(shot.rgb.empty());
    // The solid yellow rectangle's first pixel gives the window's position.
    int left = -1, top = -1;
    for (int i = 0; i < shot.width * shot.height && left < 0; ++i)
        if (shot.rgb[size_t(i)] == 0xFFC800u) left = i % shot.width - 10, top = i / shot.width - 10;
    ASSERT_GE(left, 0);
    EXPECT_EQ(shot.count(left + 10, top + 10, left + 110, top + 70, 0xFFC800u), 100 * 60);
    EXPECT_EQ(shot.at(left + 8, top + 8), 0xFFFFFFu);     // the outline, two pixels out
    EXPECT_EQ(shot.at(left + 111, top + 71), 0xFFFFFFu);
    EXPECT_EQ(shot.at(left + 9, top + 9), 0x102040u);     // the clear colour between them
    EXPECT_EQ(shot.at(left + 170, top + 40), 0x00C8FFu);  // inside the solid oval
    EXPECT_EQ(shot.at(left + 265, top + 40), 0x102040u);  // inside the outlined one
    EXPECT_EQ(shot.at(left + 220, top + 39), 0xFF4040u);  // its leftmost point
    EXPECT_EQ(shot.at(left + 160, top + 110), 0xFF4040u); // where the two lines cross
    // Centred bold text around 160,160; the italic line and the console line below.
    EXPECT_GT(shot.count(left + 100, top + 148, left + 220, top + 172, 0xFFFFFFu), 100);
    EXPECT_EQ(shot.count(left, top + 140, left + 95, top + 180, 0xFFFFFFu), 0);
    EXPECT_GT(shot.count(left + 10, top + 195, left + 320, top + 212, 0xFFFF80u), 50);
    EXPECT_GT(shot.count(left + 10, top + 215, left + 320, top + 230, 0xFFFF80u), 50);
    EXPECT_EQ(program.finish(20000).status, 0);
}

}  // namespace
