#include "runtime/graphics/buffer_files.h"

#include <cstdio>
#include <unistd.h>
#include <vector>

#include "runtime/graphics/canvas_transform.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/io/path_resolution.h"

namespace tarsk {
namespace {

constexpr uint32_t kHeaderBytes = 54;

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::vector<uint8_t> bmpHeader(uint32_t width, uint32_t height, uint32_t rowBytes) {
    std::vector<uint8_t> h;
    h.push_back('B');
    h.push_back('M');
    put32(h, height * rowBytes + kHeaderBytes);
    put32(h, 0);  // two reserved 16-bit fields
    put32(h, kHeaderBytes);
    put32(h, 40);
    put32(h, width);
    put32(h, height);
    put16(h, 1);   // planes
    put16(h, 24);  // bits per pixel
    for (int i = 0; i < 6; ++i) put32(h, 0);  // compression, image size, resolutions, colours
    return h;
}

}  // namespace

bool saveBufferBmp(gxCanvas& canvas, const std::string& path) {
    if (!canvas.format().valid()) return false;
    std::string file = resolvePath(path);
    std::string temporary = file + ".tmp" + std::to_string(getpid());
    FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) return false;
    uint32_t width = uint32_t(canvas.width()), height = uint32_t(canvas.height());
    uint32_t rowBytes = (width * 3 + 3) & ~3u;
    std::vector<uint8_t> bytes = bmpHeader(width, height, rowBytes);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    std::vector<uint8_t> row(rowBytes, 0);
    canvas.beginAccess();
    for (int32_t y = int32_t(height) - 1; ok && y >= 0; --y) {
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t argb = canvas.peekPixelFast(int32_t(x), y);
            row[3 * x] = uint8_t(argb);
            row[3 * x + 1] = uint8_t(argb >> 8);
            row[3 * x + 2] = uint8_t(argb >> 16);
        }
        ok = std::fwrite(row.data(), 1, rowBytes, out) == rowBytes;
    }
    canvas.endAccess();
    ok = (std::fclose(out) == 0) && ok;
    if (ok) ok = std::rename(temporary.c_str(), file.c_str()) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
}

bool loadBuffer(gxDisplay& display, gxCanvas& canvas, const std::string& path, bool bilinear) {
    gxCanvas* loaded = display.readCanvasFile(path, 0);
    if (!loaded) return false;
    float sx = float(canvas.width()) / float(loaded->width()), sy = float(canvas.height()) / float(loaded->height());
    gxCanvas* scaled = transformCanvas(display, *loaded, sx, 0, 0, sy, bilinear);
    display.dropCanvas(loaded);
    if (!scaled) return false;
    int32_t originX = canvas.originX(), originY = canvas.originY();
    canvas.moveOrigin(0, 0);
    canvas.copyArea(0, 0, scaled, 0, 0, scaled->width(), scaled->height(), true);
    canvas.moveOrigin(originX, originY);
    display.dropCanvas(scaled);
    return true;
}

}  // namespace tarsk
