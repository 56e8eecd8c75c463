// The font commands and Text.
#include "runtime/graphics/text_commands.h"

#include <algorithm>

#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/graphics/gx_font.h"
#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/strings.h"

using namespace tarsk;

namespace {

GraphicsState& state() { return graphicsState(); }

gxDisplay& display() {
    if (!state().display) runtimeError("No graphics mode is open");
    return *state().display;
}

gxFont& currentFont() {
    if (!state().font) runtimeError("No graphics mode is open");
    return *state().font;
}

// A font argument; checked always, since the handle is dereferenced.
gxFont* fontOf(int32_t handle) {
    auto* font = fromHandle<gxFont>(handle);
    if (!display().ownsFont(font)) runtimeError("Font does not exist");
    return font;
}

void useFont(gxFont* font) {
    state().font = font;
    if (state().buffer) state().buffer->useFont(font);
}

}  // namespace

extern "C" {

int32_t _floadfont(tbString* name, int32_t height, int32_t bold, int32_t italic, int32_t underline) {
    std::string face = stringTake(name);
    int32_t style = (bold ? kFontBold : 0) | (italic ? kFontItalic : 0) | (underline ? kFontUnderline : 0);
    return handleOf(display().makeFont(face, height, style));
}
void _fsetfont(int32_t font) { useFont(fontOf(font)); }
void _ffreefont(int32_t font) {
    gxFont* f = fontOf(font);
    if (f == state().font) useFont(display().defaultFont());
    display().dropFont(f);
}
int32_t _ffontwidth() { return currentFont().fontWidth(); }
int32_t _ffontheight() { return currentFont().fontHeight(); }
int32_t _fstringwidth(tbString* text) { return currentFont().stringWidth(stringTake(text)); }
int32_t _fstringheight(tbString* text) {
    stringRelease(text);
    return currentFont().fontHeight();
}
void _ftext(int32_t x, int32_t y, tbString* text, int32_t centreX, int32_t centreY) {
    std::string s = stringTake(text);
    if (!state().buffer) runtimeError("No graphics mode is open");
    if (gxFont* font = state().buffer->font()) {
        if (centreX) x -= font->stringWidth(s) / 2;
        if (centreY) y -= font->fontHeight() / 2;
    }
    state().buffer->drawText(x, y, s);
}
void _flocate(int32_t x, int32_t y) {
    gxCanvas* front = display().frontCanvas();
    state().textX = std::clamp(x, 0, front->width());
    state().textY = std::clamp(y, 0, front->height());
}

}  // extern "C"

namespace tarsk {

#define ADD(signature, function) add(signature, reinterpret_cast<const void*>(function))
void text_link(Registrar add) {
    ADD("%LoadFont$fontname%height=12%bold=0%italic=0%underline=0", _floadfont);
    ADD("SetFont%font", _fsetfont);
    ADD("FreeFont%font", _ffreefont);
    ADD("%FontWidth", _ffontwidth);
    ADD("%FontHeight", _ffontheight);
    ADD("%StringWidth$string", _fstringwidth);
    ADD("%StringHeight$string", _fstringheight);
    ADD("Text%x%y$text%centre_x=0%centre_y=0", _ftext);
    ADD("Locate%x%y", _flocate);
    console_link(add);
}
#undef ADD

}  // namespace tarsk
