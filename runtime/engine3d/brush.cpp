#include "runtime/engine3d/brush.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "runtime/engine3d/texture.h"
#include "runtime/graphics/canvas_flags.h"
#include "runtime/graphics/gx_canvas.h"

namespace tarsk {

struct BrushSlot {
    TextureRep* texture = nullptr;  // a reference of the brush's own
    gxCanvas* canvas = nullptr;
};

struct BrushRep {
    int32_t references = 1;
    int32_t blend = kBlendDefault;
    int32_t slotCount = 0;
    bool derivedValid = false;
    float red = 1, green = 1, blue = 1;
    float shininess = 0;
    float alpha = 1;
    int32_t fx = 0;
    BrushSlot slots[kBrushSlots];
    BrushRenderState derived;

    BrushRep() = default;
    BrushRep(const BrushRep& other)
        : blend(other.blend),
          slotCount(other.slotCount),
          red(other.red),
          green(other.green),
          blue(other.blue),
          shininess(other.shininess),
          alpha(other.alpha),
          fx(other.fx) {
        for (int32_t i = 0; i < kBrushSlots; ++i) {
            slots[i] = other.slots[i];
            if (slots[i].texture) slots[i].texture->retain();
        }
    }
    BrushRep& operator=(const BrushRep&) = delete;
    ~BrushRep() {
        for (BrushSlot& slot : slots)
            if (slot.texture) slot.texture->release();
    }
};

namespace {

// Representations come in blocks of 64 and go back to a free list.
class BrushPool {
public:
    template <class... Args>
    BrushRep* make(Args&&... args) {
        if (free_.empty()) grow();
        void* place = free_.back();
        free_.pop_back();
        ++live_;
        return new (place) BrushRep(std::forward<Args>(args)...);
    }
    void recycle(BrushRep* rep) {
        rep->~BrushRep();
        free_.push_back(rep);
        --live_;
    }
    std::size_t live() const { return live_; }

private:
    static constexpr std::size_t kBlock = 64;
    struct Storage {
        alignas(BrushRep) unsigned char bytes[sizeof(BrushRep)];
    };
    void grow() {
        blocks_.push_back(std::make_unique<Storage[]>(kBlock));
        Storage* block = blocks_.back().get();
        for (std::size_t i = kBlock; i-- > 0;) free_.push_back(block[i].bytes);
    }
    std::vector<std::unique_ptr<Storage[]>> blocks_;
    std::vector<void*> free_;
    std::size_t live_ = 0;
};

// Never destroyed: brushes of entities may outlive every other static at exit.
BrushPool& pool() {
    static BrushPool& instance = *new BrushPool;
    return instance;
}

void release(BrushRep* rep) {
    if (rep && --rep->references == 0) pool().recycle(rep);
}

bool slotHasAlpha(const BrushSlot& slot) { return slot.texture && slot.texture->hasAlpha(); }

int32_t deriveEffectiveBlend(const BrushRep& rep) {
    switch (rep.blend) {
    case kBlendDefault:
        if (rep.slotCount == 1 && slotHasAlpha(rep.slots[0])) return kBlendAlpha;
        break;
    case kBlendAlpha:
        for (int32_t i = 0; i < rep.slotCount; ++i)
            if (slotHasAlpha(rep.slots[i])) return kBlendAlpha;
        break;
    default:
        return rep.blend;
    }
    return (rep.fx & kFxForceAlpha) || rep.alpha < 1 ? kBlendAlpha : kBlendDefault;
}

bool firstFrameMasked(const BrushSlot& slot) {
    if (!slot.texture) return false;
    gxCanvas* first = slot.texture->frame(0);
    return first && (first->flags() & CV_MASKED);
}

}  // namespace

Brush::Brush() : rep_(pool().make()) {}

Brush::Brush(const Brush& other) : rep_(other.rep_) { ++rep_->references; }

Brush::Brush(Brush&& other) noexcept : rep_(other.rep_) { ++rep_->references; }

Brush& Brush::operator=(const Brush& other) {
    ++other.rep_->references;
    release(rep_);
    rep_ = other.rep_;
    return *this;
}

Brush& Brush::operator=(Brush&& other) noexcept { return *this = static_cast<const Brush&>(other); }

Brush::~Brush() { release(rep_); }

BrushRep& Brush::mutableRep() {
    if (rep_->references > 1) {
        BrushRep* copy = pool().make(*rep_);
        --rep_->references;
        rep_ = copy;
    }
    return *rep_;
}

float Brush::red() const { return rep_->red; }
float Brush::green() const { return rep_->green; }
float Brush::blue() const { return rep_->blue; }
float Brush::alpha() const { return rep_->alpha; }
float Brush::shininess() const { return rep_->shininess; }
int32_t Brush::blend() const { return rep_->blend; }
int32_t Brush::fx() const { return rep_->fx; }
int32_t Brush::slotCount() const { return rep_->slotCount; }
TextureRep* Brush::texture(int32_t index) const { return rep_->slots[index].texture; }
gxCanvas* Brush::frameCanvas(int32_t index) const { return rep_->slots[index].canvas; }

void Brush::setColor(float red, float green, float blue) {
    BrushRep& rep = mutableRep();
    rep.red = red, rep.green = green, rep.blue = blue;
    rep.derivedValid = false;
}

void Brush::setAlpha(float alpha) {
    BrushRep& rep = mutableRep();
    if ((rep.alpha >= 1) != (alpha >= 1)) rep.derivedValid = false;
    rep.alpha = alpha;
    // The render state carries alpha itself, so it follows every change.
    rep.derived.alpha = alpha;
}

void Brush::setShininess(float shininess) {
    BrushRep& rep = mutableRep();
    rep.shininess = shininess;
    rep.derivedValid = false;
}

void Brush::setBlend(int32_t blend) {
    BrushRep& rep = mutableRep();
    rep.blend = blend;
    rep.derivedValid = false;
}

void Brush::setFX(int32_t fx) {
    BrushRep& rep = mutableRep();
    rep.fx = fx;
    rep.derivedValid = false;
}

void Brush::setTexture(int32_t index, TextureRep* texture, int32_t frame) {
    BrushRep& rep = mutableRep();
    BrushSlot& slot = rep.slots[index];
    if (texture) texture->retain();
    if (slot.texture) slot.texture->release();
    slot.texture = texture;
    slot.canvas = texture ? texture->frame(frame) : nullptr;
    rep.slotCount = 0;
    for (int32_t i = 0; i < kBrushSlots; ++i)
        if (rep.slots[i].texture) rep.slotCount = i + 1;
    rep.derivedValid = false;
}

const BrushRenderState& Brush::renderState() const {
    BrushRep& rep = *rep_;
    BrushRenderState& state = rep.derived;
    if (!rep.derivedValid) {
        state.red = rep.red, state.green = rep.green, state.blue = rep.blue;
        state.shininess = rep.shininess;
        state.alpha = rep.alpha;
        state.fx = (rep.fx & ~kFxMaskedTexture) | (firstFrameMasked(rep.slots[0]) ? kFxMaskedTexture : 0);
        state.effectiveBlend = deriveEffectiveBlend(rep);
        rep.derivedValid = true;
    }
    // Texture blend and coordinate set may change on the texture at any time.
    for (int32_t i = 0; i < kBrushSlots; ++i) {
        BrushSlotState& slot = state.slots[i];
        const BrushSlot& source = rep.slots[i];
        slot.canvas = source.canvas;
        slot.flags = source.texture ? source.texture->flags() : 0;
        slot.blend = source.texture ? source.texture->blend() : 0;
        slot.coordinateSet = source.texture ? source.texture->coordinateSet() : 0;
    }
    return state;
}

Brush Brush::combine(const Brush& surface, const Brush& entity) {
    const BrushRep& s = *surface.rep_;
    const BrushRep& e = *entity.rep_;
    Brush result;
    BrushRep& r = *result.rep_;
    r.red = s.red * e.red;
    r.green = s.green * e.green;
    r.blue = s.blue * e.blue;
    r.alpha = s.alpha * e.alpha;
    r.shininess = s.shininess + e.shininess;
    r.blend = e.blend ? e.blend : s.blend;
    r.fx = s.fx | e.fx;
    r.slotCount = std::max(s.slotCount, e.slotCount);
    for (int32_t i = 0; i < kBrushSlots; ++i) {
        r.slots[i] = e.slots[i].texture ? e.slots[i] : s.slots[i];
        if (r.slots[i].texture) r.slots[i].texture->retain();
    }
    return result;
}

int compareBrushes(const Brush& a, const Brush& b) {
    if (a.sharesRepresentation(b)) return 0;
    return std::memcmp(&a.renderState(), &b.renderState(), sizeof(BrushRenderState));
}

std::size_t liveBrushRepresentations() { return pool().live(); }

}  // namespace tarsk
