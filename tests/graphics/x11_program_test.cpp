// A compiled program drawing text and shapes, seen by an outside screenshot tool on an X
// server of its own.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <string>

#include "tests/support/process.h"
#include "tests/support/screenshot.h"

namespace {

TEST(X11Program, TextAndShapesReachTheScreen) {
    tarsk::test::RunningProcess program({tarsk::test::binaryFolder() + "tarsk", "run", "--debug",
                                         std::string(TARSK_TEST_IMAGES) + "/text_and_shapes.tbm"});
    ASSERT_TRUE(program.awaitOutputEnding("drawn\n", 20000));
    // The window shows front drawing within 100 ms (later on a loaded machine); the solid
    // yellow rectangle's first pixel gives the window's position.
    int left = -1, top = -1;
    tarsk::test::Screenshot shot = tarsk::test::awaitScreenshot(
        [&](const tarsk::test::Screenshot& s) {
            left = top = -1;
            for (int i = 0; i < s.width * s.height && left < 0; ++i)
                if (s.rgb[size_t(i)] == 0xFFC800u) left = i % s.width - 10, top = i / s.width - 10;
            return left >= 0 && s.count(left, top, left + 320, top + 240, 0xFFFF80u) > 100;
        },
        [] { usleep(30'000); });
    ASSERT_FALSE(shot.empty());
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
