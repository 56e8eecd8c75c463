// Finding and opening the shared libraries that programs name as "name.dll".
#pragma once

#include <string>
#include <vector>

namespace tarsk {

// The files tried for a library name, in order: the name as given, then "name.so" and
// "libname.so" (also lower-cased) beside the executable, then the same names through
// the system's search, then under "$tarskpath/userlibs/".
std::vector<std::string> libraryCandidates(const std::string& name);

// dlopen of the first candidate that loads; nullptr when none does.
void* openLibrary(const std::string& name);

}  // namespace tarsk
