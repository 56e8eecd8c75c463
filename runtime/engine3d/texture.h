// Textures: a handle (the value a program holds) refers to a shared, reference-counted
// representation, which refers to a reference-counted cache entry holding the frames
// (canvases made by gxDisplay). Brush slots hold a TextureRep reference of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarsk {

class gxCanvas;
struct TextureData;

// The shared representation. Setters change it in place for every holder.
class TextureRep {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* record, std::size_t size);

    void retain() { ++references_; }
    // Frees the representation with the last reference, and its cache entry with the
    // entry's last reference.
    void release();

    // The frames; none once the graphics mode they were made in has closed, so hold a
    // frame index rather than a canvas across mode changes.
    int32_t frameCount() const;
    // The canvas of a frame, nullptr when index is out of range.
    gxCanvas* frame(int32_t index) const;
    // The canvas flags the frames were made with (texture flags | CV_TEXTURE ...).
    int32_t flags() const;
    // Flags contain 2 and not 4.
    bool hasAlpha() const { return hasAlpha_; }
    // TextureBlend: 0 unchanged, 1 alpha, 2 multiply (default), 3 add, 4 dot3, 5 multiply x2.
    int32_t blend() const { return blend_; }
    void setBlend(int32_t blend) { blend_ = blend; }
    // TextureCoords: 0 or 1.
    int32_t coordinateSet() const { return coordinateSet_; }
    void setCoordinateSet(int32_t set) { coordinateSet_ = set & 1; }
    void setScale(float uScale, float vScale);
    void setRotation(float degrees);
    void setOffset(float uOffset, float vOffset);
    // The twelve floats of the texture transform (rows (cos a·su, −sin a·sv, 0),
    // (sin a·su, cos a·sv, 0), (ou, ov, 0), (0, 0, 0)), rebuilt after a change;
    // nullptr when no transform is in use.
    const float* transform();
    // The cache entry's name ("" for CreateTexture).
    const std::string& name() const;

private:
    friend TextureRep* makeTextureRep(TextureData* data);
    explicit TextureRep(TextureData* data);
    ~TextureRep();

    int32_t references_ = 1;
    TextureData* data_;  // its frames are the texture's; a mode change empties them
    int32_t blend_ = 2;
    int32_t coordinateSet_ = 0;
    bool hasAlpha_ = false;
    float uScale_ = 1, vScale_ = 1, uOffset_ = 0, vOffset_ = 0, rotation_ = 0;
    bool transformInUse_ = false, transformValid_ = false;
    float transform_[12] = {};
};

// The handle record given to programs; its address is the handle.
struct Texture {
    static void* operator new(std::size_t size);
    static void operator delete(void* record, std::size_t size);
    explicit Texture(TextureRep* rep) : rep(rep) {}
    // Releases rep.
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    TextureRep* rep;
};

// Loading through filters, texture path and cache; nullptr when no frame results.
TextureRep* loadTexture(const std::string& file, int32_t flags);
TextureRep* loadAnimTexture(const std::string& file, int32_t flags, int32_t width, int32_t height,
                            int32_t first, int32_t count);
// CreateTexture's representation; frames stop at the first canvas that cannot be made.
TextureRep* createTexture(int32_t width, int32_t height, int32_t flags, int32_t frames);

// The texture registry: handles given to programs.
Texture* registerTexture(TextureRep* rep);
// The registered texture of a handle; "Texture does not exist" for any other handle
// (always checked: a freed handle would touch freed memory).
Texture* checkedTexture(int32_t handle);
// Removes and frees a registered texture; nothing for an unregistered one.
void freeTexture(Texture* texture);
void freeAllTextures();
// Module end: frees every registered texture, then the canvases of textures still held
// elsewhere (they go on with no frames).
void closeTextures();
// Live cache entries (ActiveTextures).
int32_t activeTextureCount();

// Texture path of the model loaders: a lower-cased directory ending in "\" or "".
void setTexturePath(const std::string& directory);
// Filters: reset to the single ("", 9) filter when the 3D world is created.
void resetTextureFilters();

}  // namespace tarsk
