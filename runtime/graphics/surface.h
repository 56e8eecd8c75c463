// The CPU pixel store behind a canvas: the authority for its pixels. A GL copy of it
// (gl_copy.h) follows it by version numbers.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/graphics/gl_copy.h"
#include "runtime/graphics/pixel_format.h"

namespace tarsk {

struct SurfaceLevel {
    int32_t width = 0, height = 0, pitch = 0;
    std::vector<uint8_t> bytes;
};

struct Surface {
    gxPixelFormat format;          // empty for a block-compressed store
    uint32_t fourCC = 0;           // "DXT1", "DXT3" or "DXT5" for a compressed store
    bool systemMemory = false;     // made in system memory (CV_SYSMEM, CV_SYSMEM_ARGB)
    std::vector<SurfaceLevel> levels;  // level 0 is the picture, then the mipmaps
    uint64_t version = 0;          // counts changes made on the CPU side
    GlCopy gl;

    int32_t width() const { return levels[0].width; }
    int32_t height() const { return levels[0].height; }
    int32_t pitch() const { return levels[0].pitch; }
    uint8_t* pixels() { return levels[0].bytes.data(); }

    // An RGB store of that size, with a mipmap chain down to 1 x 1 when asked.
    static std::unique_ptr<Surface> make(int32_t width, int32_t height, const gxPixelFormat& format,
                                         bool mipmaps);
};

}  // namespace tarsk
