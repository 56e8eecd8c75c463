// Keeps the GL copy of a CPU pixel store in step with it. The store is the authority:
// - before the CPU reads or writes a store that was rendered into, the rendered picture
//   is read back once (syncForCpu);
// - a texture is uploaded when it is next used and the store changed since (textureOf);
// - rendering into a store goes between beginRender and endRender.
// Canvases call syncForCpu on every CPU access; renderers only use the three GL calls,
// so they never need to know which side is newer.
#pragma once

#include <cstdint>

#include "runtime/graphics/surface.h"

namespace tarsk {

class GlDevice;

void readBackRendered(Surface& surface);
inline void syncForCpu(Surface& surface) {
    if (surface.gl.gpuNewer) readBackRendered(surface);
}

// The GL texture of the store (RGBA8; channels the format lacks read as opaque or full).
uint32_t textureOf(GlDevice& device, Surface& surface);
// Binds the store's framebuffer (with a depth buffer when the canvas attached one) and
// sets the viewport to the whole store; false for a compressed store.
bool beginRender(GlDevice& device, Surface& surface);
// The render is done: the GL copy is now the newer side.
void endRender(Surface& surface);

}  // namespace tarsk
