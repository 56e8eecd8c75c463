// Texture data: the reference-counted entries holding a texture's frames, kept in an
// ordered set. Loads look entries up by (name, flags, frame width, frame height, first
// frame, frame count); entries of CreateTexture have an empty name and are never matched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarsk {

class gxCanvas;
class gxDisplay;

struct TextureKey {
    std::string name;  // lower-cased path of the file, "" for CreateTexture
    int32_t flags = 0;
    int32_t frameWidth = 0, frameHeight = 0, firstFrame = 0, frameCount = 0;  // 0 for LoadTexture
};

struct TextureData {
    int32_t references = 1;
    TextureKey key;
    std::vector<gxCanvas*> frames;  // made by the display; dropped with the entry
};

// The live entry matching a load request (one more reference), or nullptr.
TextureData* findTextureData(const TextureKey& key);
// A new entry with one reference, in the set. It takes the frames.
TextureData* addTextureData(TextureKey key, std::vector<gxCanvas*> frames);
// Drops one reference; the last one removes the entry and frees its frames.
void releaseTextureData(TextureData* data);
// Live entries, cached or not.
int32_t liveTextureDataCount();

class TextureRep;
// A new representation with the defaults, taking one reference of data.
TextureRep* makeTextureRep(TextureData* data);

// The display texture canvases are made on, or nullptr when no mode is open. Using it
// arranges that a mode change first frees the canvases of every texture.
gxDisplay* textureDisplay();
// Frees the canvases of every live entry and takes the entries out of the look-up:
// their textures go on with no frames. Run before the display closes.
void dropAllTextureCanvases();
// Frees a canvas made for a texture; when it is the current buffer, the back buffer
// becomes current.
void dropTextureCanvas(gxCanvas* canvas);

}  // namespace tarsk
