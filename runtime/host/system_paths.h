// Folders of the running program and the system.
#pragma once

#include <string>

namespace tarsk {

// The running executable's file and folder (the folder with a trailing "/").
std::string executablePath();
std::string executableFolder();

}  // namespace tarsk
