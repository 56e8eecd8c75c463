#include "runtime/graphics/pixel_format.h"

#include <bit>

namespace tarsk {
namespace {

constexpr int32_t kChannelBase[4] = {24, 16, 8, 0};

constexpr uint32_t loadBytes(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

inline void storeBytes(uint8_t* p, uint32_t v, int bytes) {
    if (bytes == 4) {
        std::memcpy(p, &v, 4);
    } else if (bytes == 2) {
        uint16_t s = uint16_t(v);
        std::memcpy(p, &s, 2);
    } else {
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
        p[2] = uint8_t(v >> 16);
    }
}

inline uint32_t loadPixel(const uint8_t* p, int bytes) {
    if (bytes == 4) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    if (bytes == 2) {
        uint16_t s;
        std::memcpy(&s, p, 2);
        return s;
    }
    return loadBytes(p, 3);
}

// Shifts of one channel, worked out at compile time for the common layouts.
struct ChannelShift {
    uint32_t mask;
    int32_t right, left;
};

constexpr ChannelShift shiftOf(uint32_t mask, int32_t base) {
    if (mask == 0) return {0, 0, 0};
    int32_t n = std::popcount(mask), p = std::countr_zero(mask);
    return {mask, 8 - n + base, p};
}

constexpr uint32_t fillOf(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a ? 0 : 0xFF000000u) | (r ? 0 : 0x00FF0000u) | (g ? 0 : 0x0000FF00u) | (b ? 0 : 0x000000FFu);
}

constexpr uint32_t pack(ChannelShift c, uint32_t argb) {
    return c.mask ? ((argb >> c.right) << c.left) & c.mask : 0;
}
constexpr uint32_t unpack(ChannelShift c, uint32_t stored) {
    return c.mask ? ((stored & c.mask) >> c.left) << c.right : 0;
}

template <int Bytes, uint32_t A, uint32_t R, uint32_t G, uint32_t B>
struct FixedLayout {
    static constexpr ChannelShift a = shiftOf(A, 24), r = shiftOf(R, 16), g = shiftOf(G, 8), b = shiftOf(B, 0);
    static constexpr uint32_t fill = fillOf(A, R, G, B);
    static void write(const gxPixelFormat&, uint8_t* p, uint32_t argb) {
        storeBytes(p, pack(a, argb) | pack(r, argb) | pack(g, argb) | pack(b, argb), Bytes);
    }
    static uint32_t read(const gxPixelFormat&, const uint8_t* p) {
        uint32_t s = loadPixel(p, Bytes);
        return unpack(a, s) | unpack(r, s) | unpack(g, s) | unpack(b, s) | fill;
    }
};

// Layouts with 8-bit channels in ARGB order need no shifting at all.
void writeArgb32(const gxPixelFormat&, uint8_t* p, uint32_t argb) { std::memcpy(p, &argb, 4); }
uint32_t readArgb32(const gxPixelFormat&, const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
void writeXrgb32(const gxPixelFormat&, uint8_t* p, uint32_t argb) {
    uint32_t v = argb & 0x00FFFFFFu;
    std::memcpy(p, &v, 4);
}
uint32_t readXrgb32(const gxPixelFormat&, const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v | 0xFF000000u;
}

void writeGeneric(const gxPixelFormat& f, uint8_t* p, uint32_t argb) { f.writeStored(p, f.toStored(argb)); }
uint32_t readGeneric(const gxPixelFormat& f, const uint8_t* p) { return f.toArgb(f.readStored(p)); }

struct KnownLayout {
    int32_t depth;
    uint32_t a, r, g, b;
    gxPixelFormat::WriteFn write;
    gxPixelFormat::ReadFn read;
};

template <int Bytes, uint32_t A, uint32_t R, uint32_t G, uint32_t B>
constexpr KnownLayout known() {
    return {Bytes * 8, A, R, G, B, FixedLayout<Bytes, A, R, G, B>::write, FixedLayout<Bytes, A, R, G, B>::read};
}

const KnownLayout kKnownLayouts[] = {
    {32, 0, 0xFF0000, 0xFF00, 0xFF, writeXrgb32, readXrgb32},
    {32, 0xFF000000u, 0xFF0000, 0xFF00, 0xFF, writeArgb32, readArgb32},
    known<2, 0, 0xF800, 0x07E0, 0x001F>(),
    known<2, 0x8000, 0x7C00, 0x03E0, 0x001F>(),
    known<2, 0xF000, 0x0F00, 0x00F0, 0x000F>(),
    known<2, 0, 0x7C00, 0x03E0, 0x001F>(),
    known<3, 0, 0xFF0000, 0xFF00, 0xFF>(),
};

}  // namespace

gxPixelFormat gxPixelFormat::fromMasks(int32_t depth, uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue) {
    gxPixelFormat f;
    if (depth != 16 && depth != 24 && depth != 32) return f;
    f.depth_ = depth;
    f.masks_[0] = alpha;
    f.masks_[1] = red;
    f.masks_[2] = green;
    f.masks_[3] = blue;
    f.fill_ = fillOf(alpha, red, green, blue);
    for (int c = 0; c < 4; ++c) {
        ChannelShift s = shiftOf(f.masks_[c], kChannelBase[c]);
        f.rightShift_[c] = s.right;
        f.leftShift_[c] = s.left;
    }
    f.write_ = writeGeneric;
    f.read_ = readGeneric;
    for (const KnownLayout& k : kKnownLayouts) {
        if (k.depth == depth && k.a == alpha && k.r == red && k.g == green && k.b == blue) {
            f.write_ = k.write;
            f.read_ = k.read;
        }
    }
    return f;
}

gxPixelFormat gxPixelFormat::of(PixelLayout layout) {
    const KnownLayout& k = kKnownLayouts[int(layout)];
    return fromMasks(k.depth, k.a, k.r, k.g, k.b);
}

uint32_t gxPixelFormat::toStored(uint32_t argb) const {
    uint32_t stored = 0;
    for (int c = 0; c < 4; ++c)
        if (masks_[c]) stored |= ((argb >> rightShift_[c]) << leftShift_[c]) & masks_[c];
    return stored;
}

uint32_t gxPixelFormat::toArgb(uint32_t stored) const {
    uint32_t argb = fill_;
    for (int c = 0; c < 4; ++c)
        if (masks_[c]) argb |= ((stored & masks_[c]) >> leftShift_[c]) << rightShift_[c];
    return argb;
}

uint32_t gxPixelFormat::readStored(const uint8_t* address) const { return loadPixel(address, bytesPerPixel()); }

void gxPixelFormat::writeStored(uint8_t* address, uint32_t stored) const {
    storeBytes(address, stored, bytesPerPixel());
}

}  // namespace tarsk
