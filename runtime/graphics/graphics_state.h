// The command-layer state of the graphics modules, one set per runtime.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/graphics/display_modes.h"

namespace tarsk {

class gxCanvas;
class gxDisplay;
class gxFont;
class GraphicsHost;

struct GraphicsState {
    GraphicsHost* host = nullptr;
    gxDisplay* display = nullptr;
    int32_t selectedDriver = 0;  // 0-based
    std::vector<gxMode> modeCache;
    gxCanvas* buffer = nullptr;  // the current buffer
    gxFont* font = nullptr;
    uint32_t colour = 0xFFFFFFFFu;
    uint32_t clearColour = 0;
    int32_t textX = 0, textY = 0;
    // What other modules release before a mode closes (3D world, images, the input
    // cursor), run in the order they were added.
    std::vector<void (*)()> beforeModeChange;
    // What other modules set up once a 3D mode is open (the 3D scene and world).
    std::vector<void (*)(gxDisplay&)> after3DModeOpened;
};

GraphicsState& graphicsState();

// Makes the canvas the current buffer: text cursor and origin 0,0, viewport the whole
// canvas, and the current colour, clear colour and font given to it.
void selectBuffer(gxCanvas* canvas);

}  // namespace tarsk
