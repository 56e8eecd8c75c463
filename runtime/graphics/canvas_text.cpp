// Text on a canvas: the characters that reach into the viewport, drawn in the canvas font.
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_font.h"

namespace tarsk {

void gxCanvas::drawText(int32_t x, int32_t y, std::string_view text) {
    if (!font_) return;
    int64_t top = int64_t(y) + originY_, left = int64_t(x) + originX_;
    if (top >= viewport_.bottom || top + font_->fontHeight() <= viewport_.top || left >= viewport_.right) return;
    size_t first = 0;
    for (; first < text.size(); ++first) {
        int32_t width = font_->charWidth(static_cast<unsigned char>(text[first]));
        if (left + width > viewport_.left) break;
        left += width;
    }
    size_t end = first;
    for (int64_t at = left; end < text.size() && at < viewport_.right; ++end)
        at += font_->charWidth(static_cast<unsigned char>(text[end]));
    if (end > first) font_->render(*this, ink(), int32_t(left - originX_), y, text.substr(first, end - first));
}

}  // namespace tarsk
