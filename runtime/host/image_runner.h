// Running a module image as this process's program.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tarsk {

class DebugMonitor;

// Builds the runtime symbol table, loads and links the image and runs it. A load
// failure shows its message box and gives -1 (damaged image) or 0 (missing symbol);
// otherwise the result is 0 once the program has ended.
int runModuleImage(std::span<const uint8_t> image, const std::string& arguments, DebugMonitor* monitor);

}  // namespace tarsk
