// Two-colour glyphs of one face at one cell height, through FreeType. Bold and italic are
// synthesised when the face lacks them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/graphics/font_config.h"

namespace tarsk {

struct Glyph {
    int32_t advance = 0;     // pixels to the next glyph's origin
    int32_t left = 0;        // leading bearing: first bitmap column relative to the origin
    int32_t top = 0;         // first bitmap row below the cell top
    int32_t width = 0, rows = 0;
    std::vector<uint8_t> ink;  // width x rows, 1 where the glyph is set
};

class GlyphRasteriser {
public:
    // nullptr when the file holds no scalable face FreeType can size.
    static std::unique_ptr<GlyphRasteriser> open(const FaceFile& face, int32_t cellHeight, bool bold, bool italic);
    ~GlyphRasteriser();
    GlyphRasteriser(const GlyphRasteriser&) = delete;
    GlyphRasteriser& operator=(const GlyphRasteriser&) = delete;

    // The glyph of a Unicode character; 0 (or a character the face lacks) gives its
    // missing-glyph shape.
    Glyph render(uint32_t character) const;
    // Rows of the underline below the cell top.
    int32_t underlineTop() const { return underlineTop_; }
    int32_t underlineRows() const { return underlineRows_; }

private:
    struct Face;
    explicit GlyphRasteriser(std::unique_ptr<Face> face);

    std::unique_ptr<Face> face_;
    int32_t ascent_ = 0;
    int32_t underlineTop_ = 0, underlineRows_ = 1;
};

}  // namespace tarsk
