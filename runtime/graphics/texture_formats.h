// The texture formats and size limits of the GL device, and the choice of the two sets
// of four formats (colour, alpha, colour with alpha, masked) that textures are made in.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/graphics/pixel_format.h"

namespace tarsk {

// Texture sizes the device takes: powers of two from 1 to 4096 on each side, any aspect ratio.
constexpr int32_t kTextureMinSize = 1;
constexpr int32_t kTextureMaxSize = 4096;
constexpr int32_t kTextureMaxAspect = 0;  // 0: no limit
constexpr bool kTextureSquareOnly = false;

// The formats the device offers for textures, in the order it reports them.
constexpr PixelLayout kTextureLayouts[] = {PixelLayout::kX8R8G8B8, PixelLayout::kA8R8G8B8, PixelLayout::kR5G6B5,
                                           PixelLayout::kA1R5G5B5, PixelLayout::kA4R4G4B4};

enum TextureRole : int32_t { kColourTexture = 0, kAlphaTexture = 1, kColourAlphaTexture = 2, kMaskedTexture = 3 };
using TextureFormatSet = std::array<gxPixelFormat, 4>;

// Set 0 (ordinary textures) or set 1 (high-colour textures) for a front buffer of that format.
TextureFormatSet chooseTextureFormats(const std::vector<gxPixelFormat>& offered, const gxPixelFormat& front,
                                      bool highColour);

struct TextureSize {
    int32_t width, height;
};
// Rounds each side up to a power of two, then applies the device's limits.
TextureSize adjustTextureSize(int32_t width, int32_t height);

}  // namespace tarsk
