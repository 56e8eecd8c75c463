// Running a program of the build and collecting what it printed.
#pragma once

#include <string>
#include <vector>

namespace tarsk::test {

struct ProcessResult {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs argv[0] with the arguments; `environment` entries ("NAME=value", or "NAME=" to
// remove) change the inherited environment.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {});

// The build's program folder (with a trailing "/").
std::string binaryFolder();

}  // namespace tarsk::test
