// The subcommands of the tarsk tool.
#pragma once

#include <string>
#include <vector>

namespace tarsk {

using Arguments = std::vector<std::string>;

int imageCommand(const Arguments& args);
int buildCommand(const Arguments& args);
int runCommand(const Arguments& args);
int commandsCommand(const Arguments& args);
// Programs given as Basic source (".tb"): compile_command.cpp.
int compileCommand(const Arguments& args);
int runSourceOrImage(const Arguments& args);
int buildSourceOrImage(const Arguments& args);

// Reads a whole file; false when it cannot be read.
bool readFile(const std::string& path, std::vector<uint8_t>& contents);
// Writes a file through a temporary name renamed over the old one.
bool writeFile(const std::string& path, const std::vector<uint8_t>& contents);

}  // namespace tarsk
