// A compiled program using the entity commands, run by `tarsk run`.
#include <gtest/gtest.h>

#include "tests/support/process.h"

namespace {

TEST(Engine3DPrograms, EntityTreeFromCompiledCodeAndAStaleHandle) {
    auto r = tarsk::test::runProcess({tarsk::test::binaryFolder() + "tarsk", "run", "--debug",
                                      std::string(TARSK_TEST_IMAGES) + "/entity_program.tbm"});
    EXPECT_EQ(r.status, 1);  // the debug monitor's status after a runtime error
    EXPECT_EQ(r.out, "class=Pivot\nfound=1\nx=-2.0\nyaw=90.0\nchildren=1\nfreed\n");
    EXPECT_EQ(r.err, "Runtime error: Entity does not exist\n");
}

}  // namespace
