// The host's graphics operations: the driver list, opening and closing a mode with the
// window changes that go with it, and the window of each display kind.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/graphics/display_modes.h"

namespace tarsk {

class gxDisplay;
class gxHost;

class GraphicsHost {
public:
    explicit GraphicsHost(gxHost& host);
    ~GraphicsHost();

    // The first call enumerates the drivers again; later calls only count.
    int32_t driverCount();
    const gxDriver& driver(int32_t index) const { return drivers_[size_t(index)]; }
    const std::vector<gxDriver>& drivers() const { return drivers_; }
    bool desktop3DCapable() const;

    // A new display, or nullptr (at once when one exists).
    gxDisplay* enterGraphics(int32_t width, int32_t height, int32_t depth, int32_t driver, int32_t flags);
    // Ignored unless display is the current one.
    void leaveGraphics(gxDisplay* display);
    gxDisplay* display() const { return display_; }

    // The full-screen depth for depth 0: with 3D the first render depth of 32, 24, 16;
    // without, the first of 16, 24, 32 that can be set. 0 when none.
    static int32_t chooseFullScreenDepth(const gxDriver& driver, int32_t width, int32_t height, bool graphics3D);

private:
    gxDisplay* openWindowed(int32_t width, int32_t height, int32_t flags);
    gxDisplay* openFullScreen(int32_t width, int32_t height, int32_t depth, int32_t driver, int32_t flags);

    gxHost& host_;
    std::vector<gxDriver> drivers_;
    bool enumeratedAll_ = false;
    gxDisplay* display_ = nullptr;
    struct SavedWindow {
        bool saved = false;
        int x = 0, y = 0, width = 0, height = 0;
        bool bordered = true, resizable = false;
    } savedWindow_;
};

}  // namespace tarsk
