// Mipmap levels of an RGB store, each from the level above by truncated 2 x 2 averages.
#pragma once

#include "runtime/graphics/surface.h"

namespace tarsk {

// Every level below the top becomes the per-channel truncated average of the 2 x 2 pixels
// above it (alpha included); where a side of the level above is 1 pixel, of the two
// pixels along the other side.
void buildMipmaps(Surface& surface);

}  // namespace tarsk
