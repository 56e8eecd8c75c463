// tarsk image, tarsk build and tarsk run.
#include <cstdio>

#include "compiler/driver/driver_commands.h"
#include "compiler/image/elf_to_image.h"
#include "runtime/host/debug_monitor.h"
#include "runtime/host/image_runner.h"
#include "runtime/host/resource.h"
#include "runtime/host/system_paths.h"

namespace tarsk {
namespace {

// "INPUT -o OUTPUT" in either order.
bool inputAndOutput(const Arguments& args, std::string& input, std::string& output) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            output = args[++i];
        else if (input.empty())
            input = args[i];
        else
            return false;
    }
    return !input.empty() && !output.empty();
}

int fail(const std::string& message) {
    std::fprintf(stderr, "tarsk: %s\n", message.c_str());
    return 1;
}

}  // namespace

int imageCommand(const Arguments& args) {
    std::string input, output;
    if (!inputAndOutput(args, input, output)) return fail("usage: tarsk image OBJECT.o -o IMAGE.tbm");
    std::vector<uint8_t> object;
    if (!readFile(input, object)) return fail("cannot read " + input);
    ModuleImage image;
    std::string error;
    if (!elfToImage(object, image, error)) return fail(input + ": " + error);
    if (!writeFile(output, serializeImage(image))) return fail("cannot write " + output);
    return 0;
}

int buildCommand(const Arguments& args) {
    std::string input, output;
    if (!inputAndOutput(args, input, output)) return fail("usage: tarsk build IMAGE.tbm -o PROGRAM");
    std::vector<uint8_t> bytes;
    if (!readFile(input, bytes)) return fail("cannot read " + input);
    ModuleImage image;
    if (!parseImage(bytes, image)) return fail(input + ": not a module image");
    std::string error;
    if (!writeWithResource(executableFolder() + "tarsk-runtime", output, kModuleImageResource, bytes, error))
        return fail(error);
    return 0;
}

int runCommand(const Arguments& args) {
    size_t next = 0;
    bool debug = next < args.size() && args[next] == "--debug";
    if (debug) ++next;
    if (next >= args.size()) return fail("usage: tarsk run [--debug] IMAGE.tbm [ARGUMENTS...]");
    std::string path = args[next++];
    std::string arguments;
    for (; next < args.size(); ++next) arguments += (arguments.empty() ? "" : " ") + args[next];
    std::vector<uint8_t> bytes;
    if (!readFile(path, bytes)) return fail("cannot read " + path);
    if (!debug) return runModuleImage(bytes, arguments, nullptr);
    ConsoleMonitor monitor;
    int status = runModuleImage(bytes, arguments, &monitor);
    return monitor.errorReported() ? 1 : status;
}

}  // namespace tarsk
