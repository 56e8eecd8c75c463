#include "runtime/graphics/glyph_rasteriser.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

namespace tarsk {
namespace {

// One FreeType library for the process, made on first use.
FT_Library library() {
    static struct Holder {
        FT_Library lib = nullptr;
        Holder() {
            if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        }
        ~Holder() {
            if (lib) FT_Done_FreeType(lib);
        }
    } holder;
    return holder.lib;
}

}  // namespace

struct GlyphRasteriser::Face {
    FT_Face face = nullptr;
    bool emboldens = false, slants = false;
    ~Face() {
        if (face) FT_Done_Face(face);
    }
};

GlyphRasteriser::GlyphRasteriser(std::unique_ptr<Face> face) : face_(std::move(face)) {}
GlyphRasteriser::~GlyphRasteriser() = default;

std::unique_ptr<GlyphRasteriser> GlyphRasteriser::open(const FaceFile& file, int32_t cellHeight, bool bold,
                                                       bool italic) {
    FT_Library lib = library();
    if (!lib || file.path.empty() || cellHeight < 1) return nullptr;
    auto face = std::make_unique<Face>();
    if (FT_New_Face(lib, file.path.c_str(), file.index, &face->face) != 0) {
        face->face = nullptr;
        return nullptr;
    }
    FT_Face f = face->face;
    if (!FT_IS_SCALABLE(f) || f->units_per_EM == 0) return nullptr;
    // The cell spans the face's whole ascent and descent, as the system metrics give them.
    int32_t ascender = f->ascender, descender = -f->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2)); os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascender = os2->usWinAscent;
        descender = os2->usWinDescent;
    }
    if (ascender + descender <= 0) return nullptr;
    double emPixels = double(cellHeight) * f->units_per_EM / double(ascender + descender);
    if (FT_Set_Char_Size(f, 0, FT_F26Dot6(std::lround(emPixels * 64.0)), 72, 72) != 0) return nullptr;
    face->emboldens = bold && !file.bold;
    face->slants = italic && !file.italic;
    std::unique_ptr<GlyphRasteriser> r(new GlyphRasteriser(std::move(face)));
    r->ascent_ = int32_t(std::lround(double(cellHeight) * ascender / double(ascender + descender)));
    double scale = emPixels / f->units_per_EM;
    r->underlineRows_ = std::clamp<int32_t>(int32_t(std::lround(f->underline_thickness * scale)), 1, cellHeight);
    r->underlineTop_ = std::clamp<int32_t>(r->ascent_ - int32_t(std::lround(f->underline_position * scale)), 0,
                                           cellHeight - r->underlineRows_);
    return r;
}

Glyph GlyphRasteriser::render(uint32_t character) const {
    Glyph glyph;
    FT_Face f = face_->face;
    FT_UInt index = character ? FT_Get_Char_Index(f, character) : 0;
    if (FT_Load_Glyph(f, index, FT_LOAD_TARGET_MONO) != 0) return glyph;
    FT_GlyphSlot slot = f->glyph;
    if (face_->emboldens) FT_GlyphSlot_Embolden(slot);
    if (face_->slants) FT_GlyphSlot_Oblique(slot);
    glyph.advance = int32_t((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = ascent_ - slot->bitmap_top;
    glyph.width = int32_t(bitmap.width);
    glyph.rows = int32_t(bitmap.rows);
    glyph.ink.assign(size_t(glyph.width) * size_t(glyph.rows), 0);
    for (int32_t y = 0; y < glyph.rows; ++y) {
        const uint8_t* row = bitmap.buffer + ptrdiff_t(y) * bitmap.pitch;
        for (int32_t x = 0; x < glyph.width; ++x)
            glyph.ink[size_t(y) * glyph.width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
    return glyph;
}

}  // namespace tarsk
