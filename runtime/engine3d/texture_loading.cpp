// LoadTexture, LoadAnimTexture and CreateTexture: flags by filter, the texture path, the
// cache, and the frames of a picture, an animation strip or a cube strip.
#include <cstdint>
#include <optional>

#include "runtime/engine3d/texture.h"
#include "runtime/engine3d/texture_cache.h"
#include "runtime/engine3d/texture_names.h"
#include "runtime/graphics/canvas_flags.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"

namespace tarsk {
namespace {

constexpr int32_t kCubeFaces = 6;
constexpr int32_t kStripReadFlags = CV_COLOUR | CV_ALPHA | CV_MASKED | CV_HICOLOUR;

// Every texture canvas is a texture; a masked one also has colour and alpha.
int32_t textureCanvasFlags(int32_t flags) {
    flags |= CV_TEXTURE;
    if (flags & CV_MASKED) flags |= CV_COLOUR | CV_ALPHA;
    return flags;
}

bool animationRequested(const TextureKey& key) {
    return key.frameWidth > 0 && key.frameHeight > 0 && key.firstFrame >= 0 && key.frameCount > 0;
}

std::vector<gxCanvas*> cubeFrames(gxDisplay& display, gxCanvas& strip, int32_t flags) {
    int32_t faceWidth = strip.width() / kCubeFaces;
    if (faceWidth * kCubeFaces != strip.width()) return {};
    gxCanvas* cube = display.makeCanvas(faceWidth, strip.height(), flags);
    if (!cube) return {};
    for (int32_t face = 0; face < kCubeFaces; ++face) {
        cube->selectFace(face);
        cube->copyArea(0, 0, &strip, face * faceWidth, 0, faceWidth, strip.height(), true);
    }
    cube->selectFace(1);
    return {cube};
}

std::vector<gxCanvas*> stripFrames(gxDisplay& display, gxCanvas& strip, const TextureKey& key) {
    const int32_t w = key.frameWidth, h = key.frameHeight;
    int32_t perRow = strip.width() / w;
    if (int64_t(strip.height() / h) * perRow < int64_t(key.firstFrame) + key.frameCount) return {};
    int32_t x = w * (key.firstFrame % perRow), y = h * (key.firstFrame / perRow);
    std::vector<gxCanvas*> frames;
    for (int32_t i = 0; i < key.frameCount; ++i) {
        gxCanvas* frame = display.makeCanvas(w, h, key.flags);
        if (!frame) break;
        frame->copyArea(0, 0, &strip, x, y, w, h, true);
        frames.push_back(frame);
        if (strip.width() < x + 2 * w) {
            x = 0;
            y += h;
        } else {
            x += w;
        }
    }
    return frames;
}

// The frames of one file under the key's flags and animation parameters.
std::vector<gxCanvas*> loadFrames(const std::string& path, const TextureKey& key) {
    gxDisplay* display = textureDisplay();
    if (!display) return {};
    bool cube = key.flags & CV_CUBE;
    if (!cube && !animationRequested(key)) {
        gxCanvas* canvas = display->readCanvasFile(path, key.flags);
        if (!canvas) return {};
        return {canvas};
    }
    gxCanvas* strip = display->readCanvasFile(path, (key.flags & kStripReadFlags) | CV_SYSMEM);
    if (!strip) return {};
    std::vector<gxCanvas*> frames;
    if (strip->format().valid())
        frames = cube ? cubeFrames(*display, *strip, key.flags) : stripFrames(*display, *strip, key);
    display->dropCanvas(strip);
    return frames;
}

// A cached entry of the name, or one loaded from it; nullptr when that has no frames.
TextureData* entryFor(std::string name, TextureKey key) {
    key.name = std::move(name);
    if (TextureData* shared = findTextureData(key)) return shared;
    std::vector<gxCanvas*> frames = loadFrames(key.name, key);
    if (frames.empty()) return nullptr;
    return addTextureData(std::move(key), std::move(frames));
}

TextureRep* load(const std::string& file, TextureKey key) {
    key.flags = textureCanvasFlags(key.flags | filterFlags(file));
    std::string_view name = withoutCurrentFolder(file);
    TextureData* data = nullptr;
    if (!texturePath().empty()) data = entryFor(texturePath() + lowerCased(fileNamePart(name)), key);
    if (!data) data = entryFor(lowerCased(name), key);
    return data ? makeTextureRep(data) : nullptr;
}

}  // namespace

TextureRep* loadTexture(const std::string& file, int32_t flags) {
    TextureKey key;
    key.flags = flags;
    return load(file, key);
}

TextureRep* loadAnimTexture(const std::string& file, int32_t flags, int32_t width, int32_t height, int32_t first,
                            int32_t count) {
    TextureKey key;
    key.flags = flags;
    key.frameWidth = width;
    key.frameHeight = height;
    key.firstFrame = first;
    key.frameCount = count;
    return load(file, key);
}

TextureRep* createTexture(int32_t width, int32_t height, int32_t flags, int32_t frames) {
    TextureKey key;
    key.flags = textureCanvasFlags(flags);
    std::vector<gxCanvas*> canvases;
    if (gxDisplay* display = textureDisplay()) {
        for (int32_t i = 0; i < frames; ++i) {
            gxCanvas* canvas = display->makeCanvas(width, height, key.flags);
            if (!canvas) break;
            canvases.push_back(canvas);
        }
    }
    return makeTextureRep(addTextureData(std::move(key), std::move(canvases)));
}

}  // namespace tarsk
