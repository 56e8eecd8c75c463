// Pictures read through the image library, and the alpha rules for canvases made from them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/graphics/surface.h"

namespace tarsk {

struct Picture {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> argb;  // top row first
    bool hasAlpha = false;       // 32 bits before conversion, or marked transparent
};

// The file type comes from the contents, else from the text after the last "."; nullopt
// when neither names a readable type or the load fails.
std::optional<Picture> readPicture(const std::string& path);

// In place, by the canvas flags: CV_ALPHA with CV_MASKED keys black out; CV_ALPHA alone on
// a picture without alpha takes the brightness as alpha (white unless CV_COLOUR); CV_ALPHA
// on a picture with alpha keeps it; without CV_ALPHA everything is opaque.
void applyAlphaRules(Picture& picture, int32_t flags);

// Nearest-neighbour copy of the picture onto the whole surface through its converter.
void scalePictureInto(const Picture& picture, Surface& surface);

}  // namespace tarsk
