// Language support end to end: C modules with hand-written descriptors run by `tarsk run`.
#include <gtest/gtest.h>

#include "tests/support/process.h"

namespace {

using tarsk::test::binaryFolder;
using tarsk::test::ProcessResult;
using tarsk::test::runProcess;

ProcessResult run(const std::string& name, const std::string& mode = "", std::vector<std::string> environment = {}) {
    std::vector<std::string> argv{binaryFolder() + "tarsk", "run", "--debug",
                                  std::string(TARSK_TEST_IMAGES) + "/language_" + name + ".tbm"};
    if (!mode.empty()) argv.push_back(mode);
    environment.insert(environment.begin(), "tarskpath=");
    return runProcess(argv, environment);
}

std::string stats(int strings, int objects, int unreleased) {
    return "Active strings :" + std::to_string(strings) + "\nActive objects :" + std::to_string(objects) +
           "\nUnreleased objs:" + std::to_string(unreleased) + "\n";
}

TEST(LanguagePrograms, Objects) {
    auto r = run("objects");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "each next from null=0\n"
              "created: 1 2 3\n"
              "3 before 1: 3 1 2\n"
              "3 after 2: 1 2 3\n"
              "2 before itself: 1 2 3\n"
              "last=3\n"
              "before last=2\n"
              "none before first=1\n"
              "first after DeleteEach is null=1\n"
              "handle twice same=1\n"
              "next handle larger=1\n"
              "object of handle=1\n"
              "other type gives null=1\n"
              "unknown handle gives null=1\n"
              "after Delete null=1\n"
              "deleted has handle 0=0\n"
              "null has handle 0=0\n"
              "new object's handle above all=1\n"
              "deleted equals Null=1\n"
              "live differs from Null=1\n"
              "next from zombie=3\n"
              "prev from zombie=1\n"
              "walk skips zombie: 1 3\n" +
                  stats(0, 2, 3) + stats(0, 2, 2) +
                  "for-each deleting all visited=5\n"
                  "loop variable ends null=1\n"
                  "none left=1\n"
                  "counted walk deleting the next: 10 12\n"
                  "uncounted walk: 10 12\n" +
                  stats(0, 0, 0) +
                  "unassigned string field: [7,0.5,\"\"]\n"
                  "fields: [7,0.5,\"a\"]\n"
                  "self: [7,[ROOT]]\n"
                  "nine deep: [1,[2,[3,[4,[5,[6,[7,[8,....]]]]]]]]\n"
                  "deleted at the end: [1,[2,[3,[4,[5,[6,[7,[8,[NULL]]]]]]]]]\n"
                  "null: [NULL]\n"
                  "vector storage zeroed=1\n"
                  "vector field: [???,[NULL]]\n" +
                  stats(0, 0, 0));
    EXPECT_EQ(r.status, 0);
}

TEST(LanguagePrograms, NullObjectErrors) {
    for (auto [mode, out] : {std::pair{"null", "null object\n"}, std::pair{"next of null", ""}}) {
        auto r = run("objects", mode);
        EXPECT_EQ(r.out, out) << mode;
        EXPECT_EQ(r.err, "Runtime error: Object does not exist\n") << mode;
        EXPECT_EQ(r.status, 1) << mode;
    }
}

TEST(LanguagePrograms, ArraysVectorsAndData) {
    auto r = run("arrays_data");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "grid dimension words=11231\n"
              "grid zeroed=1\n"
              "undimensioned=1\n" +
                  stats(5, 0, 0) +
                  "new elements empty=1\n"
                  "empty loads as=[]\n" +
                  stats(0, 0, 0) + stats(0, 0, 1) + stats(0, 0, 0) +
                  "vector zeroed=1\n" + stats(0, 0, 0) +
                  "ReadInt 1, 2.5, \"7\", -3.5: 1273\n"
                  "ReadStr: 1 2.5 7 -3.5\n"
                  "ReadFloat: 1.0 2.5 7.0 -3.5\n" +
                  stats(0, 0, 0));
    EXPECT_EQ(r.status, 0);
}

TEST(LanguagePrograms, DataAndBoundsErrors) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"past", "read all four\n", "Out of data"},
        {"bad", "", "Bad data type"},
        {"unrestored", "", "Out of data"},
        {"negative dim", "", "Array index out of bounds"},
        {"huge dim", "", "Out of memory"},
        {"bounds", "", "Array index out of bounds"},
        {"vector bounds", "", "Tarsk array index out of bounds"},
    };
    for (auto [mode, out, message] : cases) {
        auto r = run("arrays_data", mode);
        EXPECT_EQ(r.out, out) << mode;
        EXPECT_EQ(r.err, std::string("Runtime error: ") + message + "\n") << mode;
        EXPECT_EQ(r.status, 1) << mode;
    }
    EXPECT_EQ(run("arrays_data", "again").out, "after Restore reads start again: 1\n");
}

const std::string kBound =
    "Twice(21)=42\n"
    "TextLength=7\n"
    "Greeting=hello from a library\n";

TEST(LanguagePrograms, UserLibrariesBindAndUnloadInReverse) {
    auto r = run("userlibs", "", {"tarskpath=" + std::string(TARSK_TEST_IMAGES) + "/tarskpath"});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, kBound + "Answer=42\nunloaded tarskonly\nunloaded langfixture\n");
    EXPECT_EQ(r.status, 0);
}

TEST(LanguagePrograms, UserLibraryStubsFailOnlyWhenCalled) {
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"", false, "User lib not found"},  // tarskonly exists only under tarskpath
        {"missing function", true, "User lib function not found"},
        {"missing library", true, "User lib not found"},
    };
    for (auto [mode, withTarskpath, message] : cases) {
        std::vector<std::string> environment;
        if (withTarskpath) environment.push_back("tarskpath=" + std::string(TARSK_TEST_IMAGES) + "/tarskpath");
        auto r = run("userlibs", mode, environment);
        EXPECT_EQ(r.err, std::string("Runtime error: ") + message + "\n") << mode;
        EXPECT_EQ(r.out.substr(0, kBound.size()), kBound) << mode;
        EXPECT_EQ(r.status, 1) << mode;
    }
}

}  // namespace
