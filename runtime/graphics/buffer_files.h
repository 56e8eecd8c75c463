// A buffer saved as a 24-bit BMP file, and a picture file loaded into a buffer.
#pragma once

#include <string>

namespace tarsk {

class gxCanvas;
class gxDisplay;

// The whole canvas, bottom row first, written to a temporary name and renamed over the
// file; false when the file cannot be opened or any write or the close fails.
bool saveBufferBmp(gxCanvas& canvas, const std::string& path);

// The picture stretched to the canvas size and copied onto it at 0, 0 (clipped to the
// viewport, origin ignored); false when the file cannot be loaded.
bool loadBuffer(gxDisplay& display, gxCanvas& canvas, const std::string& path, bool bilinear);

}  // namespace tarsk
