// gxCanvas: a drawing surface (front and back buffers, image frames, textures, loaded
// pictures) over a CPU pixel store. It keeps the 2D drawing state, converts between its
// pixel format and ARGB, blits with clipping and colour keys, gives locked pixel access,
// keeps backups, mipmaps and a one-bit-per-pixel collision mask.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "runtime/graphics/surface.h"

namespace tarsk {

class gxDisplay;
class gxFont;

struct CanvasRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    bool empty() const { return right <= left || bottom <= top; }
};

class gxCanvas {
public:
    // The canvas takes the surface; with flags CV_CUBE it also takes the five other faces
    // (order -X, +Z, -Z, +Y, -Y around the main surface +X).
    gxCanvas(gxDisplay* display, std::shared_ptr<Surface> surface, int32_t flags,
             std::vector<std::shared_ptr<Surface>> otherFaces = {}, gxFont* font = nullptr);
    ~gxCanvas();
    gxCanvas(const gxCanvas&) = delete;
    gxCanvas& operator=(const gxCanvas&) = delete;

    // Drawing state.
    void useFont(gxFont* font) { font_ = font; }
    gxFont* font() const { return font_; }
    void setKeyColour(uint32_t argb);
    void setInk(uint32_t argb);
    void setPaper(uint32_t argb);
    void moveOrigin(int32_t x, int32_t y) { originX_ = x, originY_ = y; }
    void placeHandle(int32_t x, int32_t y) { handleX_ = x, handleY_ = y; }
    void clipTo(int32_t x, int32_t y, int32_t width, int32_t height);

    void clear();
    // Primitives at the given position plus the origin, clipped to the viewport, in the ink
    // (canvas_drawing.cpp).
    void dot(int32_t x, int32_t y);
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void drawRect(int32_t x, int32_t y, int32_t width, int32_t height, bool solid);
    void drawOval(int32_t x, int32_t y, int32_t width, int32_t height, bool solid);
    // The text in the canvas font and ink, transparently (canvas_text.cpp).
    void drawText(int32_t x, int32_t y, std::string_view text);
    void copyArea(int32_t x, int32_t y, gxCanvas* source, int32_t sx, int32_t sy, int32_t width, int32_t height,
                  bool solid);

    // Locking nests; false when the store cannot be locked (a compressed store).
    bool beginAccess();
    void endAccess();
    bool locked() const { return lockDepth_ > 0; }

    uint32_t peekPixel(int32_t x, int32_t y);
    void pokePixel(int32_t x, int32_t y, uint32_t argb);
    // Unchecked access to a locked canvas: no origin, clipping or locking.
    uint32_t peekPixelFast(int32_t x, int32_t y) const {
        return format_.read(lockedPixels_ + x * format_.bytesPerPixel() + y * pitch_);
    }
    void pokePixelFast(int32_t x, int32_t y, uint32_t argb) {
        format_.write(lockedPixels_ + x * format_.bytesPerPixel() + y * pitch_, argb);
        changed();
    }
    void transferPixel(int32_t x, int32_t y, gxCanvas* source, int32_t sx, int32_t sy);
    void transferPixelFast(int32_t x, int32_t y, gxCanvas* source, int32_t sx, int32_t sy);

    bool collide(int32_t x1, int32_t y1, gxCanvas* other, int32_t x2, int32_t y2, bool boxOnly);
    bool collideRect(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t rwidth, int32_t rheight, bool boxOnly);
    void updateBitMask(const CanvasRect& rect);
    // Counts a change made outside the canvas's own drawing (a 3D render, a stretched copy).
    void touch(const CanvasRect& rect);

    void keepCopy();
    void restoreCopy();

    int32_t flags() const { return flags_; }
    gxDisplay* display() const { return display_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t depth() const { return format_.depth(); }
    const gxPixelFormat& format() const { return format_; }
    int32_t originX() const { return originX_; }
    int32_t originY() const { return originY_; }
    int32_t handleX() const { return handleX_; }
    int32_t handleY() const { return handleY_; }
    CanvasRect viewport() const { return viewport_; }
    uint32_t keyColour() const { return format_.valid() ? format_.toArgb(maskStored_) : 0; }
    uint32_t ink() const { return format_.valid() ? format_.toArgb(inkStored_) : 0; }
    uint32_t inkArgb() const { return inkArgb_; }
    uint32_t paperStored() const { return paperStored_; }
    // Read by the present timer's thread too: one writer, relaxed loads and stores.
    uint32_t modificationCount() const { return modCount_.load(std::memory_order_relaxed); }
    // Sets the count (the window kinds' Flip hands the back buffer's count to the front).
    void setModificationCount(uint32_t count) { modCount_.store(count, std::memory_order_relaxed); }
    // Page flip of the full-screen buffers: the two canvases trade their stores.
    void exchangeSurfaces(gxCanvas& other);
    bool hasBackup() const { return backup_ != nullptr; }
    size_t maskRowWords() const { return maskRow_; }
    bool hasMask() const { return !mask_.empty(); }

    // For the 3D engine.
    bool attachDepthBuffer();
    void detachDepthBuffer();
    void selectFace(int32_t index);
    void setCubeMode(int32_t mode) { cubeMode_ = mode; }
    int32_t cubeMode() const { return cubeMode_; }
    // The main store, its mipmaps regenerated first when the canvas changed since.
    Surface& renderSurface();
    Surface& currentSurface() { return *current_; }
    void regenerateMipmaps();

private:
    void changed() {
        modCount_.store(modCount_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        ++current_->version;
    }
    // The store's pixels, read back from the GL copy first when that was rendered into.
    uint8_t* cpuPixels();
    bool inViewport(int32_t x, int32_t y) const {
        return x >= viewport_.left && x < viewport_.right && y >= viewport_.top && y < viewport_.bottom;
    }
    void ensureMask();
    // Fills the rectangle (canvas coordinates) clipped to the viewport with a stored value.
    void fillClipped(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t stored);
    uint32_t maskWord(size_t row, int32_t word, bool& fault) const;

    int32_t flags_;
    int32_t cubeMode_ = 1;
    gxDisplay* display_;
    std::array<std::shared_ptr<Surface>, 6> faces_;  // -X, +Z, +X (main), -Z, +Y, -Y
    std::shared_ptr<Surface> main_;                   // non-cube canvases; shared by the window kinds' buffers
    Surface* current_;
    std::atomic<uint32_t> modCount_{0};
    std::unique_ptr<Surface> backup_;
    int32_t pitch_ = 0;
    int32_t lockDepth_ = 0;
    uint32_t lockModCount_ = 0;
    uint8_t* lockedPixels_ = nullptr;
    uint32_t mipmapModCount_ = 0;
    size_t maskRow_;
    std::vector<uint32_t> mask_;
    int32_t width_, height_;
    gxPixelFormat format_;
    gxFont* font_;
    CanvasRect viewport_;
    int32_t originX_ = 0, originY_ = 0, handleX_ = 0, handleY_ = 0;
    uint32_t maskStored_ = 0;
    uint32_t inkStored_ = 0, inkArgb_ = 0xFFFFFFFFu;
    uint32_t paperStored_ = 0;
};

}  // namespace tarsk
