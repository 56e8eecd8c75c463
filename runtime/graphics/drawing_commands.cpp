// The buffer and 2D drawing commands: buffer selection, colours, origin and viewport,
// the primitives, pixel access, rectangle copies and buffer files.
#include "runtime/graphics/drawing_commands.h"

#include "runtime/graphics/buffer_files.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/strings.h"

using namespace tarsk;

namespace {

// Transforms of LoadBuffer sample bilinearly, as with the transform filter on.
constexpr bool kLoadBufferBilinear = true;

GraphicsState& state() { return graphicsState(); }

gxDisplay& display() {
    if (!state().display) runtimeError("No graphics mode is open");
    return *state().display;
}

gxCanvas& current() {
    if (!state().buffer) runtimeError("No graphics mode is open");
    return *state().buffer;
}

// A buffer argument: 0 is the current buffer; any other handle must be a canvas of the
// display (checked always: the handle is dereferenced).
gxCanvas& bufferOf(int32_t handle) {
    if (handle == 0) return current();
    auto* canvas = fromHandle<gxCanvas>(handle);
    if (!display().ownsCanvas(canvas)) runtimeError("Buffer does not exist");
    return *canvas;
}

uint32_t rgb(int32_t red, int32_t green, int32_t blue) {
    return (((uint32_t(red) << 8) | uint32_t(green)) << 8) | uint32_t(blue);
}

// The fast accessors take a locked canvas and a position inside it; anything else is
// dropped (a read gives 0), so a wrong coordinate never reaches outside the store.
bool fastReachable(const gxCanvas& canvas, int32_t x, int32_t y) {
    return canvas.locked() && uint32_t(x) < uint32_t(canvas.width()) && uint32_t(y) < uint32_t(canvas.height());
}

}  // namespace

extern "C" {

void _fsetbuffer(int32_t buffer) {
    auto* canvas = fromHandle<gxCanvas>(buffer);
    if (!display().ownsCanvas(canvas)) runtimeError("Buffer does not exist");
    selectBuffer(canvas);
}
int32_t _fgraphicsbuffer() { return handleOf(state().buffer); }
int32_t _ffrontbuffer() { return handleOf(display().frontCanvas()); }
int32_t _fbackbuffer() { return handleOf(display().backCanvas()); }

int32_t _floadbuffer(int32_t buffer, tbString* file) {
    std::string path = stringTake(file);
    return loadBuffer(display(), bufferOf(buffer), path, kLoadBufferBilinear) ? 1 : 0;
}
int32_t _fsavebuffer(int32_t buffer, tbString* file) {
    std::string path = stringTake(file);
    return saveBufferBmp(bufferOf(buffer), path) ? 1 : 0;
}
void _fbufferdirty(int32_t buffer) { bufferOf(buffer).keepCopy(); }
void _flockbuffer(int32_t buffer) { bufferOf(buffer).beginAccess(); }
void _funlockbuffer(int32_t buffer) { bufferOf(buffer).endAccess(); }

int32_t _freadpixel(int32_t x, int32_t y, int32_t buffer) { return int32_t(bufferOf(buffer).peekPixel(x, y)); }
void _fwritepixel(int32_t x, int32_t y, int32_t argb, int32_t buffer) { bufferOf(buffer).pokePixel(x, y, uint32_t(argb)); }
int32_t _freadpixelfast(int32_t x, int32_t y, int32_t buffer) {
    gxCanvas& canvas = bufferOf(buffer);
    return fastReachable(canvas, x, y) ? int32_t(canvas.peekPixelFast(x, y)) : 0;
}
void _fwritepixelfast(int32_t x, int32_t y, int32_t argb, int32_t buffer) {
    gxCanvas& canvas = bufferOf(buffer);
    if (fastReachable(canvas, x, y)) canvas.pokePixelFast(x, y, uint32_t(argb));
}
// Stored values are copied between canvases of one format, others go through ARGB.
void _fcopypixel(int32_t sx, int32_t sy, int32_t source, int32_t x, int32_t y, int32_t dest) {
    gxCanvas& from = bufferOf(source);
    gxCanvas& to = bufferOf(dest);
    if (from.format() == to.format()) {
        to.transferPixel(x, y, &from, sx, sy);
    } else if (from.format().valid()) {
        int64_t fx = int64_t(sx) + from.originX(), fy = int64_t(sy) + from.originY();
        CanvasRect v = from.viewport();
        if (fx >= v.left && fx < v.right && fy >= v.top && fy < v.bottom) to.pokePixel(x, y, from.peekPixel(sx, sy));
    }
}
void _fcopypixelfast(int32_t sx, int32_t sy, int32_t source, int32_t x, int32_t y, int32_t dest) {
    gxCanvas& from = bufferOf(source);
    gxCanvas& to = bufferOf(dest);
    if (!fastReachable(from, sx, sy) || !fastReachable(to, x, y)) return;
    if (from.format() == to.format()) {
        to.transferPixelFast(x, y, &from, sx, sy);
    } else {
        to.pokePixelFast(x, y, from.peekPixelFast(sx, sy));
    }
}
void _fcopyrect(int32_t sx, int32_t sy, int32_t width, int32_t height, int32_t x, int32_t y, int32_t source,
                int32_t dest) {
    gxCanvas& from = bufferOf(source);
    bufferOf(dest).copyArea(x, y, &from, sx, sy, width, height, true);
}

void _forigin(int32_t x, int32_t y) { current().moveOrigin(x, y); }
void _fviewport(int32_t x, int32_t y, int32_t width, int32_t height) { current().clipTo(x, y, width, height); }
void _fcolor(int32_t red, int32_t green, int32_t blue) {
    state().colour = rgb(red, green, blue);
    current().setInk(state().colour);
}
void _fgetcolor(int32_t x, int32_t y) {
    gxCanvas& canvas = current();
    state().colour = canvas.peekPixel(x, y);
    canvas.setInk(state().colour);
}
int32_t _fcolorred() { return int32_t((current().ink() >> 16) & 0xFF); }
int32_t _fcolorgreen() { return int32_t((current().ink() >> 8) & 0xFF); }
int32_t _fcolorblue() { return int32_t(current().ink() & 0xFF); }
void _fclscolor(int32_t red, int32_t green, int32_t blue) {
    state().clearColour = rgb(red, green, blue);
    current().setPaper(state().clearColour);
}
void _fcls() { current().clear(); }
void _fplot(int32_t x, int32_t y) { current().dot(x, y); }
void _fline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { current().drawLine(x1, y1, x2, y2); }
void _frect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t solid) {
    current().drawRect(x, y, width, height, solid != 0);
}
void _foval(int32_t x, int32_t y, int32_t width, int32_t height, int32_t solid) {
    current().drawOval(x, y, width, height, solid != 0);
}

}  // extern "C"

