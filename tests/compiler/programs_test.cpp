// Basic programs compiled and run under `tarsk run --debug`, against their expected
// DebugLog output (programs/NAME.out) and runtime error.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/process.h"

namespace tarsk::test {
namespace {

struct ProgramCase {
    const char* name;
    const char* error;  // expected end of standard error, "" for a clean end
};

std::string readExpected(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ProcessResult runProgram(const std::string& program, const std::vector<std::string>& options = {"--debug"}) {
    std::vector<std::string> argv = {binaryFolder() + "tarsk", "run"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(std::string(TARSK_TEST_PROGRAMS) + "/" + program);
    return runProcess(argv, {"TARSK_CACHE=" TARSK_TEST_CACHE});
}

class Programs : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(Programs, PrintExpectedOutput) {
    const ProgramCase& c = GetParam();
    ProcessResult result = runProgram(std::string(c.name) + ".tb");
    EXPECT_EQ(result.out, readExpected(std::string(TARSK_TEST_PROGRAMS) + "/" + c.name + ".out")) << result.err;
    if (*c.error) {
        EXPECT_EQ(result.status, 1);
        std::string expected = std::string(c.error) + "\n";
        ASSERT_GE(result.err.size(), expected.size()) << result.err;
        EXPECT_EQ(result.err.substr(result.err.size() - expected.size()), expected);
    } else {
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
    }
}

const ProgramCase kPrograms[] = {
    {"control_flow", ""},
    {"functions", ""},
    {"include_main", ""},
    {"divide_by_zero", "divide_by_zero.tb:3: Integer divide by zero"},
    {"arithmetic", ""},
    {"strings", ""},
    {"objects", ""},
    {"arrays", "arrays.tb:44: Array index out of bounds"},
    {"data", "data.tb:19: Out of data"},
    {"null_object", "null_object.tb:8: Object does not exist"},
    {"userlib", "userlib.tb:5: User lib function not found"},
};
INSTANTIATE_TEST_SUITE_P(Basic, Programs, ::testing::ValuesIn(kPrograms),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Compiler, ChecksVectorBoundsInReleaseBuilds) {
    ProcessResult result = runProgram("vector_bounds.tb", {});
    EXPECT_NE(result.err.find("Tarsk array index out of bounds"), std::string::npos) << result.err;
}

TEST(Compiler, ReportsCompileErrorsWithPositionAndFails) {
    ProcessResult result = runProgram("../compile_error.tb");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("compile_error.tb:2:7: error: expected ')', found end of line"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace tarsk::test
