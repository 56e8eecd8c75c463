// Splitting a process command line into the program name and the argument text.
#pragma once

#include <string>
#include <string_view>

namespace tarsk {

// The text after the program name, untrimmed: after the first blank, or after the
// closing quote when the line begins with a quote (empty when there is none).
std::string argumentText(std::string_view commandLine);

// This process's command line as one text: the program name (quoted when it holds
// blanks), then the arguments joined by single blanks.
std::string processCommandLine(int argc, char** argv);

}  // namespace tarsk
