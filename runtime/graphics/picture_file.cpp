#include "runtime/graphics/picture_file.h"

#include <FreeImage.h>

#include <cstring>
#include <mutex>

#include "runtime/graphics/canvas_flags.h"

namespace tarsk {

std::optional<Picture> readPicture(const std::string& path) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { FreeImage_Initialise(FALSE); });
    FREE_IMAGE_FORMAT type = FreeImage_GetFileType(path.c_str(), 0);
    if (type == FIF_UNKNOWN) type = FreeImage_GetFIFFromFilename(path.c_str());
    if (type == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(type)) return std::nullopt;
    FIBITMAP* loaded = FreeImage_Load(type, path.c_str(), 0);
    if (!loaded) return std::nullopt;
    Picture picture;
    picture.hasAlpha = FreeImage_GetBPP(loaded) == 32 || FreeImage_IsTransparent(loaded);
    FIBITMAP* converted = FreeImage_ConvertTo32Bits(loaded);
    FreeImage_Unload(loaded);
    if (!converted) return std::nullopt;
    picture.width = int32_t(FreeImage_GetWidth(converted));
    picture.height = int32_t(FreeImage_GetHeight(converted));
    unsigned pitch = FreeImage_GetPitch(converted);
    const uint8_t* bits = FreeImage_GetBits(converted);
    if (picture.width <= 0 || picture.height <= 0 || !bits) {
        FreeImage_Unload(converted);
        return std::nullopt;
    }
    picture.argb.resize(size_t(picture.width) * size_t(picture.height));
    // The library's rows run bottom-up; its 32-bit pixels are ARGB words.
    for (int32_t y = 0; y < picture.height; ++y) {
        const uint8_t* row = bits + size_t(picture.height - 1 - y) * pitch;
        std::memcpy(picture.argb.data() + size_t(y) * picture.width, row, size_t(picture.width) * 4);
    }
    FreeImage_Unload(converted);
    return picture;
}

void applyAlphaRules(Picture& picture, int32_t flags) {
    bool alpha = flags & CV_ALPHA, masked = flags & CV_MASKED, colour = flags & CV_COLOUR;
    if (alpha && !masked && picture.hasAlpha) return;
    for (uint32_t& p : picture.argb) {
        uint32_t rgb = p & 0xFFFFFFu;
        if (alpha && masked) {
            p = rgb | (rgb ? 0xFF000000u : 0);
        } else if (alpha) {
            uint32_t brightness = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
            p = (brightness << 24) | (colour ? rgb : 0xFFFFFFu);
        } else {
            p = rgb | 0xFF000000u;
        }
    }
}

void scalePictureInto(const Picture& picture, Surface& surface) {
    SurfaceLevel& level = surface.levels[0];
    const gxPixelFormat& f = surface.format;
    int32_t bpp = f.bytesPerPixel();
    for (int32_t i = 0; i < level.height; ++i) {
        const uint32_t* src = picture.argb.data() + size_t(int64_t(i) * picture.height / level.height) * picture.width;
        uint8_t* dst = level.bytes.data() + size_t(i) * level.pitch;
        for (int32_t j = 0; j < level.width; ++j)
            f.write(dst + j * bpp, src[int64_t(j) * picture.width / level.width]);
    }
}

}  // namespace tarsk
