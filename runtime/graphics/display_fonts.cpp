// The display's fonts: making them from face names or font files, the font-file registry.
#include <filesystem>

#include "runtime/graphics/font_config.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/graphics/gx_font.h"
#include "runtime/host/arena.h"
#include "runtime/io/path_resolution.h"

namespace tarsk {

gxFont* gxDisplay::makeFont(const std::string& name, int32_t height, int32_t style) {
    bool bold = style & kFontBold, italic = style & kFontItalic;
    FaceFile face;
    if (size_t dot = name.find('.'); dot != std::string::npos) {
        // A font file, added to the face lookup once; its face is drawn from the file itself.
        std::error_code error;
        std::string path = std::filesystem::absolute(resolvePath(name), error).lexically_normal().string();
        if (!fontFiles_.count(path) && addFontFile(path)) fontFiles_.insert(path);
        if (fontFiles_.count(path)) face = describeFile(path);
        if (face.path.empty()) face = matchFace(std::filesystem::path(name.substr(0, dot)).filename().string(), bold, italic);
    } else {
        face = matchFace(name, bold, italic);
    }
    gxFont* font = gxFont::make(*this, face.path, face.index, face.bold, face.italic, height, style);
    if (font) fonts_.insert(font);
    return font;
}

void gxDisplay::dropFont(gxFont* font) {
    // The default font stays: the buffers and later text rely on it.
    if (font == defaultFont_ || fonts_.erase(font) == 0) return;
    // No canvas keeps a font that is gone.
    for (gxCanvas* canvas : canvases_)
        if (canvas->font() == font) canvas->useFont(defaultFont_);
    for (gxCanvas* canvas : {front_, back_})
        if (canvas->font() == font) canvas->useFont(defaultFont_);
    arenaDelete(font);
}

void gxDisplay::dropFonts() {
    for (gxFont* font : fonts_) arenaDelete(font);
    fonts_.clear();
    defaultFont_ = nullptr;
    if (!fontFiles_.empty()) removeFontFiles();
    fontFiles_.clear();
}

}  // namespace tarsk
