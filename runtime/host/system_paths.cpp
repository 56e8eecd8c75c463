#include "runtime/host/system_paths.h"

#include <unistd.h>

#include <climits>

namespace tarsk {

std::string executablePath() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, size_t(length)) : std::string();
}

std::string executableFolder() {
    std::string path = executablePath();
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace tarsk
