#include "runtime/io/path_resolution.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <optional>

namespace tarsk {
namespace {

bool exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The first entry of folder (byte order) equal to name ignoring case.
std::optional<std::string> caseInsensitiveEntry(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) != 0) continue;
        if (!best || *best > entry->d_name) best = entry->d_name;
    }
    closedir(dir);
    return best;
}

}  // namespace

std::string normalizedPath(std::string_view programPath) {
    std::string path(programPath);
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.size() >= 2 && (path[0] == 'c' || path[0] == 'C') && path[1] == ':') {
        path.erase(0, 2);
        if (path.empty() || path[0] != '/') path.insert(0, 1, '/');
    }
    return path;
}

std::string resolvePath(std::string_view programPath) {
    std::string path = normalizedPath(programPath);
    if (path.empty() || exists(path)) return path;

    std::string resolved = path[0] == '/' ? "/" : "";
    size_t begin = resolved.size();
    bool matching = true;
    while (begin <= path.size()) {
        size_t end = path.find('/', begin);
        if (end == std::string::npos) end = path.size();
        std::string component = path.substr(begin, end - begin);
        if (!component.empty()) {
            std::string candidate = resolved + component;
            if (matching && component != "." && component != ".." && !exists(candidate)) {
                if (auto entry = caseInsensitiveEntry(resolved, component)) {
                    candidate = resolved + *entry;
                } else {
                    matching = false;
                }
            }
            resolved = candidate;
        }
        if (end < path.size()) resolved += '/';
        begin = end + 1;
    }
    return resolved;
}

}  // namespace tarsk
