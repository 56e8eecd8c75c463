#include "runtime/graphics/gx_canvas.h"

#include <algorithm>
#include <cstring>

#include "runtime/graphics/canvas_flags.h"
#include "runtime/graphics/gl_sync.h"
#include "runtime/graphics/mipmaps.h"
#include "runtime/host/gx_host.h"

namespace tarsk {
namespace {

constexpr int kMainFace = 2;

void reportInternal(const char* text) {
    if (gxHost* host = currentHost()) host->showError(text);
}

// Stores are 4-byte aligned with pitches of whole words, so 16- and 32-bit pixels are
// read as such.
template <class Pixel>
void keyedRow(Pixel* dst, const Pixel* src, int32_t width, uint32_t key) {
    for (int32_t x = 0; x < width; ++x)
        if (src[x] != Pixel(key)) dst[x] = src[x];
}

// Copies rows of stored values between stores of one format; with a key, source values
// equal to it are skipped.
void copyStored(const gxPixelFormat& f, uint8_t* dst, int32_t dstPitch, const uint8_t* src, int32_t srcPitch,
                int32_t width, int32_t height, bool keyed, uint32_t key) {
    int32_t bpp = f.bytesPerPixel();
    for (int32_t y = 0; y < height; ++y, dst += dstPitch, src += srcPitch) {
        if (!keyed) {
            std::memmove(dst, src, size_t(width) * size_t(bpp));
            continue;
        }
        if (bpp == 4) {
            keyedRow(reinterpret_cast<uint32_t*>(dst), reinterpret_cast<const uint32_t*>(src), width, key);
        } else if (bpp == 2) {
            keyedRow(reinterpret_cast<uint16_t*>(dst), reinterpret_cast<const uint16_t*>(src), width, key);
        } else {
            for (int32_t x = 0; x < width; ++x) {
                uint32_t v = f.readStored(src + x * bpp);
                if (v != key) f.writeStored(dst + x * bpp, v);
            }
        }
    }
}

// Between different formats every pixel goes through ARGB.
void copyConverted(const gxPixelFormat& df, uint8_t* dst, int32_t dstPitch, const gxPixelFormat& sf,
                   const uint8_t* src, int32_t srcPitch, int32_t width, int32_t height, bool keyed, uint32_t key) {
    int32_t dbpp = df.bytesPerPixel(), sbpp = sf.bytesPerPixel();
    for (int32_t y = 0; y < height; ++y, dst += dstPitch, src += srcPitch) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* s = src + x * sbpp;
            if (keyed && sf.readStored(s) == key) continue;
            df.write(dst + x * dbpp, sf.read(s));
        }
    }
}

}  // namespace

gxCanvas::gxCanvas(gxDisplay* display, std::shared_ptr<Surface> surface, int32_t flags,
                   std::vector<std::shared_ptr<Surface>> otherFaces, gxFont* font)
    : flags_(flags), display_(display), font_(font) {
    if ((flags & CV_CUBE) && otherFaces.size() == 5) {
        faces_[kMainFace] = std::move(surface);
        for (int i = 0, k = 0; i < 6; ++i)
            if (i != kMainFace) faces_[i] = std::move(otherFaces[k++]);
        current_ = faces_[1].get();
    } else {
        flags_ &= ~CV_CUBE;
        main_ = std::move(surface);
        current_ = main_.get();
    }
    width_ = current_->width();
    height_ = current_->height();
    format_ = current_->format;
    maskRow_ = size_t(width_ + 31) / 32 + 1;
    viewport_ = {0, 0, width_, height_};
    if (format_.valid()) {
        inkStored_ = format_.toStored(inkArgb_);
        paperStored_ = format_.toStored(0xFF000000u);
    }
    if ((flags_ & CV_TEXTURE) && current_->levels.size() > 1) regenerateMipmaps();
}

gxCanvas::~gxCanvas() = default;

uint8_t* gxCanvas::cpuPixels() {
    syncForCpu(*current_);
    return current_->pixels();
}

void gxCanvas::setKeyColour(uint32_t argb) {
    if (format_.valid()) maskStored_ = format_.toStored(argb);
}

