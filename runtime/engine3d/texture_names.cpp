#include "runtime/engine3d/texture_names.h"

#include <cctype>
#include <utility>
#include <vector>

#include "runtime/engine3d/texture.h"

namespace tarsk {
namespace {

struct Filter {
    std::string text;
    int32_t flags;
};

constexpr int32_t kDefaultFilterFlags = 1 | 8;  // colour and mipmaps

std::vector<Filter>& filters() {
    static std::vector<Filter> list{{"", kDefaultFilterFlags}};
    return list;
}

std::string& pathPrefix() {
    static std::string prefix;
    return prefix;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

void addTextureFilter(std::string_view text, int32_t flags) { filters().push_back({lowerCased(text), flags}); }

void clearTextureFilters() { filters().clear(); }

void resetTextureFilters() {
    clearTextureFilters();
    addTextureFilter("", kDefaultFilterFlags);
}

int32_t filterFlags(std::string_view name) {
    std::string lower = lowerCased(name);
    int32_t flags = 0;
    for (const Filter& filter : filters())
        if (lower.find(filter.text) != std::string::npos) flags |= filter.flags;
    return flags;
}

void setTexturePath(const std::string& directory) {
    std::string prefix = lowerCased(directory);
    if (!prefix.empty() && !isSeparator(prefix.back())) prefix += '\\';
    pathPrefix() = std::move(prefix);
}

const std::string& texturePath() { return pathPrefix(); }

std::string lowerCased(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::string_view withoutCurrentFolder(std::string_view name) {
    if (name.size() >= 2 && name[0] == '.' && isSeparator(name[1])) name.remove_prefix(2);
    return name;
}

std::string_view fileNamePart(std::string_view name) {
    size_t last = name.find_last_of("\\/");
    return last == std::string_view::npos ? name : name.substr(last + 1);
}

}  // namespace tarsk
