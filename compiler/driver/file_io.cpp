#include <cstdio>
#include <fstream>
#include <iterator>

#include "compiler/driver/driver_commands.h"

namespace tarsk {

bool readFile(const std::string& path, std::vector<uint8_t>& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& contents) {
    std::string temporary = path + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(contents.data()), std::streamsize(contents.size()));
    out.close();
    if (!out || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace tarsk
