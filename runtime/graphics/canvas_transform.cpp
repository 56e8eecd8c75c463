#include "runtime/graphics/canvas_transform.h"

#include <algorithm>
#include <cmath>

#include "runtime/graphics/gx_display.h"

namespace tarsk {
namespace {

// Rounds (v + 0.5 truncated) each channel of the weighted sum of four ARGB values; alpha 0.
uint32_t blend(const uint32_t p[4], const float w[4]) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        float sum = 0.5f;
        for (int i = 0; i < 4; ++i) sum += w[i] * float((p[i] >> shift) & 0xFF);
        result |= std::min(uint32_t(sum), 255u) << shift;
    }
    return result;
}

}  // namespace

gxCanvas* transformCanvas(gxDisplay& display, gxCanvas& source, float a, float b, float c, float d, bool bilinear) {
    float e = 1.0f / (a * d - c * b);
    float ia = d * e, ic = -c * e, ib = -b * e, id = a * e;
    float hx = float(source.handleX()), hy = float(source.handleY());
    float w = float(source.width()), h = float(source.height());
    const float cornerX[4] = {-hx, w - hx, w - hx, -hx}, cornerY[4] = {-hy, -hy, h - hy, h - hy};
    float minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (int i = 0; i < 4; ++i) {
        float x = a * cornerX[i] + c * cornerY[i], y = b * cornerX[i] + d * cornerY[i];
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    constexpr float kLargest = 1 << 24;  // far beyond any canvas side, still exact in an int32
    if (!(std::max({-minX, -minY, maxX, maxY}) < kLargest)) return nullptr;
    int32_t left = int32_t(std::floor(minX)), top = int32_t(std::floor(minY));
    gxCanvas* result = display.makeCanvas(int32_t(std::ceil(maxX)) - left, int32_t(std::ceil(maxY)) - top, 0);
    if (!result) return nullptr;
    result->placeHandle(-left, -top);
    result->setKeyColour(source.keyColour());
    source.beginAccess();
    result->beginAccess();
    for (int32_t j = 0; j < result->height(); ++j) {
        for (int32_t i = 0; i < result->width(); ++i) {
            float px = float(left + i) + 0.5f, py = float(top + j) + 0.5f;
            float sx = px * ia + py * ic + hx, sy = px * ib + py * id + hy;
            uint32_t argb;
            if (bilinear) {
                float fx = sx - 0.5f, fy = sy - 0.5f, x0 = std::floor(fx), y0 = std::floor(fy);
                float u = fx - x0, v = fy - y0;
                int32_t x = int32_t(x0), y = int32_t(y0);
                const uint32_t p[4] = {source.peekPixel(x, y), source.peekPixel(x + 1, y), source.peekPixel(x, y + 1),
                                       source.peekPixel(x + 1, y + 1)};
                const float weights[4] = {(1 - u) * (1 - v), u * (1 - v), (1 - u) * v, u * v};
                argb = blend(p, weights);
            } else {
                argb = source.peekPixel(int32_t(std::floor(sx)), int32_t(std::floor(sy)));
            }
            result->pokePixel(i, j, argb);
        }
    }
    result->endAccess();
    source.endAccess();
    return result;
}

}  // namespace tarsk
