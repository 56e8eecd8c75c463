// Canvas flags given when a canvas is made or loaded; the low bits are the texture flags
// of the 3D engine, passed through unchanged.
#pragma once

#include <cstdint>

namespace tarsk {

enum CanvasFlags : int32_t {
    CV_COLOUR = 1,
    CV_ALPHA = 2,
    CV_MASKED = 4,
    CV_MIPMAP = 8,
    CV_CUBE = 128,
    CV_VIDEOMEM = 256,
    CV_HICOLOUR = 512,
    CV_TEXTURE = 65536,
    CV_SYSMEM = 131072,
    CV_SYSMEM_ARGB = 262144,
};

}  // namespace tarsk
