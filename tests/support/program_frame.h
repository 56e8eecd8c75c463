// Test code run as the body of a program, with the command modules it needs.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/host/runtime_interface.h"

namespace tarsk::test {

struct ProgramOptions {
    std::vector<std::string> modules;  // command module names, in registration order
    bool debugChecks = true;
    // Without a display (no X or Wayland variables) unless the test runs on a server of its own.
    bool headless = true;
    // The SDL video driver for the run; none: SDL's choice.
    const char* videoDriver = nullptr;
};

// Runs body as a program; returns the message of the runtime error that ended it, ""
// when none did. A body that ends early without an error fails the test: the host ends
// the program at its next event pump after any runtime error, also one a test caught,
// so checks after such a point would silently never run.
inline std::string runAsProgram(std::function<void()> body, const ProgramOptions& options) {
    static std::function<void()> current;
    static bool finished;
    current = [&body, &options] {
        debugChecks = options.debugChecks;
        body();
        finished = true;
    };
    finished = false;
    if (options.headless) {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    if (options.videoDriver)
        setenv("SDL_VIDEODRIVER", options.videoDriver, 1);
    else if (options.headless)
        unsetenv("SDL_VIDEODRIVER");
    std::vector<CommandModule> modules;
    for (const CommandModule& m : commandModules())
        for (const std::string& name : options.modules)
            if (name == m.name) modules.push_back(m);
    const char* error = runProgramWith([] { current(); }, "", nullptr, nullptr, modules);
    if (options.videoDriver) unsetenv("SDL_VIDEODRIVER");
    if (!error) {
        EXPECT_TRUE(finished) << "the program ended before the end of the test";
    }
    current = nullptr;
    return error ? error : "";
}

}  // namespace tarsk::test
