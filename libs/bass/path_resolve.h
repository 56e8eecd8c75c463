#pragma once
#include <string>

namespace tarsk::bass {

// A path as programs write it ("\" or "/", "C:" for the root) to the file's
// path here; components that do not exist as written are matched ignoring case.
std::string resolvePath(const std::string& path);

}  // namespace tarsk::bass
