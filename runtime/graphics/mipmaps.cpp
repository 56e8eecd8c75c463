#include "runtime/graphics/mipmaps.h"

namespace tarsk {
namespace {

uint32_t average(const uint32_t* argb, int count) {
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t sum = 0;
        for (int i = 0; i < count; ++i) sum += (argb[i] >> shift) & 0xFF;
        result |= (sum / uint32_t(count)) << shift;
    }
    return result;
}

}  // namespace

void buildMipmaps(Surface& surface) {
    const gxPixelFormat& f = surface.format;
    if (!f.valid()) return;
    int32_t bpp = f.bytesPerPixel();
    for (size_t level = 1; level < surface.levels.size(); ++level) {
        const SurfaceLevel& up = surface.levels[level - 1];
        SurfaceLevel& down = surface.levels[level];
        auto at = [&](int32_t x, int32_t y) { return f.read(up.bytes.data() + size_t(y) * up.pitch + size_t(x) * bpp); };
        for (int32_t y = 0; y < down.height; ++y) {
            for (int32_t x = 0; x < down.width; ++x) {
                uint32_t px[4];
                int count;
                if (up.width == 1) {
                    px[0] = at(0, 2 * y), px[1] = at(0, 2 * y + 1), count = 2;
                } else if (up.height == 1) {
                    px[0] = at(2 * x, 0), px[1] = at(2 * x + 1, 0), count = 2;
                } else {
                    px[0] = at(2 * x, 2 * y), px[1] = at(2 * x + 1, 2 * y);
                    px[2] = at(2 * x, 2 * y + 1), px[3] = at(2 * x + 1, 2 * y + 1), count = 4;
                }
                f.write(down.bytes.data() + size_t(y) * down.pitch + size_t(x) * bpp, average(px, count));
            }
        }
    }
}

}  // namespace tarsk
