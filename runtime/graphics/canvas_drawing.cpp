// The canvas primitives: dots, rectangles, lines and ovals in the canvas ink.
#include <algorithm>
#include <cmath>
#include <cwchar>

#include "runtime/graphics/gx_canvas.h"

static_assert(sizeof(wchar_t) == 4);

namespace tarsk {

void gxCanvas::fillClipped(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t stored) {
    left = std::max<int64_t>(left, viewport_.left);
    top = std::max<int64_t>(top, viewport_.top);
    right = std::min<int64_t>(right, viewport_.right);
    bottom = std::min<int64_t>(bottom, viewport_.bottom);
    if (!format_.valid() || right <= left || bottom <= top) return;
    uint8_t* pixels = cpuPixels();
    int32_t bpp = format_.bytesPerPixel(), pitch = current_->pitch();
    size_t count = size_t(right - left);
    for (int64_t y = top; y < bottom; ++y) {
        uint8_t* row = pixels + size_t(y) * pitch + size_t(left) * bpp;
        if (bpp == 4) {
            // The C library's wide fill is vectorised; wchar_t is 32 bits here.
            std::wmemset(reinterpret_cast<wchar_t*>(row), wchar_t(stored), count);
        } else if (bpp == 2) {
            std::fill_n(reinterpret_cast<uint16_t*>(row), count, uint16_t(stored));
        } else {
            for (size_t x = 0; x < count; ++x) format_.writeStored(row + x * bpp, stored);
        }
    }
    changed();
    if (hasMask()) updateBitMask({int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)});
}

void gxCanvas::dot(int32_t x, int32_t y) {
    int64_t px = int64_t(x) + originX_, py = int64_t(y) + originY_;
    fillClipped(px, py, px + 1, py + 1, inkStored_);
}

void gxCanvas::drawRect(int32_t x, int32_t y, int32_t width, int32_t height, bool solid) {
    int64_t left = int64_t(x) + originX_, top = int64_t(y) + originY_;
    int64_t right = left + width, bottom = top + height;
    if (std::min<int64_t>(right, viewport_.right) <= std::max<int64_t>(left, viewport_.left) ||
        std::min<int64_t>(bottom, viewport_.bottom) <= std::max<int64_t>(top, viewport_.top))
        return;
    if (solid) {
        fillClipped(left, top, right, bottom, inkStored_);
        return;
    }
    fillClipped(left, top, right, top + 1, inkStored_);
    fillClipped(left, top, left + 1, bottom, inkStored_);
    fillClipped(right - 1, top, right, bottom, inkStored_);
    fillClipped(left, bottom - 1, right, bottom, inkStored_);
}

