#include "runtime/graphics/texture_formats.h"

#include <algorithm>
#include <bit>

namespace tarsk {
namespace {

int32_t alphaBits(const gxPixelFormat& f) { return std::popcount(f.alphaMask()); }
int32_t colourBits(const gxPixelFormat& f) {
    return std::popcount(f.redMask()) + std::popcount(f.greenMask()) + std::popcount(f.blueMask());
}

// Scans with growing limits from the front depth; set 0 stops at the first limit with a
// candidate, set 1 goes on to 32 bits. A candidate replaces the choice on a measure at
// least as good, and on an equal measure only with fewer bits.
template <class Eligible, class Measure>
const gxPixelFormat* search(const std::vector<gxPixelFormat>& offered, int32_t frontDepth, bool highColour,
                            Eligible eligible, Measure measure, const gxPixelFormat** fallback = nullptr) {
    const gxPixelFormat* best = nullptr;
    for (int32_t limit = frontDepth; limit <= 32; limit += 8) {
        for (const gxPixelFormat& f : offered) {
            if (!eligible(f, limit)) continue;
            if (fallback && alphaBits(f) == 8 && f.depth() == 16) {
                *fallback = &f;
                continue;
            }
            if (!best || measure(f) > measure(*best) || (measure(f) == measure(*best) && f.depth() < best->depth()))
                best = &f;
        }
        if (best && !highColour) break;
    }
    return best;
}

}  // namespace

TextureFormatSet chooseTextureFormats(const std::vector<gxPixelFormat>& offered, const gxPixelFormat& front,
                                      bool highColour) {
    TextureFormatSet set;
    int32_t depth = front.depth();
    auto pick = [&](const gxPixelFormat* found, const gxPixelFormat* fallback = nullptr) {
        return found ? *found : fallback ? *fallback : front;
    };
    set[kColourTexture] = pick(search(
        offered, depth, highColour, [](const gxPixelFormat& f, int32_t l) { return f.depth() <= l && colourBits(f); },
        colourBits));
    set[kAlphaTexture] = pick(search(
        offered, depth, highColour, [](const gxPixelFormat& f, int32_t l) { return f.depth() <= l && alphaBits(f); },
        alphaBits));
    const gxPixelFormat* fallback = nullptr;
    const gxPixelFormat* both = search(
        offered, depth, highColour,
        [](const gxPixelFormat& f, int32_t l) { return f.depth() <= l && alphaBits(f) && colourBits(f); }, alphaBits,
        &fallback);
    set[kColourAlphaTexture] = pick(both, fallback);
    set[kMaskedTexture] = pick(search(
        offered, depth, highColour, [](const gxPixelFormat& f, int32_t) { return alphaBits(f) && colourBits(f); },
        colourBits));
    return set;
}

TextureSize adjustTextureSize(int32_t width, int32_t height) {
    auto pow2 = [](int32_t v) { return int32_t(std::bit_ceil(uint32_t(std::max(v, 1)))); };
    int32_t w = pow2(width), h = pow2(height);
    if (kTextureSquareOnly) w = h = std::max(w, h);
    if constexpr (kTextureMaxAspect > 0) {
        if (w / h > kTextureMaxAspect) h = w / kTextureMaxAspect;
        if (h / w > kTextureMaxAspect) w = h / kTextureMaxAspect;
    }
    w = std::clamp(w, kTextureMinSize, kTextureMaxSize);
    h = std::clamp(h, kTextureMinSize, kTextureMaxSize);
    return {w, h};
}

}  // namespace tarsk
