#include "runtime/graphics/dds_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tarsk {
namespace {

constexpr uint32_t kDescriptionSize = 124;
constexpr uint32_t kHasMipmapCount = 0x20000;
constexpr uint32_t kLargestSide = 16384;

uint32_t word(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

uint32_t code(const char* text) {
    uint32_t v;
    std::memcpy(&v, text, 4);
    return v;
}

}  // namespace

bool isDdsPath(std::string_view path) {
    size_t at = path.find(".dds");
    return at != std::string_view::npos && at + 4 == path.size();
}

std::unique_ptr<Surface> readDdsFile(const std::string& path) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return nullptr;
    uint8_t header[4 + kDescriptionSize];
    if (std::fread(header, 1, sizeof header, file.get()) != sizeof header) return nullptr;
    if (std::memcmp(header, "DDS ", 4) != 0 || word(header + 4) != kDescriptionSize) return nullptr;
    const uint8_t* d = header + 4;
    uint32_t flags = word(d + 4), height = word(d + 8), width = word(d + 12), mipmaps = word(d + 24);
    uint32_t fourCC = word(d + 80);
    uint32_t blockBytes = fourCC == code("DXT1") ? 8 : (fourCC == code("DXT3") || fourCC == code("DXT5")) ? 16 : 0;
    if (!blockBytes || width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) return nullptr;
    uint32_t levels = (flags & kHasMipmapCount) && mipmaps > 0 ? mipmaps : 1;
    uint32_t mostLevels = 1;
    for (uint32_t side = std::max(width, height); side > 1; side /= 2) ++mostLevels;
    levels = std::min(levels, mostLevels);

    auto surface = std::make_unique<Surface>();
    surface->fourCC = fourCC;
    for (uint32_t i = 0; i < levels; ++i) {
        SurfaceLevel level;
        level.width = int32_t(width);
        level.height = int32_t(height);
        level.pitch = int32_t((width + 3) / 4 * blockBytes);
        level.bytes.resize(size_t((width + 3) / 4) * ((height + 3) / 4) * blockBytes);
        if (std::fread(level.bytes.data(), 1, level.bytes.size(), file.get()) != level.bytes.size()) return nullptr;
        surface->levels.push_back(std::move(level));
        width = std::max(width / 2, 1u);
        height = std::max(height / 2, 1u);
    }
    return surface;
}

}  // namespace tarsk
