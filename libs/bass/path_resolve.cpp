#include "path_resolve.h"

#include <strings.h>

#include <filesystem>

namespace tarsk::bass {

std::string resolvePath(const std::string& path) {
  std::string p = path;
  for (char& c : p) if (c == '\\') c = '/';
  if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') p = p.substr(2);
  if (p.empty()) return p;
  std::error_code ec;
  if (std::filesystem::exists(p, ec)) return p;
  std::filesystem::path result = p[0] == '/' ? "/" : ".";
  for (const auto& part : std::filesystem::path(p).relative_path()) {
    std::filesystem::path exact = result / part;
    if (std::filesystem::exists(exact, ec)) { result = exact; continue; }
    bool found = false;
    for (const auto& entry : std::filesystem::directory_iterator(result, ec)) {
      if (strcasecmp(entry.path().filename().c_str(), part.c_str()) == 0) {
        result = entry.path();
        found = true;
        break;
      }
    }
    if (!found) return p;
  }
  return result.lexically_normal().string();
}

}  // namespace tarsk::bass
