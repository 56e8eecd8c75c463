#include "runtime/graphics/gx_display.h"

#include <SDL2/SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "runtime/graphics/canvas_flags.h"
#include "runtime/graphics/dds_file.h"
#include "runtime/graphics/gl_device.h"
#include "runtime/graphics/gl_present.h"
#include "runtime/graphics/gl_sync.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_mesh.h"
#include "runtime/graphics/picture_file.h"
#include "runtime/host/arena.h"
#include "runtime/io/path_resolution.h"

namespace tarsk {
namespace {

// The steady clock the vertical blank and the scan line follow.
constexpr int64_t kFrameNanos = 1'000'000'000 / 60;
constexpr int32_t kLargestCanvasSide = 16384;
constexpr uint32_t kPresentCheckMillis = 100;

int64_t nanosIntoFrame() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() % kFrameNanos;
}

std::vector<gxPixelFormat> offeredTextureFormats() {
    std::vector<gxPixelFormat> formats;
    for (PixelLayout layout : kTextureLayouts) formats.push_back(gxPixelFormat::of(layout));
    return formats;
}

// The display the present timer watches. The timer thread reads it under the lock, so a
// display being destroyed is never read after it let go.
std::mutex watchedMutex;
gxDisplay* watchedDisplay = nullptr;

// Runs on the timer thread: asks the program thread to repaint when the front changed.
uint32_t presentCheck(uint32_t interval, void*) {
    std::lock_guard<std::mutex> lock(watchedMutex);
    if (watchedDisplay && watchedDisplay->frontChanged()) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = SDL_WINDOWEVENT_EXPOSED;
        event.window.windowID = watchedDisplay->windowId();
        SDL_PushEvent(&event);
    }
    return interval;
}

}  // namespace

struct gxDisplay::Surfaces {
    std::shared_ptr<Surface> main;
    std::vector<std::shared_ptr<Surface>> otherFaces;
};

gxDisplay::gxDisplay(gxHost& host, DisplayKind kind, int32_t width, int32_t height, const gxPixelFormat& frontFormat,
                     int32_t flags)
    : host_(host), kind_(kind), flags_(flags), width_(width), height_(height), frontFormat_(frontFormat) {
    auto offered = offeredTextureFormats();
    textureFormats_[0] = chooseTextureFormats(offered, frontFormat_, false);
    textureFormats_[1] = chooseTextureFormats(offered, frontFormat_, true);
    std::shared_ptr<Surface> frontStore = Surface::make(width, height, frontFormat, false);
    std::shared_ptr<Surface> backStore = kind == kFullScreen ? Surface::make(width, height, frontFormat, false) : frontStore;
    front_ = arenaNew<gxCanvas>(this, frontStore, 0);
    back_ = arenaNew<gxCanvas>(this, backStore, 0);
    front_->clear();
    back_->clear();
    defaultFont_ = makeFont("courier", 12, 0);
    front_->useFont(defaultFont_);
    back_->useFont(defaultFont_);
    // Full screen has gamma control, applied as a lookup when presenting.
    gammaControl_ = kind == kFullScreen;
    for (int i = 0; i < 256; ++i) ramps_[i] = ramps_[256 + i] = ramps_[512 + i] = uint16_t(i * 257);
    std::copy(std::begin(ramps_), std::end(ramps_), appliedRamps_);
    if (SDL_Window* window = host_.window()) windowId_ = SDL_GetWindowID(window);
    if (kind != kFullScreen && windowId_) {
        std::lock_guard<std::mutex> lock(watchedMutex);
        watchedDisplay = this;
        presentTimer_ = SDL_AddTimer(kPresentCheckMillis, presentCheck, nullptr);
    }
}

gxDisplay::~gxDisplay() {
    if (presentTimer_) {
        {
            std::lock_guard<std::mutex> lock(watchedMutex);
            watchedDisplay = nullptr;
        }
        SDL_RemoveTimer(presentTimer_);
    }
    dropFonts();
    while (!canvases_.empty()) dropCanvas(*canvases_.begin());
    arenaDelete(back_);
    arenaDelete(front_);
    if (gl_) gl_->makeCurrent();
    driverMeshes_.clear();
    presenter_.reset();
    gl_.reset();
}

