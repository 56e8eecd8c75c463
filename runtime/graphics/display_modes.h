// Graphics drivers and their display modes, and the mapping of the Graphics mode argument.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarsk {

enum GraphicsFlags : int32_t {
    GRAPHICS_WINDOWED = 1,
    GRAPHICS_SCALED = 2,
    GRAPHICS_3D = 4,
    GRAPHICS_AUTOSUSPEND = 8,
};

struct gxMode {
    int32_t width, height, depth;
    bool is3D;
};

struct gxDriver {
    std::string name;
    int32_t screen = 0;  // the platform's display index
    int32_t desktopWidth = 0, desktopHeight = 0;
    std::vector<int32_t> renderDepths;  // depths the 3D device renders at
    std::vector<gxMode> modes;
    bool is3D() const { return !renderDepths.empty(); }
    bool hasMode(int32_t width, int32_t height, int32_t depth) const;
};

struct ModeSize {
    int32_t width, height;
};

// The flags for a Graphics (or Graphics3D) mode argument; -1 for an illegal argument.
int32_t graphicsFlagsFor(int32_t mode, bool graphics3D, bool debugChecks, bool desktop3DCapable);

// The platform's sizes, then the standard sizes that fit the desktop, each at 16, 24 and
// 32 bits; every mode at a render depth is 3D capable.
std::vector<gxMode> buildModeList(const std::vector<ModeSize>& platformSizes, ModeSize desktop,
                                  const std::vector<int32_t>& renderDepths);

// The drivers of the platform's displays in its order; one offscreen driver without any.
std::vector<gxDriver> enumerateDrivers();

// The desktop depth of the first driver.
constexpr int32_t kDesktopDepth = 32;

}  // namespace tarsk
