// The graphics driver and mode commands, and the pointer commands.
#include <algorithm>

#include "runtime/graphics/drawing_commands.h"
#include "runtime/graphics/graphics_host.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/graphics/text_commands.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/strings.h"

using namespace tarsk;

namespace {

constexpr int32_t kStartWidth = 400;
constexpr int32_t kStartHeight = 300;

GraphicsState state;

void checkDriver(int32_t driver) {
    if (debugChecks && (driver < 1 || driver > state.host->driverCount())) runtimeError("Illegal graphics driver index");
}

const gxMode& cachedMode(int32_t mode) {
    if (mode < 1 || mode > int32_t(state.modeCache.size())) {
        if (debugChecks || state.modeCache.empty()) runtimeError("Illegal graphics mode index");
        mode = std::clamp(mode, 1, int32_t(state.modeCache.size()));  // guards memory with checks off
    }
    return state.modeCache[size_t(mode - 1)];
}

const gxDriver& selectedDriver() {
    int32_t count = state.host->driverCount();
    return state.host->driver(std::clamp(state.selectedDriver, 0, count - 1));
}

// After a failed Graphics no display is open until the next mode opens.
gxDisplay& display() {
    if (!state.display) runtimeError("No graphics mode is open");
    return *state.display;
}

void endCheck() {
    if (!currentHost()->pumpEvents()) endProgram();
}

// Steps 2 to 5 of a mode change: other modules let go, then the display closes.
void closeMode() {
    for (auto release : state.beforeModeChange) release();
    state.buffer = nullptr;
    state.host->leaveGraphics(state.display);
    state.display = nullptr;
}

void resetState(bool backBuffer) {
    state.clearColour = 0;
    state.colour = 0xFFFFFFFFu;
    state.font = state.display->defaultFont();
    selectBuffer(backBuffer ? state.display->backCanvas() : state.display->frontCanvas());
}

void openMode(int32_t width, int32_t height, int32_t depth, int32_t mode, bool graphics3D) {
    int32_t flags = graphicsFlagsFor(mode, graphics3D, debugChecks, state.host->desktop3DCapable());
    if (flags < 0) runtimeError(graphics3D ? "Illegal Graphics3D mode" : "Illegal Graphics mode");
    closeMode();
    state.display = state.host->enterGraphics(width, height, depth, state.selectedDriver, flags);
    endCheck();
    if (!state.display) runtimeError("Unable to set graphics mode");
    resetState(graphics3D);
    if (graphics3D)
        for (auto open : state.after3DModeOpened) open(*state.display);
}

int32_t countModes(bool only3D) {
    state.modeCache.clear();
    for (const gxMode& m : selectedDriver().modes)
        if (!only3D || m.is3D) state.modeCache.push_back(m);
    return int32_t(state.modeCache.size());
}

int32_t modeExists(int32_t width, int32_t height, int32_t depth, bool only3D) {
    for (const gxMode& m : selectedDriver().modes)
        if (m.width == width && m.height == height && m.depth == depth && (!only3D || m.is3D)) return 1;
    return 0;
}

float gammaOf(int32_t index, int channel) {
    float rgb[3] = {0, 0, 0};
    display().gammaEntry(index, index, index, rgb[0], rgb[1], rgb[2]);
    return rgb[channel];
}

}  // namespace

namespace tarsk {

GraphicsState& graphicsState() { return state; }

void selectBuffer(gxCanvas* canvas) {
    state.buffer = canvas;
    state.textX = state.textY = 0;
    if (!canvas) return;
    canvas->moveOrigin(0, 0);
    canvas->clipTo(0, 0, canvas->width(), canvas->height());
    canvas->setInk(state.colour);
    canvas->setPaper(state.clearColour);
    canvas->useFont(state.font);
}

}  // namespace tarsk