gxDisplay::Surfaces gxDisplay::makeSurfaces(int32_t width, int32_t height, int32_t canvasFlags) const {
    Surfaces made;
    if (width < 0 || height < 0 || width > kLargestCanvasSide || height > kLargestCanvasSide) return made;
    width = std::max(width, 1);
    height = std::max(height, 1);
    bool highColour = canvasFlags & CV_HICOLOUR;
    const TextureFormatSet& set = textureFormats(highColour);
    gxPixelFormat format = frontFormat_;
    if (canvasFlags & CV_MASKED) {
        format = set[kMaskedTexture];
    } else if (canvasFlags & CV_COLOUR) {
        format = set[(canvasFlags & CV_ALPHA) ? kColourAlphaTexture : kColourTexture];
    } else if (canvasFlags & CV_ALPHA) {
        format = set[kAlphaTexture];
    }
    bool systemMemory = false;
    bool mipmaps = false;
    if (canvasFlags & CV_TEXTURE) {
        TextureSize size = adjustTextureSize(width, height);
        width = size.width;
        height = size.height;
        mipmaps = (canvasFlags & CV_MIPMAP) && !(canvasFlags & CV_VIDEOMEM);
    } else if (canvasFlags & CV_SYSMEM_ARGB) {
        format = gxPixelFormat::of(PixelLayout::kA8R8G8B8);
        systemMemory = true;
    } else if (canvasFlags & CV_SYSMEM) {
        systemMemory = true;
    }
    made.main = Surface::make(width, height, format, mipmaps);
    made.main->systemMemory = systemMemory;
    if ((canvasFlags & CV_TEXTURE) && (canvasFlags & CV_CUBE))
        for (int i = 0; i < 5; ++i) made.otherFaces.push_back(Surface::make(width, height, format, mipmaps));
    return made;
}

gxCanvas* gxDisplay::makeCanvas(int32_t width, int32_t height, int32_t canvasFlags) {
    Surfaces made = makeSurfaces(width, height, canvasFlags);
    if (!made.main) return nullptr;
    auto* canvas = arenaNew<gxCanvas>(this, std::move(made.main), canvasFlags, std::move(made.otherFaces), defaultFont());
    canvases_.insert(canvas);
    canvas->clear();
    return canvas;
}

gxCanvas* gxDisplay::readCanvasFile(const std::string& path, int32_t canvasFlags) {
    std::string file = resolvePath(path);
    if (isDdsPath(path)) {
        std::unique_ptr<Surface> store = readDdsFile(file);
        if (!store) return nullptr;
        auto* canvas = arenaNew<gxCanvas>(this, std::shared_ptr<Surface>(std::move(store)), CV_TEXTURE,
                                          std::vector<std::shared_ptr<Surface>>{}, defaultFont());
        canvases_.insert(canvas);
        return canvas;
    }
    std::optional<Picture> picture = readPicture(file);
    if (!picture) return nullptr;
    applyAlphaRules(*picture, canvasFlags);
    Surfaces made = makeSurfaces(picture->width, picture->height, canvasFlags);
    if (!made.main) return nullptr;
    scalePictureInto(*picture, *made.main);
    auto* canvas = arenaNew<gxCanvas>(this, std::move(made.main), canvasFlags, std::move(made.otherFaces), defaultFont());
    canvases_.insert(canvas);
    return canvas;
}

bool gxDisplay::ownsCanvas(const gxCanvas* canvas) const {
    return canvas == front_ || canvas == back_ || canvases_.count(const_cast<gxCanvas*>(canvas)) != 0;
}

void gxDisplay::dropCanvas(gxCanvas* canvas) {
    if (canvases_.erase(canvas) == 0) return;
    arenaDelete(canvas);
}

void gxDisplay::waitVerticalBlank() {
    std::this_thread::sleep_for(std::chrono::nanoseconds(kFrameNanos - nanosIntoFrame()));
}

int32_t gxDisplay::scanLine() const {
    // A frame of the steady clock sweeps the visible lines and then a short blank.
    int64_t lines = int64_t(height_) + height_ / 20 + 1;
    int64_t line = nanosIntoFrame() * lines / kFrameNanos;
    return line < height_ ? int32_t(line) : 0;
}

int32_t gxDisplay::videoMemoryTotal() const {
    int64_t bytes = int64_t(sysconf(_SC_PHYS_PAGES)) * int64_t(sysconf(_SC_PAGESIZE));
    return int32_t(std::clamp<int64_t>(bytes, 0, INT32_MAX));
}

