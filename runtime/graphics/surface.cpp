#include "runtime/graphics/surface.h"

#include <algorithm>

namespace tarsk {

std::unique_ptr<Surface> Surface::make(int32_t width, int32_t height, const gxPixelFormat& format,
                                       bool mipmaps) {
    auto surface = std::make_unique<Surface>();
    surface->format = format;
    for (;;) {
        SurfaceLevel level;
        level.width = width;
        level.height = height;
        level.pitch = (width * format.bytesPerPixel() + 3) & ~3;
        level.bytes.assign(size_t(level.pitch) * size_t(height), 0);
        surface->levels.push_back(std::move(level));
        if (!mipmaps || (width == 1 && height == 1)) break;
        width = std::max(width / 2, 1);
        height = std::max(height / 2, 1);
    }
    return surface;
}

}  // namespace tarsk
