// gxFont: a face rasterised once into a strip canvas of white-on-black glyphs, drawn by
// copying glyphs. Bytes 30 ... 255 have glyphs (128 ... 255 the Windows-1252 characters);
// every other byte draws as the default character 31, the face's missing-glyph shape.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarsk {

class gxCanvas;
class gxDisplay;

enum FontStyle : int32_t { kFontBold = 1, kFontItalic = 2, kFontUnderline = 4 };

class gxFont {
public:
    // A font of the face with that cell height, or nullptr when the face cannot be opened or
    // the strip cannot be made. The display owns the result.
    static gxFont* make(gxDisplay& display, const std::string& faceFile, int32_t faceIndex, bool faceBold,
                        bool faceItalic, int32_t height, int32_t style);
    gxFont(gxDisplay& display, gxCanvas* strip, gxCanvas* scratch, int32_t width, int32_t height);
    ~gxFont();
    gxFont(const gxFont&) = delete;
    gxFont& operator=(const gxFont&) = delete;

    int32_t charWidth(uint32_t code) const { return widths_[slot(code)]; }
    bool hasChar(uint32_t code) const { return code >= first_ && code < end_; }
    int32_t stringWidth(std::string_view text) const;
    int32_t fontHeight() const { return height_; }
    int32_t fontWidth() const { return width_; }
    // Draws the text transparently at x, y (plus the canvas origin) in the colour; pure
    // black is drawn as 0x000010, since black is the scratch canvas's transparent colour.
    void render(gxCanvas& canvas, uint32_t argb, int32_t x, int32_t y, std::string_view text);

    gxCanvas* strip() const { return strip_; }

private:
    size_t slot(uint32_t code) const { return (hasChar(code) ? code : defaultChar_) - first_; }

    gxDisplay& display_;
    gxCanvas* strip_;
    gxCanvas* scratch_;
    int32_t width_, height_;
    uint32_t first_ = 30, end_ = 256, defaultChar_ = 31;
    std::vector<uint32_t> positions_;  // x << 16 | y in the strip
    std::vector<int32_t> widths_;
};

}  // namespace tarsk
