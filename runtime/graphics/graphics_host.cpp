#include "runtime/graphics/graphics_host.h"

#include <SDL2/SDL.h>

#include <algorithm>

#include "runtime/graphics/gx_display.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"

namespace tarsk {
namespace {

gxPixelFormat formatForDepth(int32_t depth) {
    switch (depth) {
        case 16: return gxPixelFormat::of(PixelLayout::kR5G6B5);
        case 24: return gxPixelFormat::of(PixelLayout::kR8G8B8);
        default: return gxPixelFormat::of(PixelLayout::kX8R8G8B8);
    }
}

SDL_Rect screenBounds(SDL_Window* window) {
    SDL_Rect bounds{0, 0, 0, 0};
    int screen = window ? SDL_GetWindowDisplayIndex(window) : -1;
    if (screen < 0 || SDL_GetDisplayBounds(screen, &bounds) != 0) bounds = {0, 0, 0, 0};
    return bounds;
}

}  // namespace

GraphicsHost::GraphicsHost(gxHost& host) : host_(host), drivers_(enumerateDrivers()) {}

GraphicsHost::~GraphicsHost() { leaveGraphics(display_); }

int32_t GraphicsHost::driverCount() {
    if (!enumeratedAll_) {
        enumeratedAll_ = true;
        drivers_ = enumerateDrivers();
    }
    return int32_t(drivers_.size());
}

bool GraphicsHost::desktop3DCapable() const {
    const std::vector<int32_t>& depths = drivers_[0].renderDepths;
    return std::find(depths.begin(), depths.end(), kDesktopDepth) != depths.end();
}

int32_t GraphicsHost::chooseFullScreenDepth(const gxDriver& driver, int32_t width, int32_t height, bool graphics3D) {
    if (graphics3D) {
        for (int32_t depth : {32, 24, 16})
            if (std::find(driver.renderDepths.begin(), driver.renderDepths.end(), depth) != driver.renderDepths.end())
                return driver.hasMode(width, height, depth) ? depth : 0;
        return 0;
    }
    // Every depth that can be set scores all four blit capabilities, so the first wins.
    for (int32_t depth : {16, 24, 32})
        if (driver.hasMode(width, height, depth)) return depth;
    return 0;
}

gxDisplay* GraphicsHost::enterGraphics(int32_t width, int32_t height, int32_t depth, int32_t driver, int32_t flags) {
    if (display_) return nullptr;
    gxDisplay* display = (flags & GRAPHICS_WINDOWED) ? openWindowed(width, height, flags)
                                                     : openFullScreen(width, height, depth, driver, flags);
    host_.graphicsLost = false;
    return display;
}

gxDisplay* GraphicsHost::openWindowed(int32_t width, int32_t height, int32_t flags) {
    if (width <= 0 || height <= 0 || width > drivers_[0].desktopWidth * 4 || height > drivers_[0].desktopHeight * 4)
        return nullptr;
    DisplayKind kind = (flags & GRAPHICS_SCALED) ? kScaledWindow : kWindowed;
    if (SDL_Window* window = host_.window()) {
        // A scaled window keeps the size it is shown at; a hidden one opens at the mode's size.
        int placeWidth = width, placeHeight = height;
        if (kind == kScaledWindow && (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN))
            SDL_GetWindowSize(window, &placeWidth, &placeHeight);
        SDL_SetWindowBordered(window, SDL_TRUE);
        SDL_SetWindowResizable(window, kind == kScaledWindow ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowSize(window, placeWidth, placeHeight);
        SDL_Rect screen = screenBounds(window);
        SDL_SetWindowPosition(window, screen.x + (screen.w - placeWidth) / 2,
                              screen.y + std::max((screen.h - placeHeight) / 2, 0));
        SDL_ShowWindow(window);
    }
    auto* display = arenaNew<gxDisplay>(host_, kind, width, height, formatForDepth(kDesktopDepth), flags);
    display_ = display;
    host_.setDisplay(display);
    host_.displayKind = kind;
    host_.graphicsWidth = width;
    host_.graphicsHeight = height;
    host_.suspendWhileInactive = (flags & GRAPHICS_AUTOSUSPEND) != 0;
    host_.setPointerVisible(host_.pointerVisible());
    return display;
}

gxDisplay* GraphicsHost::openFullScreen(int32_t width, int32_t height, int32_t depth, int32_t driverIndex,
                                        int32_t flags) {
    if (driverIndex < 0 || driverIndex >= int32_t(drivers_.size())) return nullptr;
    const gxDriver& driver = drivers_[size_t(driverIndex)];
    if (depth == 0) depth = chooseFullScreenDepth(driver, width, height, flags & GRAPHICS_3D);
    if (depth == 0 || !driver.hasMode(width, height, depth)) return nullptr;
    if (SDL_Window* window = host_.window()) {
        SavedWindow& saved = savedWindow_;
        saved.saved = true;
        SDL_GetWindowPosition(window, &saved.x, &saved.y);
        SDL_GetWindowSize(window, &saved.width, &saved.height);
        Uint32 windowFlags = SDL_GetWindowFlags(window);
        saved.bordered = !(windowFlags & SDL_WINDOW_BORDERLESS);
        saved.resizable = windowFlags & SDL_WINDOW_RESIZABLE;
        // Full screen is a borderless window covering the driver's screen.
        SDL_Rect screen{0, 0, driver.desktopWidth, driver.desktopHeight};
        SDL_GetDisplayBounds(driver.screen, &screen);
        SDL_SetWindowBordered(window, SDL_FALSE);
        SDL_SetWindowResizable(window, SDL_FALSE);
        SDL_SetWindowPosition(window, screen.x, screen.y);
        SDL_SetWindowSize(window, screen.w, screen.h);
        SDL_ShowWindow(window);
        SDL_RaiseWindow(window);
    }
    auto* display = arenaNew<gxDisplay>(host_, kFullScreen, width, height, formatForDepth(depth), flags);
    display_ = display;
    host_.setDisplay(display);
    host_.displayKind = kFullScreen;
    host_.graphicsWidth = width;
    host_.graphicsHeight = height;
    host_.suspendWhileInactive = true;
    host_.setPointerVisible(host_.pointerVisible());
    host_.movePointer(0, 0);
    host_.setExclusiveInput(host_.exclusiveInput);
    return display;
}

void GraphicsHost::leaveGraphics(gxDisplay* display) {
    if (!display || display != display_) return;
    DisplayKind kind = display->kind();
    host_.setDisplay(nullptr);
    arenaDelete(display);
    display_ = nullptr;
    host_.displayKind = kNoDisplay;
    host_.graphicsWidth = host_.graphicsHeight = 0;
    host_.suspendWhileInactive = false;
    SDL_Window* window = host_.window();
    if (kind == kFullScreen && window && savedWindow_.saved) {
        SDL_SetWindowBordered(window, savedWindow_.bordered ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowResizable(window, savedWindow_.resizable ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowSize(window, savedWindow_.width, savedWindow_.height);
        SDL_SetWindowPosition(window, savedWindow_.x, savedWindow_.y);
        savedWindow_.saved = false;
    }
    host_.setPointerVisible(host_.pointerVisible());
}

}  // namespace tarsk