void gxCanvas::setInk(uint32_t argb) {
    inkArgb_ = argb | 0xFF000000u;
    if (format_.valid()) inkStored_ = format_.toStored(inkArgb_);
}

void gxCanvas::setPaper(uint32_t argb) {
    if (format_.valid()) paperStored_ = format_.toStored(argb | 0xFF000000u);
}

void gxCanvas::clipTo(int32_t x, int32_t y, int32_t width, int32_t height) {
    int64_t left = std::max(x, 0), top = std::max(y, 0);
    int64_t right = std::min<int64_t>(int64_t(x) + width, width_), bottom = std::min<int64_t>(int64_t(y) + height, height_);
    if (right <= left || bottom <= top) {
        viewport_ = {};
        return;
    }
    viewport_ = {int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
}

void gxCanvas::clear() {
    if (!format_.valid() || viewport_.empty()) return;
    uint8_t* pixels = cpuPixels();
    int32_t bpp = format_.bytesPerPixel(), pitch = current_->pitch();
    for (int32_t y = viewport_.top; y < viewport_.bottom; ++y) {
        uint8_t* row = pixels + size_t(y) * pitch + size_t(viewport_.left) * bpp;
        int32_t count = viewport_.right - viewport_.left;
        if (bpp == 4) {
            std::fill_n(reinterpret_cast<uint32_t*>(row), count, paperStored_);
        } else {
            for (int32_t x = 0; x < count; ++x) format_.writeStored(row + x * bpp, paperStored_);
        }
    }
    changed();
    if (hasMask()) updateBitMask(viewport_);
}

void gxCanvas::copyArea(int32_t x, int32_t y, gxCanvas* source, int32_t sx, int32_t sy, int32_t width,
                        int32_t height, bool solid) {
    if (!source || !format_.valid() || !source->format_.valid()) return;
    int64_t dl = int64_t(x) + originX_ - source->handleX_, dt = int64_t(y) + originY_ - source->handleY_;
    int64_t dr = dl + width, db = dt + height;
    int64_t sl = sx, st = sy, sr = int64_t(sx) + width, sb = int64_t(sy) + height;
    // Clip to this viewport, moving the source edges alike; then to the whole source.
    auto clipEdges = [](int64_t& al, int64_t& at, int64_t& ar, int64_t& ab, int64_t& bl, int64_t& bt, int64_t& br,
                        int64_t& bb, const CanvasRect& to) {
        if (al < to.left) bl += to.left - al, al = to.left;
        if (at < to.top) bt += to.top - at, at = to.top;
        if (ar > to.right) br -= ar - to.right, ar = to.right;
        if (ab > to.bottom) bb -= ab - to.bottom, ab = to.bottom;
        return ar > al && ab > at;
    };
    if (!clipEdges(dl, dt, dr, db, sl, st, sr, sb, viewport_)) return;
    if (!clipEdges(sl, st, sr, sb, dl, dt, dr, db, CanvasRect{0, 0, source->width_, source->height_})) return;
    int32_t w = int32_t(dr - dl), h = int32_t(db - dt);
    const uint8_t* src = source->cpuPixels() + st * source->current_->pitch() + sl * source->format_.bytesPerPixel();
    uint8_t* dst = cpuPixels() + dt * current_->pitch() + dl * format_.bytesPerPixel();
    if (source->format_ == format_) {
        copyStored(format_, dst, current_->pitch(), src, source->current_->pitch(), w, h, !solid, source->maskStored_);
    } else {
        copyConverted(format_, dst, current_->pitch(), source->format_, src, source->current_->pitch(), w, h, !solid,
                      source->maskStored_);
    }
    changed();
    if (hasMask()) updateBitMask({int32_t(dl), int32_t(dt), int32_t(dr), int32_t(db)});
}

bool gxCanvas::beginAccess() {
    if (!format_.valid()) return false;
    if (++lockDepth_ == 1) {
        lockedPixels_ = cpuPixels();
        pitch_ = current_->pitch();
        lockModCount_ = modificationCount();
    }
    return true;
}

void gxCanvas::endAccess() {
    if (lockDepth_ == 0) return;
    if (lockDepth_ == 1 && hasMask() && modificationCount() != lockModCount_) {
        lockModCount_ = modificationCount();
        updateBitMask({0, 0, width_, height_});
    }
    if (--lockDepth_ == 0) lockedPixels_ = nullptr;
}

uint32_t gxCanvas::peekPixel(int32_t x, int32_t y) {
    x += originX_;
    y += originY_;
    if (!inViewport(x, y) || !beginAccess()) return keyColour();
    uint32_t argb = peekPixelFast(x, y);
    endAccess();
    return argb;
}

void gxCanvas::pokePixel(int32_t x, int32_t y, uint32_t argb) {
    x += originX_;
    y += originY_;
    if (!inViewport(x, y) || !beginAccess()) return;
    pokePixelFast(x, y, argb);
    endAccess();
}

void gxCanvas::transferPixel(int32_t x, int32_t y, gxCanvas* source, int32_t sx, int32_t sy) {
    if (!source) return;
    x += originX_;
    y += originY_;
    sx += source->originX_;
    sy += source->originY_;
    if (!inViewport(x, y) || !source->inViewport(sx, sy)) return;
    if (!beginAccess()) return;
    if (source->beginAccess()) {
        transferPixelFast(x, y, source, sx, sy);
        source->endAccess();
    }
    endAccess();
}

void gxCanvas::transferPixelFast(int32_t x, int32_t y, gxCanvas* source, int32_t sx, int32_t sy) {
    int32_t bpp = format_.bytesPerPixel();
    format_.writeStored(lockedPixels_ + x * bpp + y * pitch_,
                        format_.readStored(source->lockedPixels_ + sx * bpp + sy * source->pitch_));
    changed();
}

void gxCanvas::updateBitMask(const CanvasRect& rect) {
    if (rect.empty() || mask_.empty() || !beginAccess()) return;
    uint32_t key = format_.toArgb(maskStored_) & 0xFFFFFFu;
    int32_t bpp = format_.bytesPerPixel();
    for (int32_t y = std::max(rect.top, 0); y < std::min(rect.bottom, height_); ++y) {
        const uint8_t* row = lockedPixels_ + size_t(y) * pitch_;
        for (int32_t k = std::max(rect.left, 0) / 32; k < (std::min(rect.right, width_) + 31) / 32; ++k) {
            uint32_t word = 0;
            for (int32_t i = 0, px = 32 * k; i < 32; ++i, ++px) {
                word <<= 1;
                if (px < width_ && (format_.read(row + px * bpp) & 0xFFFFFFu) != key) word |= 1;
            }
            size_t at = size_t(y) * maskRow_ + size_t(k);
            if (size_t(k) >= maskRow_ || at >= mask_.size()) {
                reportInternal("gxCanvas::updateBitMask dest out of range");
                continue;
            }
            mask_[at] = word;
        }
    }
    endAccess();
}

void gxCanvas::touch(const CanvasRect& rect) {
    changed();
    if (hasMask()) updateBitMask(rect);
}

void gxCanvas::ensureMask() {
    if (!mask_.empty() || !format_.valid()) return;
    mask_.assign(maskRow_ * size_t(height_), 0);
    if (mask_.empty()) return;
    updateBitMask({0, 0, width_, height_});
}

uint32_t gxCanvas::maskWord(size_t row, int32_t word, bool& fault) const {
    if (word < 0) {
        reportInternal("gxCanvas::collide row underflow");
        fault = true;
        return 0;
    }
    size_t at = row * maskRow_ + size_t(word);
    if (size_t(word) >= maskRow_ || at >= mask_.size()) {
        reportInternal("gxCanvas::collide row overflow");
        fault = true;
        return 0;
    }
    return mask_[at];
}

bool gxCanvas::collide(int32_t x1, int32_t y1, gxCanvas* other, int32_t x2, int32_t y2, bool boxOnly) {
    if (!other) return false;
    x1 -= handleX_, y1 -= handleY_, x2 -= other->handleX_, y2 -= other->handleY_;
    if (x1 + width_ <= x2 || x2 + other->width_ <= x1 || y1 + height_ <= y2 || y2 + other->height_ <= y1) return false;
    if (boxOnly) return true;
    ensureMask();
    other->ensureMask();
    if (!hasMask() || !other->hasMask()) return false;
    gxCanvas* a = this;
    gxCanvas* b = other;
    if (x1 > x2) std::swap(a, b), std::swap(x1, x2), std::swap(y1, y2);
    int32_t right = std::min(x1 + a->width_, x2 + b->width_) - 1;
    int32_t top = std::max(y1, y2), bottom = std::min(y1 + a->height_, y2 + b->height_);
    int32_t s = (x2 - x1) % 32, k0 = (x2 - x1) / 32, k1 = (right - x1) / 32;
    uint32_t edge = ~0u << (31 - (right - x1) % 32);
    bool fault = false;
    for (int32_t y = top; y < bottom; ++y) {
        size_t rowA = size_t(y - y1), rowB = size_t(y - y2);
        uint32_t carry = 0;
        for (int32_t j = 0; j < k1 - k0; ++j) {
            uint32_t bw = b->maskWord(rowB, j, fault);
            if (a->maskWord(rowA, k0 + j, fault) & (carry | (bw >> s))) return true;
            carry = s > 0 ? bw << (32 - s) : 0;
        }
        uint32_t bw = b->maskWord(rowB, k1 - k0, fault);
        if (a->maskWord(rowA, k1, fault) & (carry | (bw >> s)) & edge) return true;
    }
    return false;
}

bool gxCanvas::collideRect(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t rwidth, int32_t rheight,
                           bool boxOnly) {
    x -= handleX_, y -= handleY_;
    if (rx + rwidth <= x || x + width_ <= rx || ry + rheight <= y || y + height_ <= ry) return false;
    if (boxOnly) return true;
    ensureMask();
    if (!hasMask()) return false;
    int32_t left = std::max(rx, x) - x, right = std::min(rx + rwidth, x + width_) - x;
    int32_t top = std::max(ry, y) - y, bottom = std::min(ry + rheight, y + height_) - y;
    uint32_t leftMask = 0xFFFFFFFFu >> (left % 32), rightMask = ~0u << (31 - (right - 1) % 32);
    int32_t first = left / 32, last = (right - 1) / 32;
    bool fault = false;
    for (int32_t row = top; row < bottom; ++row) {
        for (int32_t k = first; k <= last; ++k) {
            uint32_t word = maskWord(size_t(row), k, fault);
            if (k == first) word &= leftMask;
            if (k == last) word &= rightMask;
            if (word) return true;
        }
    }
    return false;
}

void gxCanvas::keepCopy() {
    if (flags_ & CV_CUBE) return;
    if (!backup_) {
        if (current_->systemMemory) return;
        backup_ = std::make_unique<Surface>();
        backup_->format = current_->format;
        backup_->fourCC = current_->fourCC;
        backup_->systemMemory = true;
    }
    syncForCpu(*current_);
    backup_->levels = current_->levels;
}

void gxCanvas::restoreCopy() {
    if (!backup_) return;
    syncForCpu(*current_);
    current_->levels = backup_->levels;
    changed();
}

void gxCanvas::exchangeSurfaces(gxCanvas& other) {
    if ((flags_ | other.flags_) & CV_CUBE) return;
    std::swap(main_, other.main_);
    current_ = main_.get();
    other.current_ = other.main_.get();
}

bool gxCanvas::attachDepthBuffer() {
    current_->gl.wantsDepth = true;
    return true;
}

void gxCanvas::detachDepthBuffer() { current_->gl.wantsDepth = false; }

void gxCanvas::selectFace(int32_t index) {
    if (!(flags_ & CV_CUBE) || index < 0 || index > 5) return;
    if (modificationCount() != mipmapModCount_) regenerateMipmaps();
    current_ = faces_[size_t(index)].get();
    if (lockDepth_ > 0) {
        lockedPixels_ = cpuPixels();
        pitch_ = current_->pitch();
    }
}

Surface& gxCanvas::renderSurface() {
    if (modificationCount() != mipmapModCount_) regenerateMipmaps();
    return (flags_ & CV_CUBE) ? *faces_[kMainFace] : *main_;
}

void gxCanvas::regenerateMipmaps() {
    mipmapModCount_ = modificationCount();
    if (!format_.valid() || current_->levels.size() < 2) return;
    syncForCpu(*current_);
    buildMipmaps(*current_);
    ++current_->version;
}

}  // namespace tarsk
