// The GL objects that mirror one CPU pixel store, and what says which side is newer.
#pragma once

#include <cstdint>

namespace tarsk {

class GlDevice;

struct GlCopy {
    GlDevice* device = nullptr;  // set when the first GL object is made
    uint32_t texture = 0;
    uint32_t framebuffer = 0;    // made on the first render into the store
    uint32_t depthBuffer = 0;
    bool wantsDepth = false;     // a depth buffer goes with the framebuffer
    uint64_t uploadedVersion = 0;  // store version the texture holds
    bool uploaded = false;
    bool gpuNewer = false;       // rendered into since the store was last read back

    GlCopy() = default;
    GlCopy(const GlCopy&) = delete;
    GlCopy& operator=(const GlCopy&) = delete;
    ~GlCopy();
};

}  // namespace tarsk
