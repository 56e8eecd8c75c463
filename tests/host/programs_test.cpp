// Module images compiled from C, converted by `tarsk image` and run by `tarsk run`.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/process.h"

using tarsk::test::binaryFolder;
using tarsk::test::runProcess;

namespace {

std::string image(const std::string& name) { return std::string(TARSK_TEST_IMAGES) + "/" + name + ".tbm"; }

tarsk::test::ProcessResult run(const std::string& name, std::vector<std::string> args = {}, bool debug = true) {
    std::vector<std::string> argv{binaryFolder() + "tarsk", "run"};
    if (debug) argv.push_back("--debug");
    argv.push_back(image(name));
    argv.insert(argv.end(), args.begin(), args.end());
    return runProcess(argv);
}

TEST(Programs, SystemCommandsAndProperties) {
    auto r = run("system_commands", {"first", "second"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "args=[first second]\n"
              "env=forty two\n"
              "removed=\n"
              "cpu=Intel\n"
              "same appdir=1\n"
              "unknown=\n"
              "tempdir=/tmp/\n"
              "os named=1\n"
              "clock runs=1\n"
              "Active strings :0\n"
              "Active objects :0\n"
              "Unreleased objs:0\n");
}

TEST(Programs, RuntimeErrorShowsItsFirst255Characters) {
    std::string expected;
    for (int i = 0; i < 255; ++i) expected += char('a' + i % 26);
    auto debug = run("long_runtime_error");
    EXPECT_EQ(debug.out, "before\n");
    EXPECT_EQ(debug.err, "Runtime error: " + expected + "\n");
    EXPECT_EQ(debug.status, 1);
    // The default monitor's "Error!" box goes to standard error without a display; exit status 0.
    auto plain = run("long_runtime_error", {}, false);
    EXPECT_EQ(plain.err, "Error!: " + expected + "\n");
    EXPECT_EQ(plain.status, 0);
}

TEST(Programs, EndFromDeepInsideEndsSilently) {
    auto r = run("end_deep");
    EXPECT_EQ(r.out, "descending\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
}

TEST(Programs, ProcessorFaultsBecomeRuntimeErrors) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", nullptr},
        {"1", "Memory access violation"},
        {"2", "Integer divide by zero"},
        {"3", "Stack overflow!"},
    };
    for (auto [kind, message] : cases) {
        auto r = run("processor_faults", {kind});
        if (!message) {
            EXPECT_EQ(r.out, "faulting\nno fault\n");
            EXPECT_EQ(r.status, 0);
            continue;
        }
        EXPECT_EQ(r.out, "faulting\n") << kind;
        EXPECT_EQ(r.err, std::string("Runtime error: ") + message + "\n") << kind;
        EXPECT_EQ(r.status, 1) << kind;
    }
}

TEST(Programs, MissingSymbolIsFatalWithStatusZero) {
    auto r = run("missing_symbol");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Can't find symbol: _fnosuchcommand\n");
    EXPECT_EQ(r.status, 0);
}

TEST(Programs, ModuleSymbolWinsOverRuntimeCommand) {
    auto r = run("module_symbol_wins");
    EXPECT_EQ(r.out, "commandline=module's own\n");
}

TEST(Programs, TimersCountTicksBetweenWaits) {
    auto r = run("timers");
    EXPECT_EQ(r.out, "first wait=1\nafter 110 ms between 4 and 7=1\nnext=1\ndone\n") << r.err;
}

TEST(Programs, DamagedImageIsRefused) {
    std::ifstream in(image("system_commands"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string damaged = std::string(TARSK_TEST_IMAGES) + "/damaged.tbm";
    std::ofstream(damaged, std::ios::binary) << bytes.substr(0, bytes.size() - 3);
    auto r = runProcess({binaryFolder() + "tarsk", "run", damaged});
    EXPECT_EQ(r.err, "Unable to run Tarsk Basic module\n");
    EXPECT_EQ(r.status, 255);
}

TEST(Programs, StandaloneExecutableCarriesItsImage) {
    std::string program = std::string(TARSK_TEST_IMAGES) + "/standalone";
    auto built = runProcess({binaryFolder() + "tarsk", "build", image("error_with_args"), "-o", program});
    ASSERT_EQ(built.status, 0) << built.err;
    auto r = runProcess({program, "one", "two"});
    EXPECT_EQ(r.err, "Error!: args=one two\n");
    EXPECT_EQ(r.status, 0);
    // A plain runtime executable carries no image.
    auto bare = runProcess({binaryFolder() + "tarsk-runtime"});
    EXPECT_EQ(bare.err, "Unable to run Tarsk Basic module\n");
    EXPECT_EQ(bare.status, 255);
}

}  // namespace

TEST(ImageTool, RefusesRelocationsAnImageCannotHold) {
    std::string object = std::string(TARSK_TEST_IMAGES) + "/position_independent.o";
    auto r = runProcess({binaryFolder() + "tarsk", "image", object, "-o", object + ".tbm"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("unsupported relocation R_X86_64_REX_GOTPCRELX in section .text"), std::string::npos)
        << r.err;
    auto garbage = runProcess({binaryFolder() + "tarsk", "image", binaryFolder() + "../CMakeCache.txt", "-o",
                               object + ".tbm"});
    EXPECT_NE(garbage.err.find("not an ELF file"), std::string::npos) << garbage.err;
}
