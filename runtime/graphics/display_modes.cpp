#include "runtime/graphics/display_modes.h"

#include <SDL2/SDL.h>

#include <algorithm>

namespace tarsk {
namespace {

constexpr ModeSize kStandardSizes[] = {
    {320, 240},   {400, 300},   {512, 384},   {640, 400},   {640, 480},   {800, 600},   {1024, 768},
    {1152, 864},  {1280, 720},  {1280, 768},  {1280, 800},  {1280, 960},  {1280, 1024}, {1360, 768},
    {1366, 768},  {1440, 900},  {1600, 900},  {1600, 1200}, {1680, 1050}, {1920, 1080}, {1920, 1200},
    {2560, 1440}, {2560, 1600}, {3840, 2160},
};
constexpr int32_t kModeDepths[] = {16, 24, 32};
// The GL device renders at every depth the runtime makes surfaces in.
const std::vector<int32_t> kRenderDepths = {16, 24, 32};
constexpr ModeSize kOffscreenDesktop = {1920, 1080};

}  // namespace

bool gxDriver::hasMode(int32_t width, int32_t height, int32_t depth) const {
    return std::any_of(modes.begin(), modes.end(), [&](const gxMode& m) {
        return m.width == width && m.height == height && m.depth == depth;
    });
}

int32_t graphicsFlagsFor(int32_t mode, bool graphics3D, bool debugChecks, bool desktop3DCapable) {
    int32_t flags;
    switch (mode) {
        case 0: flags = debugChecks && (!graphics3D || desktop3DCapable) ? GRAPHICS_WINDOWED : 0; break;
        case 1: flags = 0; break;
        case 2: flags = GRAPHICS_WINDOWED; break;
        case 3: flags = GRAPHICS_WINDOWED | GRAPHICS_SCALED; break;
        case 6: flags = GRAPHICS_WINDOWED | GRAPHICS_AUTOSUSPEND; break;
        case 7: flags = GRAPHICS_WINDOWED | GRAPHICS_SCALED | GRAPHICS_AUTOSUSPEND; break;
        default: return -1;
    }
    return graphics3D ? flags | GRAPHICS_3D : flags;
}

std::vector<gxMode> buildModeList(const std::vector<ModeSize>& platformSizes, ModeSize desktop,
                                  const std::vector<int32_t>& renderDepths) {
    std::vector<ModeSize> sizes;
    auto add = [&](ModeSize s) {
        if (std::none_of(sizes.begin(), sizes.end(), [&](ModeSize o) { return o.width == s.width && o.height == s.height; }))
            sizes.push_back(s);
    };
    for (ModeSize s : platformSizes) add(s);
    for (ModeSize s : kStandardSizes)
        if (s.width <= desktop.width && s.height <= desktop.height) add(s);
    std::vector<gxMode> modes;
    for (ModeSize s : sizes)
        for (int32_t depth : kModeDepths)
            modes.push_back({s.width, s.height, depth,
                             std::find(renderDepths.begin(), renderDepths.end(), depth) != renderDepths.end()});
    return modes;
}

std::vector<gxDriver> enumerateDrivers() {
    std::vector<gxDriver> drivers;
    int screens = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetNumVideoDisplays() : 0;
    for (int screen = 0; screen < screens; ++screen) {
        SDL_DisplayMode desktop;
        if (SDL_GetDesktopDisplayMode(screen, &desktop) != 0) continue;
        gxDriver driver;
        const char* name = SDL_GetDisplayName(screen);
        driver.name = name && *name ? name : "Display " + std::to_string(screen + 1);
        driver.screen = screen;
        driver.desktopWidth = desktop.w;
        driver.desktopHeight = desktop.h;
        driver.renderDepths = kRenderDepths;
        std::vector<ModeSize> sizes;
        for (int i = 0, n = SDL_GetNumDisplayModes(screen); i < n; ++i) {
            SDL_DisplayMode mode;
            if (SDL_GetDisplayMode(screen, i, &mode) == 0 && mode.w <= desktop.w && mode.h <= desktop.h)
                sizes.push_back({mode.w, mode.h});
        }
        driver.modes = buildModeList(sizes, {desktop.w, desktop.h}, driver.renderDepths);
        drivers.push_back(std::move(driver));
    }
    if (drivers.empty()) {
        gxDriver driver;
        driver.name = "Offscreen display";
        driver.desktopWidth = kOffscreenDesktop.width;
        driver.desktopHeight = kOffscreenDesktop.height;
        driver.renderDepths = kRenderDepths;
        driver.modes = buildModeList({}, kOffscreenDesktop, driver.renderDepths);
        drivers.push_back(std::move(driver));
    }
    return drivers;
}

}  // namespace tarsk
