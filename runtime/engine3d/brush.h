// Brushes: how a surface or a whole model looks (colour, alpha, shininess, blend, effects
// and up to eight textures). A Brush is a small value over a pooled, reference-counted
// representation that is copied before any change while it is shared, so whatever was
// painted with a brush keeps the values it had at painting time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarsk {

class gxCanvas;
class TextureRep;

inline constexpr int32_t kBrushSlots = 8;

// Brush blend modes (BrushBlend, EntityBlend).
enum BrushBlendMode : int32_t { kBlendDefault = 0, kBlendAlpha = 1, kBlendMultiply = 2, kBlendAdd = 3 };
// Effect bits the brush code itself reads or derives.
inline constexpr int32_t kFxForceAlpha = 32;
inline constexpr int32_t kFxMaskedTexture = 0x2000;

// One texture slot as the renderer sees it. No padding: render states compare as bytes.
struct BrushSlotState {
    gxCanvas* canvas = nullptr;  // the chosen frame, nullptr when the slot is empty
    int32_t flags = 0;           // the texture's canvas flags
    int32_t blend = 0;           // the texture's blend
    int32_t coordinateSet = 0;   // the texture's coordinate set
    int32_t unused = 0;
};
static_assert(sizeof(BrushSlotState) == 24);

// Everything that decides how a brush draws; equal brushes have byte-equal render states.
struct BrushRenderState {
    float red = 1, green = 1, blue = 1;
    float shininess = 0;
    float alpha = 1;
    int32_t effectiveBlend = 0;
    int32_t fx = 0;  // with kFxMaskedTexture derived from slot 0
    int32_t unused = 0;
    BrushSlotState slots[kBrushSlots];
};
static_assert(sizeof(BrushRenderState) == 32 + kBrushSlots * sizeof(BrushSlotState));

struct BrushRep;

class Brush {
public:
    // Default values: white, opaque, no textures.
    Brush();
    Brush(const Brush& other);
    Brush(Brush&& other) noexcept;
    Brush& operator=(const Brush& other);
    Brush& operator=(Brush&& other) noexcept;
    ~Brush();

    float red() const;
    float green() const;
    float blue() const;
    float alpha() const;
    float shininess() const;
    int32_t blend() const;
    int32_t fx() const;
    // Highest non-empty slot + 1.
    int32_t slotCount() const;
    // The slot's texture and frame canvas (nullptr when empty); index must be 0 to 7.
    TextureRep* texture(int32_t index) const;
    gxCanvas* frameCanvas(int32_t index) const;

    // Colour components 0 to 1.
    void setColor(float red, float green, float blue);
    // The derived state is invalidated only when alpha crosses 1.
    void setAlpha(float alpha);
    void setShininess(float shininess);
    void setBlend(int32_t blend);
    void setFX(int32_t fx);
    // Slot index (0 to 7) := texture with the canvas of frame (none if it has no such
    // frame); nullptr empties the slot. The brush keeps a reference of its own.
    void setTexture(int32_t index, TextureRep* texture, int32_t frame);

    // Derived when needed and cached until the next change; the texture fields of the
    // slots are refreshed from the textures on each call.
    const BrushRenderState& renderState() const;
    int32_t effectiveBlend() const { return renderState().effectiveBlend; }

    // What a model draws a surface with: the surface brush combined with the entity's.
    static Brush combine(const Brush& surface, const Brush& entity);

    // True when both refer to one representation: neither changed since one was copied
    // from the other.
    bool sharesRepresentation(const Brush& other) const { return rep_ == other.rep_; }

private:
    // Makes rep_ unshared before a change.
    BrushRep& mutableRep();

    BrushRep* rep_;
};

// Byte order of the render states: equality and a total order.
int compareBrushes(const Brush& a, const Brush& b);
inline bool operator==(const Brush& a, const Brush& b) { return compareBrushes(a, b) == 0; }
inline bool operator<(const Brush& a, const Brush& b) { return compareBrushes(a, b) < 0; }

// Live representations in the pool (for tests and statistics).
std::size_t liveBrushRepresentations();

}  // namespace tarsk