namespace tarsk {

#define ADD(signature, function) add(signature, reinterpret_cast<const void*>(function))
void drawing_link(Registrar add) {
    ADD("SetBuffer%buffer", _fsetbuffer);
    ADD("%GraphicsBuffer", _fgraphicsbuffer);
    ADD("%FrontBuffer", _ffrontbuffer);
    ADD("%BackBuffer", _fbackbuffer);
    ADD("%LoadBuffer%buffer$bmpfile", _floadbuffer);
    ADD("%SaveBuffer%buffer$bmpfile", _fsavebuffer);
    ADD("BufferDirty%buffer", _fbufferdirty);
    ADD("LockBuffer%buffer=0", _flockbuffer);
    ADD("UnlockBuffer%buffer=0", _funlockbuffer);
    ADD("%ReadPixel%x%y%buffer=0", _freadpixel);
    ADD("WritePixel%x%y%argb%buffer=0", _fwritepixel);
    ADD("%ReadPixelFast%x%y%buffer=0", _freadpixelfast);
    ADD("WritePixelFast%x%y%argb%buffer=0", _fwritepixelfast);
    ADD("CopyPixel%src_x%src_y%src_buffer%dest_x%dest_y%dest_buffer=0", _fcopypixel);
    ADD("CopyPixelFast%src_x%src_y%src_buffer%dest_x%dest_y%dest_buffer=0", _fcopypixelfast);
    ADD("CopyRect%source_x%source_y%width%height%dest_x%dest_y%src_buffer=0%dest_buffer=0", _fcopyrect);
    ADD("Origin%x%y", _forigin);
    ADD("Viewport%x%y%width%height", _fviewport);
    ADD("Color%red%green%blue", _fcolor);
    ADD("GetColor%x%y", _fgetcolor);
    ADD("%ColorRed", _fcolorred);
    ADD("%ColorGreen", _fcolorgreen);
    ADD("%ColorBlue", _fcolorblue);
    ADD("ClsColor%red%green%blue", _fclscolor);
    ADD("Cls", _fcls);
    ADD("Plot%x%y", _fplot);
    ADD("Line%x1%y1%x2%y2", _fline);
    ADD("Rect%x%y%width%height%solid=1", _frect);
    ADD("Oval%x%y%width%height%solid=1", _foval);
}
#undef ADD

}  // namespace tarsk
