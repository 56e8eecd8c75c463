// The graphics commands reached from a module image through their link names.
#include <gtest/gtest.h>

#include "tests/support/process.h"

namespace {

TEST(GraphicsProgram, ModesFromCompiledCodeAndTheIllegalModeError) {
    auto r = tarsk::test::runProcess({tarsk::test::binaryFolder() + "tarsk", "run", "--debug",
                                      std::string(TARSK_TEST_IMAGES) + "/graphics_modes.tbm"});
    EXPECT_EQ(r.out,
              "start width=400\n"
              "start height=300\n"
              "windowed depth=32\n"
              "full screen depth=16\n"
              "gamma red=44996\n"
              "back to width=400\n");
    EXPECT_EQ(r.err, "Runtime error: Illegal Graphics mode\n");
    EXPECT_EQ(r.status, 1);
}

}  // namespace
