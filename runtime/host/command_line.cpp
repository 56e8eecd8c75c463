#include "runtime/host/command_line.h"

namespace tarsk {

std::string argumentText(std::string_view line) {
    size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) return "";
    line.remove_prefix(start);
    if (line[0] != '"') {
        size_t blank = line.find(' ');
        return blank == std::string_view::npos ? "" : std::string(line.substr(blank + 1));
    }
    size_t close = line.find('"', 1);
    return close == std::string_view::npos ? "" : std::string(line.substr(close + 1));
}

std::string processCommandLine(int argc, char** argv) {
    std::string program = argc > 0 ? argv[0] : "";
    std::string line = program.find(' ') != std::string::npos ? "\"" + program + "\"" : program;
    for (int i = 1; i < argc; ++i) line += std::string(" ") + argv[i];
    return line;
}

}  // namespace tarsk
