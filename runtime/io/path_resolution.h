// Program file names on this system: "\" and "/" both separate components, "C:" in
// any case names the root, and a name missing as written is matched per component
// without regard to case.
#pragma once

#include <string>
#include <string_view>

namespace tarsk {

// The name with "/" separators and a leading "C:" turned into the root, unchanged
// otherwise.
std::string normalizedPath(std::string_view programPath);

// The system name for a program name: the normalized name when it exists; otherwise
// each component that is missing as written is replaced by the first entry of its
// folder (in byte order) that equals it ignoring case. Components with no such entry,
// and everything after them, are kept as written, so new files get the given name.
std::string resolvePath(std::string_view programPath);

}  // namespace tarsk
