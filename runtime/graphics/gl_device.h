// One OpenGL 3.3 core context per open display: on the window when it can carry one,
// otherwise a surfaceless EGL context (no window, no X server needed).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct SDL_Window;

namespace tarsk {

class GlDevice {
public:
    static std::unique_ptr<GlDevice> create(SDL_Window* window);
    ~GlDevice();
    GlDevice(const GlDevice&) = delete;
    GlDevice& operator=(const GlDevice&) = delete;

    void makeCurrent();
    bool onWindow() const { return sdlContext_ != nullptr; }
    // Shows the window's back buffer (window contexts only).
    void swapWindow(bool vsync);
    // Frees GL objects of a store whose copy goes away.
    void release(uint32_t texture, uint32_t framebuffer, uint32_t depthBuffer);
    // Scratch memory for pixel conversions of uploads and read-backs.
    std::vector<uint32_t>& scratch() { return scratch_; }

private:
    GlDevice() = default;
    SDL_Window* window_ = nullptr;
    void* sdlContext_ = nullptr;
    void* eglDisplay_ = nullptr;
    void* eglContext_ = nullptr;
    int swapInterval_ = -2;
    std::vector<uint32_t> scratch_;
};

}  // namespace tarsk
