// Pixel layouts of canvas stores and their conversion to and from 32-bit ARGB.
#pragma once

#include <cstdint>
#include <cstring>

namespace tarsk {

// The layouts the runtime creates. Textures may take any of the first five.
enum class PixelLayout : int32_t {
    kX8R8G8B8,
    kA8R8G8B8,
    kR5G6B5,
    kA1R5G5B5,
    kA4R4G4B4,
    kX1R5G5B5,
    kR8G8B8,
};

// An RGB pixel layout: depth, channel masks, and converters resolved once per format.
// Writing keeps the top bits of each ARGB byte; reading puts them back in the top bits
// with the low bits 0 and adds the fill bits of absent channels.
class gxPixelFormat {
public:
    using WriteFn = void (*)(const gxPixelFormat&, uint8_t*, uint32_t);
    using ReadFn = uint32_t (*)(const gxPixelFormat&, const uint8_t*);

    gxPixelFormat() = default;  // empty: a compressed store without pixel access
    static gxPixelFormat fromMasks(int32_t depth, uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue);
    static gxPixelFormat of(PixelLayout layout);

    bool valid() const { return read_ != nullptr; }
    int32_t depth() const { return depth_; }
    int32_t bytesPerPixel() const { return depth_ / 8; }
    uint32_t alphaMask() const { return masks_[0]; }
    uint32_t redMask() const { return masks_[1]; }
    uint32_t greenMask() const { return masks_[2]; }
    uint32_t blueMask() const { return masks_[3]; }
    bool operator==(const gxPixelFormat& o) const {
        return depth_ == o.depth_ && std::memcmp(masks_, o.masks_, sizeof masks_) == 0;
    }

    uint32_t toStored(uint32_t argb) const;
    uint32_t toArgb(uint32_t stored) const;
    void write(uint8_t* address, uint32_t argb) const { write_(*this, address, argb); }
    uint32_t read(const uint8_t* address) const { return read_(*this, address); }
    uint32_t readStored(const uint8_t* address) const;
    void writeStored(uint8_t* address, uint32_t stored) const;

private:
    int32_t depth_ = 0;
    uint32_t masks_[4] = {};  // alpha, red, green, blue
    uint32_t fill_ = 0;
    int32_t rightShift_[4] = {};
    int32_t leftShift_[4] = {};
    WriteFn write_ = nullptr;
    ReadFn read_ = nullptr;
};

}  // namespace tarsk
