#include "runtime/graphics/gl_device.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <SDL2/SDL.h>

#include "runtime/graphics/gl_api.h"

namespace tarsk {

std::unique_ptr<GlDevice> GlDevice::create(SDL_Window* window) {
    std::unique_ptr<GlDevice> device(new GlDevice());
    if (window && (SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        if (SDL_GLContext context = SDL_GL_CreateContext(window)) {
            device->window_ = window;
            device->sdlContext_ = context;
            return device;
        }
    }
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return nullptr;
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return nullptr;
    device->eglDisplay_ = display;
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    if (!eglBindAPI(EGL_OPENGL_API)) return nullptr;
    EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) return nullptr;
    device->eglContext_ = context;
    device->makeCurrent();
    return device;
}

GlDevice::~GlDevice() {
    if (sdlContext_) {
        SDL_GL_MakeCurrent(window_, nullptr);
        SDL_GL_DeleteContext(sdlContext_);
    }
    if (eglDisplay_) {
        eglMakeCurrent(eglDisplay_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (eglContext_) eglDestroyContext(eglDisplay_, eglContext_);
        eglTerminate(eglDisplay_);
    }
}

void GlDevice::makeCurrent() {
    if (sdlContext_) {
        if (SDL_GL_GetCurrentContext() != sdlContext_) SDL_GL_MakeCurrent(window_, sdlContext_);
    } else if (eglGetCurrentContext() != eglContext_) {
        eglMakeCurrent(eglDisplay_, EGL_NO_SURFACE, EGL_NO_SURFACE, eglContext_);
    }
}

void GlDevice::swapWindow(bool vsync) {
    if (!sdlContext_) return;
    makeCurrent();
    int interval = vsync ? 1 : 0;
    if (interval != swapInterval_) {
        SDL_GL_SetSwapInterval(interval);
        swapInterval_ = interval;
    }
    SDL_GL_SwapWindow(window_);
}

void GlDevice::release(uint32_t texture, uint32_t framebuffer, uint32_t depthBuffer) {
    makeCurrent();
    if (framebuffer) glDeleteFramebuffers(1, &framebuffer);
    if (depthBuffer) glDeleteRenderbuffers(1, &depthBuffer);
    if (texture) glDeleteTextures(1, &texture);
}

}  // namespace tarsk