namespace {

enum Outcode : int { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

struct Bounds {
    int64_t left, top, right, bottom;  // inclusive
    int code(int64_t x, int64_t y) const {
        return (x < left ? kLeft : x > right ? kRight : 0) | (y < top ? kTop : y > bottom ? kBottom : 0);
    }
};

// Moves (x, y) onto the first boundary it violates, in the order bottom, top, right, left;
// the other coordinate moves by the line's slope, truncated towards zero.
void clipEnd(int64_t& x, int64_t& y, int code, int64_t dx, int64_t dy, const Bounds& b) {
    auto along = [](int64_t distance, int64_t other, int64_t delta) {
        return int64_t(__int128(distance) * other / delta);
    };
    if (code & kBottom) {
        x += along(b.bottom - y, dx, dy), y = b.bottom;
    } else if (code & kTop) {
        x += along(b.top - y, dx, dy), y = b.top;
    } else if (code & kRight) {
        y += along(b.right - x, dy, dx), x = b.right;
    } else {
        y += along(b.left - x, dy, dx), x = b.left;
    }
}

}  // namespace

void gxCanvas::drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!format_.valid() || viewport_.empty()) return;
    int64_t ax = int64_t(x1) + originX_, ay = int64_t(y1) + originY_;
    int64_t bx = int64_t(x2) + originX_, by = int64_t(y2) + originY_;
    Bounds bounds{viewport_.left, viewport_.top, viewport_.right - 1, viewport_.bottom - 1};
    int codeA = bounds.code(ax, ay), codeB = bounds.code(bx, by);
    while (codeA | codeB) {
        if (codeA & codeB) return;
        if (codeA) {
            clipEnd(ax, ay, codeA, bx - ax, by - ay, bounds);
            codeA = bounds.code(ax, ay);
        } else {
            clipEnd(bx, by, codeB, bx - ax, by - ay, bounds);
            codeB = bounds.code(bx, by);
        }
    }
    if (!beginAccess()) return;
    int32_t x = int32_t(ax), y = int32_t(ay);
    int32_t dx = int32_t(bx - ax), dy = int32_t(by - ay);
    int32_t stepX = dx < 0 ? -1 : 1, stepY = dy < 0 ? -1 : 1;
    dx = std::abs(dx), dy = std::abs(dy);
    // The ink's stored value is what the converter makes of it; each pixel counts once.
    int32_t bpp = format_.bytesPerPixel();
    auto plot = [&](int32_t px, int32_t py) {
        uint8_t* at = lockedPixels_ + size_t(py) * pitch_ + size_t(px) * bpp;
        if (bpp == 4) {
            *reinterpret_cast<uint32_t*>(at) = inkStored_;
        } else if (bpp == 2) {
            *reinterpret_cast<uint16_t*>(at) = uint16_t(inkStored_);
        } else {
            format_.writeStored(at, inkStored_);
        }
    };
    int32_t pixels = std::max(dx, dy) + 1;
    if (dx > dy) {
        for (int32_t i = 0, error = -dx; i <= dx; ++i, x += stepX) {
            plot(x, y);
            if ((error += 2 * dy) >= 0) y += stepY, error -= 2 * dx;
        }
    } else {
        for (int32_t i = 0, error = -dy; i <= dy; ++i, y += stepY) {
            plot(x, y);
            if ((error += 2 * dx) >= 0) x += stepX, error -= 2 * dy;
        }
    }
    modCount_.store(modificationCount() + uint32_t(pixels), std::memory_order_relaxed);
    ++current_->version;
    endAccess();
}

void gxCanvas::drawOval(int32_t x, int32_t y, int32_t width, int32_t height, bool solid) {
    int64_t left = int64_t(x) + originX_, top = int64_t(y) + originY_;
    int64_t clipTop = std::max<int64_t>(top, viewport_.top), clipBottom = std::min<int64_t>(top + height, viewport_.bottom);
    if (std::min<int64_t>(left + width, viewport_.right) <= std::max<int64_t>(left, viewport_.left) ||
        clipBottom <= clipTop)
        return;
    float ry = float(height) * 0.5f, aspect = float(width) / float(height);
    float cx = float(width) * 0.5f + float(left) + 0.5f, cy = float(top) + ry - 0.5f;
    auto edges = [&](int64_t row, int64_t& l, int64_t& r) {
        float d = float(row) - cy;
        float hw = std::sqrt(std::max(ry * ry - d * d, 0.0f)) * aspect;
        l = int64_t(std::floor(cx - hw));
        r = int64_t(std::floor(cx + hw));
    };
    int64_t l, r;
    if (solid) {
        for (int64_t row = clipTop; row < clipBottom; ++row) {
            edges(row, l, r);
            if (l < r) fillClipped(l, row, r, row + 1, inkStored_);
        }
        return;
    }
    // Each row joins its edges to the previous row's, so the sides stay connected.
    int64_t middle = int64_t(std::floor(cy)), centre = int64_t(cx);
    auto walk = [&](int64_t from, int64_t to, int64_t step) {
        int64_t prevL = centre, prevR = centre;
        for (int64_t row = from; step > 0 ? row <= to : row >= to; row += step) {
            edges(row, l, r);
            fillClipped(l, row, std::max(prevL, l + 1), row + 1, inkStored_);
            fillClipped(std::min(prevR, r - 1), row, r, row + 1, inkStored_);
            prevL = l, prevR = r;
        }
    };
    walk(clipTop > top ? clipTop - 1 : top, std::min(middle, clipBottom - 1), 1);
    walk(clipBottom < top + height ? clipBottom : top + height - 1, std::max(middle + 1, clipTop), -1);
}

}  // namespace tarsk
