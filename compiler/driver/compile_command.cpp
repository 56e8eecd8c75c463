// tarsk compile, and the source forms of tarsk run and tarsk build.
#include <cstdio>
#include <strings.h>

#include "compiler/codegen/compile_program.h"
#include "compiler/driver/driver_commands.h"
#include "runtime/host/debug_monitor.h"
#include "runtime/host/image_runner.h"
#include "runtime/host/registry.h"
#include "runtime/host/resource.h"
#include "runtime/host/system_paths.h"

namespace tarsk {
namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "tarsk: %s\n", message.c_str());
    return 1;
}

bool isSource(const std::string& path) {
    return path.size() > 3 && strcasecmp(path.c_str() + path.size() - 3, ".tb") == 0;
}

// The commands of this runtime, from its own registration table.
const compiler::CommandTable& runtimeCommands() {
    static const compiler::CommandTable table = [] {
        compiler::CommandTable commands;
        for (const Registration& r : allRegistrations()) commands.add(r.signature);
        return commands;
    }();
    return table;
}

struct SourceArguments {
    compiler::CompileOptions options;
    std::string input;
    std::string output;
    Arguments rest;  // program arguments of run
};

// Options before the program file; "-o FILE" anywhere for compile and build.
bool parseSourceArguments(const Arguments& args, bool takesOutput, SourceArguments& parsed) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!parsed.input.empty() && !takesOutput) {
            parsed.rest.push_back(a);
        } else if (a == "--debug") {
            parsed.options.codegen.debug = true;
        } else if (a == "--no-bounds-checks") {
            parsed.options.codegen.boundsChecks = false;
        } else if (a == "-o" && takesOutput && i + 1 < args.size()) {
            parsed.output = args[++i];
        } else if (parsed.input.empty() && !a.empty() && a[0] != '-') {
            parsed.input = a;
        } else {
            return false;
        }
    }
    return !parsed.input.empty() && (!takesOutput || !parsed.output.empty());
}

bool compileSource(const SourceArguments& parsed, std::vector<uint8_t>& image) {
    compiler::CompileResult result = compiler::compileProgram(parsed.input, runtimeCommands(), parsed.options);
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", result.error.c_str());
        return false;
    }
    image = std::move(result.image);
    return true;
}

bool firstFileIsSource(const Arguments& args) {
    for (const std::string& a : args)
        if (a != "--debug" && a != "--no-bounds-checks") return isSource(a);
    return false;
}

}  // namespace

int compileCommand(const Arguments& args) {
    SourceArguments parsed;
    if (!parseSourceArguments(args, true, parsed))
        return fail("usage: tarsk compile [--debug] [--no-bounds-checks] PROGRAM.tb -o IMAGE.tbm");
    std::vector<uint8_t> image;
    if (!compileSource(parsed, image)) return 1;
    if (!writeFile(parsed.output, image)) return fail("cannot write " + parsed.output);
    return 0;
}

int runSourceOrImage(const Arguments& args) {
    if (!firstFileIsSource(args)) return runCommand(args);
    SourceArguments parsed;
    if (!parseSourceArguments(args, false, parsed))
        return fail("usage: tarsk run [--debug] [--no-bounds-checks] PROGRAM.tb [ARGUMENTS...]");
    std::vector<uint8_t> image;
    if (!compileSource(parsed, image)) return 1;
    std::string arguments;
    for (const std::string& a : parsed.rest) arguments += (arguments.empty() ? "" : " ") + a;
    if (!parsed.options.codegen.debug) return runModuleImage(image, arguments, nullptr);
    ConsoleMonitor monitor;
    int status = runModuleImage(image, arguments, &monitor);
    return monitor.errorReported() ? 1 : status;
}

int buildSourceOrImage(const Arguments& args) {
    if (!firstFileIsSource(args)) return buildCommand(args);
    SourceArguments parsed;
    if (!parseSourceArguments(args, true, parsed))
        return fail("usage: tarsk build [--no-bounds-checks] PROGRAM.tb -o EXECUTABLE");
    std::vector<uint8_t> image;
    if (!compileSource(parsed, image)) return 1;
    std::string error;
    if (!writeWithResource(executableFolder() + "tarsk-runtime", parsed.output, kModuleImageResource, image, error))
        return fail(error);
    return 0;
}

}  // namespace tarsk
