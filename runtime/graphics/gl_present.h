// Draws the front buffer's texture into the window: a part of it, stretched to a
// rectangle of the client area, through the gamma ramps.
#pragma once

#include <cstdint>

namespace tarsk {

struct PresentArea {
    int32_t clientWidth, clientHeight;  // the window's client area
    int32_t x, y, width, height;        // where the picture goes, from the top left
    float sourceWidth, sourceHeight;    // part of the texture shown, 0..1 from the top left
};

class WindowPresenter {
public:
    WindowPresenter();
    ~WindowPresenter();
    WindowPresenter(const WindowPresenter&) = delete;
    WindowPresenter& operator=(const WindowPresenter&) = delete;

    bool valid() const { return program_ != 0; }
    // ramps: red, green and blue tables of 256 entries each, or nullptr for none.
    void draw(uint32_t texture, const PresentArea& area, const uint16_t* ramps);

private:
    uint32_t program_ = 0, vertexArray_ = 0, gammaTexture_ = 0;
    int32_t sourceSizeAt_ = -1, useGammaAt_ = -1;
};

}  // namespace tarsk