extern "C" {

int32_t _fcountgfxdrivers() { return state.host->driverCount(); }
tbString* _fgfxdrivername(int32_t driver) {
    checkDriver(driver);
    int32_t count = state.host->driverCount();
    return stringNew(state.host->driver(std::clamp(driver - 1, 0, count - 1)).name);
}
void _fsetgfxdriver(int32_t driver) {
    checkDriver(driver);
    state.selectedDriver = driver - 1;
    state.modeCache.clear();
}
int32_t _fcountgfxmodes() { return countModes(false); }
int32_t _fcountgfxmodes3d() { return countModes(true); }
int32_t _fgfxmodewidth(int32_t mode) { return cachedMode(mode).width; }
int32_t _fgfxmodeheight(int32_t mode) { return cachedMode(mode).height; }
int32_t _fgfxmodedepth(int32_t mode) { return cachedMode(mode).depth; }
int32_t _fgfxmode3d(int32_t mode) { return cachedMode(mode).is3D ? 1 : 0; }
int32_t _fgfxmodeexists(int32_t width, int32_t height, int32_t depth) { return modeExists(width, height, depth, false); }
int32_t _fgfxmode3dexists(int32_t width, int32_t height, int32_t depth) { return modeExists(width, height, depth, true); }
int32_t _fgfxdriver3d(int32_t driver) {
    checkDriver(driver);
    int32_t count = state.host->driverCount();
    return state.host->driver(std::clamp(driver - 1, 0, count - 1)).is3D() ? 1 : 0;
}
int32_t _fwindowed3d() { return state.host->desktop3DCapable() ? 1 : 0; }
int32_t _ftotalvidmem() { return display().videoMemoryTotal(); }
int32_t _favailvidmem() { return display().videoMemoryFree(); }

void _fgraphics(int32_t width, int32_t height, int32_t depth, int32_t mode) { openMode(width, height, depth, mode, false); }
void _fgraphics3d(int32_t width, int32_t height, int32_t depth, int32_t mode) { openMode(width, height, depth, mode, true); }
void _fendgraphics() {
    closeMode();
    state.display = state.host->enterGraphics(kStartWidth, kStartHeight, 0, 0, GRAPHICS_WINDOWED);
    endCheck();
    if (!state.display) runtimeError("Unable to set graphics mode");
    resetState(false);
}
int32_t _fgraphicslost() { return currentHost()->graphicsLost ? 1 : 0; }

void _fsetgamma(int32_t r, int32_t g, int32_t b, float red, float green, float blue) {
    display().setGammaEntry(r, g, b, red, green, blue);
}
void _fupdategamma(int32_t calibrate) { display().applyGamma(calibrate != 0); }
float _fgammared(int32_t red) { return gammaOf(red, 0); }
float _fgammagreen(int32_t green) { return gammaOf(green, 1); }
float _fgammablue(int32_t blue) { return gammaOf(blue, 2); }

int32_t _fscanline() { return display().scanLine(); }
void _fvwait(int32_t) {
    display().waitVerticalBlank();
    endCheck();
}
void _fflip(int32_t vwait) {
    display().flip(vwait != 0);
    endCheck();
}
int32_t _fgraphicswidth() { return display().frontCanvas()->width(); }
int32_t _fgraphicsheight() { return display().frontCanvas()->height(); }
int32_t _fgraphicsdepth() { return display().frontCanvas()->depth(); }

void _fshowpointer() { currentHost()->setPointerVisible(true); }
void _fhidepointer() { currentHost()->setPointerVisible(false); }

}  // extern "C"

namespace tarsk {

#define ADD(signature, function) add(signature, reinterpret_cast<const void*>(function))
void graphics_link(Registrar add) {
    ADD("%CountGfxDrivers", _fcountgfxdrivers);
    ADD("$GfxDriverName%driver", _fgfxdrivername);
    ADD("SetGfxDriver%driver", _fsetgfxdriver);
    ADD("%CountGfxModes", _fcountgfxmodes);
    ADD("%CountGfxModes3D", _fcountgfxmodes3d);
    ADD("%GfxModeWidth%mode", _fgfxmodewidth);
    ADD("%GfxModeHeight%mode", _fgfxmodeheight);
    ADD("%GfxModeDepth%mode", _fgfxmodedepth);
    ADD("%GfxMode3D%mode", _fgfxmode3d);
    ADD("%GfxModeExists%width%height%depth", _fgfxmodeexists);
    ADD("%GfxMode3DExists%width%height%depth", _fgfxmode3dexists);
    ADD("%GfxDriver3D%driver", _fgfxdriver3d);
    ADD("%Windowed3D", _fwindowed3d);
    ADD("%TotalVidMem", _ftotalvidmem);
    ADD("%AvailVidMem", _favailvidmem);
    ADD("Graphics%width%height%depth=0%mode=0", _fgraphics);
    ADD("Graphics3D%width%height%depth=0%mode=0", _fgraphics3d);
    ADD("EndGraphics", _fendgraphics);
    ADD("%GraphicsLost", _fgraphicslost);
    ADD("SetGamma%src_red%src_green%src_blue#dest_red#dest_green#dest_blue", _fsetgamma);
    ADD("UpdateGamma%calibrate=0", _fupdategamma);
    ADD("#GammaRed%red", _fgammared);
    ADD("#GammaGreen%green", _fgammagreen);
    ADD("#GammaBlue%blue", _fgammablue);
    ADD("%ScanLine", _fscanline);
    ADD("VWait%frames=1", _fvwait);
    ADD("Flip%vwait=1", _fflip);
    ADD("%GraphicsWidth", _fgraphicswidth);
    ADD("%GraphicsHeight", _fgraphicsheight);
    ADD("%GraphicsDepth", _fgraphicsdepth);
    ADD("ShowPointer", _fshowpointer);
    ADD("HidePointer", _fhidepointer);
    drawing_link(add);
    text_link(add);
}
#undef ADD

bool graphics_create() {
    gxHost* host = currentHost();
    if (!host) return false;
    state = GraphicsState{};
    state.host = new GraphicsHost(*host);
    state.beforeModeChange.push_back(releaseInputCursor);
    state.display = state.host->enterGraphics(kStartWidth, kStartHeight, 0, 0, GRAPHICS_WINDOWED);
    if (!state.display) {
        delete state.host;
        state.host = nullptr;
        return false;
    }
    resetState(false);
    return true;
}

void graphics_destroy() {
    if (!state.host) return;
    closeMode();
    state.modeCache.clear();
    delete state.host;
    state = GraphicsState{};
}

}  // namespace tarsk
