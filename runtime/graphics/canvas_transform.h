// The affine transform of a canvas into a new one: the matrix maps (x, y) to
// (a x + c y, b x + d y) around the canvas handle, with bilinear or nearest sampling.
#pragma once

#include "runtime/graphics/gx_canvas.h"

namespace tarsk {

// A new canvas of the display (flags 0) holding the transformed picture, its handle at the
// transformed origin and the source's mask colour; nullptr when it cannot be made.
gxCanvas* transformCanvas(gxDisplay& display, gxCanvas& source, float a, float b, float c, float d, bool bilinear);

}  // namespace tarsk
