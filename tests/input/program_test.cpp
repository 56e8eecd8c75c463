// A compiled program opens a window and reads the clicks and keys that an outside tool
// sends to it on a real X server (the test runs under xvfb-run).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/process.h"

namespace {

int xdotool(const std::string& arguments) { return std::system(("xdotool " + arguments).c_str()); }

TEST(InputProgram, ClicksAndKeysReachTheWindowOfACompiledProgram) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under xvfb-run";
    tarsk::test::RunningProcess program({tarsk::test::binaryFolder() + "tarsk", "run", "--debug",
                                         std::string(TARSK_TEST_IMAGES) + "/input_echo.tbm"});
    ASSERT_NE(program.pid(), 0);
    // The program's own window, once Graphics has shown it.
    std::string window = "search --sync --onlyvisible --pid " + std::to_string(program.pid()) + " --class tarsk";
    ASSERT_EQ(xdotool(window + " windowfocus --sync"), 0);
    ASSERT_TRUE(program.awaitOutputEnding("window open\n", 10000));

    // Each click is read before the pointer moves on, so the position is the click's.
    EXPECT_EQ(xdotool(window + " mousemove --window %1 40 30 click 1"), 0);
    EXPECT_TRUE(program.awaitOutputEnding("at y 30\n", 10000));
    EXPECT_EQ(xdotool(window + " mousemove --window %1 300 200 click 3"), 0);
    EXPECT_TRUE(program.awaitOutputEnding("at y 200\n", 10000));
    EXPECT_EQ(xdotool("key shift+a b Left F1 Escape"), 0);

    auto r = program.finish(10000);
    EXPECT_EQ(r.out,
              "window open\n"
              "button 1\nat x 40\nat y 30\n"
              "button 2\nat x 300\nat y 200\n"
              "key 65\nkey 98\nkey 31\n"
              "escape\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
}

}  // namespace
