#include "runtime/graphics/gx_font.h"

#include <algorithm>
#include <cmath>

#include "runtime/graphics/ansi_characters.h"
#include "runtime/graphics/glyph_rasteriser.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/arena.h"

namespace tarsk {
namespace {

constexpr uint32_t kFirstChar = 30, kEndChar = 256;
constexpr uint32_t kBlackStandIn = 0x000010;

// Taller fonts would need a strip beyond the largest canvas side at any display width.
constexpr int32_t kLargestHeight = 1024;

struct Cell {
    int32_t shift = 0;  // columns the glyph moves right so its leading bearing fits the cell
    int32_t width = 0;  // the cell: advance plus what the bearings overhang
    int32_t x = 0, y = 0;
};

}  // namespace

gxFont::gxFont(gxDisplay& display, gxCanvas* strip, gxCanvas* scratch, int32_t width, int32_t height)
    : display_(display), strip_(strip), scratch_(scratch), width_(width), height_(height) {}

gxFont::~gxFont() {
    display_.dropCanvas(scratch_);
    display_.dropCanvas(strip_);
}

gxFont* gxFont::make(gxDisplay& display, const std::string& faceFile, int32_t faceIndex, bool faceBold,
                     bool faceItalic, int32_t height, int32_t style) {
    if (height < 1 || height > kLargestHeight) return nullptr;
    auto rasteriser = GlyphRasteriser::open(FaceFile{faceFile, faceIndex, faceBold, faceItalic}, height,
                                            style & kFontBold, style & kFontItalic);
    if (!rasteriser) return nullptr;
    int32_t rowLimit = display.frontCanvas()->width();
    std::vector<Cell> cells(kEndChar - kFirstChar);
    int32_t x = 0, y = 0, stripWidth = 0, widest = 0;
    for (uint32_t code = kFirstChar; code < kEndChar; ++code) {
        // Measured here and rendered again below, so one glyph's pixels are held at a time.
        Cell& cell = cells[code - kFirstChar];
        Glyph g = rasteriser->render(unicodeOfAnsi(code));
        cell.width = g.advance;
        if (g.left < 0) cell.shift = -g.left, cell.width += cell.shift;
        if (int32_t trailing = g.advance - g.left - g.width; trailing < 0) cell.width -= trailing;
        if (x > 0 && x + cell.width > rowLimit) x = 0, y += height;
        cell.x = x, cell.y = y;
        x += cell.width;
        stripWidth = std::max(stripWidth, x);
        widest = std::max(widest, cell.width);
    }
    gxCanvas* strip = display.makeCanvas(std::max(stripWidth, 1), y + height, 0);
    if (!strip) return nullptr;
    if (!strip->beginAccess()) {
        display.dropCanvas(strip);
        return nullptr;
    }
    for (uint32_t code = kFirstChar; code < kEndChar; ++code) {
        const Cell& cell = cells[code - kFirstChar];
        Glyph g = rasteriser->render(unicodeOfAnsi(code));
        // Clipped to its cell.
        for (int32_t gy = 0; gy < g.rows; ++gy) {
            int32_t py = g.top + gy;
            if (py < 0 || py >= height) continue;
            for (int32_t gx = 0; gx < g.width; ++gx) {
                int32_t px = g.left + cell.shift + gx;
                if (px < 0 || px >= cell.width || !g.ink[size_t(gy) * g.width + gx]) continue;
                strip->pokePixelFast(cell.x + px, cell.y + py, 0xFFFFFFFFu);
            }
        }
        if (style & kFontUnderline)
            for (int32_t row = 0; row < rasteriser->underlineRows(); ++row)
                for (int32_t px = 0; px < cell.width; ++px)
                    strip->pokePixelFast(cell.x + px, cell.y + rasteriser->underlineTop() + row, 0xFFFFFFFFu);
    }
    strip->endAccess();
    strip->keepCopy();
    strip->setKeyColour(0xFFFFFF);
    gxCanvas* scratch = display.makeCanvas(rowLimit, height, 0);
    if (!scratch) {
        display.dropCanvas(strip);
        return nullptr;
    }
    auto* font = arenaNew<gxFont>(display, strip, scratch, widest, height);
    for (const Cell& cell : cells) {
        font->positions_.push_back(uint32_t(cell.x) << 16 | uint32_t(cell.y));
        font->widths_.push_back(cell.width);
    }
    return font;
}

int32_t gxFont::stringWidth(std::string_view text) const {
    int64_t width = 0;
    for (unsigned char c : text) width += charWidth(c);
    return int32_t(std::min<int64_t>(width, INT32_MAX));
}

void gxFont::render(gxCanvas& canvas, uint32_t argb, int32_t x, int32_t y, std::string_view text) {
    int32_t width = stringWidth(text);
    if (width <= 0) return;
    if (scratch_->width() < width) {
        gxCanvas* wider = display_.makeCanvas(width, height_, 0);
        if (!wider) return;
        display_.dropCanvas(scratch_);
        scratch_ = wider;
    }
    scratch_->setInk(argb);
    if ((scratch_->ink() & 0xFFFFFF) == 0) scratch_->setInk(kBlackStandIn);
    scratch_->drawRect(0, 0, width, height_, true);
    int32_t at = 0;
    for (unsigned char c : text) {
        uint32_t position = positions_[slot(c)];
        int32_t w = charWidth(c);
        scratch_->copyArea(at, 0, strip_, int32_t(position >> 16), int32_t(position & 0xFFFF), w, height_, false);
        at += w;
    }
    canvas.copyArea(x, y, scratch_, 0, 0, width, height_, false);
}

}  // namespace tarsk
