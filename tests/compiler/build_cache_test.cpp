// Splitting into translation units and the object cache: an edit recompiles only the
// units of the file it touches.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "compiler/codegen/compile_program.h"

namespace tarsk::compiler {
namespace {

namespace fs = std::filesystem;

class BuildCache : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("tarsk-cache-test-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        commands_.add("DebugLog$text");
        options_.native.cacheFolder = (folder_ / "cache").string();
        options_.declarationFoldersGiven = true;
    }
    void TearDown() override { fs::remove_all(folder_); }

    void write(const std::string& name, const std::string& text) { std::ofstream(folder_ / name) << text; }
    CompileResult compile() { return compileProgram((folder_ / "main.tb").string(), commands_, options_); }

    fs::path folder_;
    CommandTable commands_;
    CompileOptions options_;
};

TEST_F(BuildCache, RecompilesOnlyTheUnitsOfTheChangedFile) {
    write("main.tb", "Include \"part.tb\"\nDebugLog twice(2)\n");
    write("part.tb", "Function twice(n)\n  Return n * 2\nEnd Function\n");
    CompileResult first = compile();
    ASSERT_TRUE(first.ok) << first.error;
    EXPECT_EQ(first.compiledUnits, 2);
    EXPECT_EQ(first.reusedUnits, 0);
    EXPECT_FALSE(first.image.empty());

    write("part.tb", "Function twice(n)\n  Return n + n\nEnd Function\n");
    CompileResult afterPart = compile();
    ASSERT_TRUE(afterPart.ok) << afterPart.error;
    EXPECT_EQ(afterPart.compiledUnits, 1);
    EXPECT_EQ(afterPart.reusedUnits, 1);

    write("main.tb", "Include \"part.tb\"\nDebugLog twice(3)\n");
    CompileResult afterMain = compile();
    ASSERT_TRUE(afterMain.ok) << afterMain.error;
    EXPECT_EQ(afterMain.compiledUnits, 1);
    EXPECT_EQ(afterMain.reusedUnits, 1);

    CompileResult unchanged = compile();
    EXPECT_EQ(unchanged.compiledUnits, 0);
    EXPECT_EQ(unchanged.image, afterMain.image);
}

TEST_F(BuildCache, SplitsLargeFilesIntoUnitsWithLineDirectives) {
    std::string part;
    for (int i = 0; i < 6; ++i) part += "Function f" + std::to_string(i) + "(n)\n  Return n + " + std::to_string(i) + "\nEnd Function\n";
    write("main.tb", "Include \"part.tb\"\nDebugLog f5(1)\n");
    write("part.tb", part);
    options_.codegen.unitStatements = 4;  // two functions of two statements each per unit
    CompileResult result = compile();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.compiledUnits, 4);
    bool directive = false;
    for (const auto& entry : fs::directory_iterator(folder_ / "cache" / "objects")) {
        if (entry.path().extension() != ".c") continue;
        std::ifstream in(entry.path());
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        directive = directive || text.find("#line 17 \"" + (folder_ / "part.tb").string() + "\"") != std::string::npos;
    }
    EXPECT_TRUE(directive) << "the last function's Return is on line 17 of part.tb";
}

TEST_F(BuildCache, ReportsAFailingCCompilerAsAnInternalErrorAtTheBasicLine) {
    write("main.tb", "x = 1\nDebugLog x\n");
    // A stand-in C compiler that fails the way a bug in generated code would.
    write("failing-cc", "#!/bin/sh\necho \"" + (folder_ / "main.tb").string() + ":2:9: error: invented failure\" >&2\nexit 1\n");
    fs::permissions(folder_ / "failing-cc", fs::perms::owner_all);
    setenv("TARSK_CC", (folder_ / "failing-cc").c_str(), 1);
    CompileResult result = compile();
    unsetenv("TARSK_CC");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "internal compiler error at " + (folder_ / "main.tb").string() +
                                ":2: invented failure (please report this compiler bug)");
}

}  // namespace
}  // namespace tarsk::compiler