int32_t gxDisplay::videoMemoryFree() const {
    int64_t used = int64_t(frontFormat_.bytesPerPixel()) * width_ * height_ * (kind_ == kFullScreen ? 2 : 1);
    for (gxCanvas* canvas : canvases_)
        used += int64_t(canvas->width()) * canvas->height() * std::max(canvas->format().bytesPerPixel(), 1);
    return int32_t(std::max<int64_t>(videoMemoryTotal() - used, 0));
}

void gxDisplay::setGammaEntry(int32_t r, int32_t g, int32_t b, float red, float green, float blue) {
    auto entry = [](float value) { return uint16_t(int32_t(std::trunc(value * 257.0f))); };
    ramps_[r & 255] = entry(red);
    ramps_[256 + (g & 255)] = entry(green);
    ramps_[512 + (b & 255)] = entry(blue);
}

void gxDisplay::applyGamma(bool) {
    if (!gammaControl_) return;
    std::copy(std::begin(ramps_), std::end(ramps_), appliedRamps_);
    present();
}

void gxDisplay::gammaEntry(int32_t r, int32_t g, int32_t b, float& red, float& green, float& blue) const {
    constexpr float kScale = 1.0f / 257.0f;
    red = float(ramps_[r & 255]) * kScale;
    green = float(ramps_[256 + (g & 255)]) * kScale;
    blue = float(ramps_[512 + (b & 255)]) * kScale;
}

void gxDisplay::flip(bool vwait) {
    if (vwait) waitVerticalBlank();
    if (kind_ == kFullScreen) {
        front_->exchangeSurfaces(*back_);
        present();
        return;
    }
    front_->setModificationCount(back_->modificationCount());
    if (frontChanged()) present();
}

bool gxDisplay::frontChanged() const {
    return front_->modificationCount() != presentedCount_.load(std::memory_order_relaxed);
}

GlDevice* gxDisplay::glDevice() {
    if (!glTried_) {
        glTried_ = true;
        gl_ = GlDevice::create(host_.window());
    }
    return gl_.get();
}

void gxDisplay::present() {
    presentedCount_.store(front_->modificationCount(), std::memory_order_relaxed);
    SDL_Window* window = host_.window();
    if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) return;
    GlDevice* gl = glDevice();
    if (!gl || !gl->onWindow()) return;
    gl->makeCurrent();
    if (!presenter_) presenter_ = std::make_unique<WindowPresenter>();
    if (!presenter_->valid()) return;
    int clientWidth, clientHeight;
    SDL_GL_GetDrawableSize(window, &clientWidth, &clientHeight);
    PresentArea area{clientWidth, clientHeight, 0, 0, clientWidth, clientHeight, 1.0f, 1.0f};
    if (kind_ == kWindowed) {
        // A 1:1 copy of the part that fits the client area.
        area.width = std::min(clientWidth, width_);
        area.height = std::min(clientHeight, height_);
        area.sourceWidth = float(area.width) / float(width_);
        area.sourceHeight = float(area.height) / float(height_);
    } else if (kind_ == kFullScreen) {
        // Letterboxed into the desktop-sized window.
        float scale = std::min(float(clientWidth) / float(width_), float(clientHeight) / float(height_));
        area.width = int32_t(std::lround(width_ * scale));
        area.height = int32_t(std::lround(height_ * scale));
        area.x = (clientWidth - area.width) / 2;
        area.y = (clientHeight - area.height) / 2;
    }
    uint32_t texture = textureOf(*gl, front_->currentSurface());
    presenter_->draw(texture, area, gammaControl_ ? appliedRamps_ : nullptr);
    gl->swapWindow(false);
}

std::shared_ptr<gxMesh> gxDisplay::makeDriverMesh(int32_t vertexCapacity, int32_t triangleCapacity) {
    GlDevice* gl = glDevice();
    if (!gl) return nullptr;
    auto mesh = std::make_shared<gxMesh>(*this, *gl, vertexCapacity, triangleCapacity);
    driverMeshes_.emplace(mesh.get(), mesh);
    return mesh;
}

void gxDisplay::dropDriverMesh(gxMesh* mesh) { driverMeshes_.erase(mesh); }

bool gxDisplay::restoreSurfaces() {
    // The CPU stores are never lost; the GL copies are remade from them when next used.
    return true;
}

void gxDisplay::paint() { present(); }

std::string gxDisplay::systemProperty(std::string_view name) {
    if (name == "directdraw7") return std::to_string(uint32_t(handleOf(this)));
    return "";
}

}  // namespace tarsk
