// Texture representations and the handle records given to programs.
#include "runtime/engine3d/texture.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <new>

#include "runtime/engine3d/texture_cache.h"
#include "runtime/graphics/canvas_flags.h"
#include "runtime/host/arena.h"

namespace tarsk {
namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

void* lowRecord(std::size_t size) {
    void* record = arenaAlloc(size);
    if (!record) throw std::bad_alloc();
    return record;
}

}  // namespace

void* TextureRep::operator new(std::size_t size) { return lowRecord(size); }
void TextureRep::operator delete(void* record, std::size_t size) { arenaFree(record, size); }

TextureRep::TextureRep(TextureData* data)
    : data_(data), hasAlpha_((data->key.flags & CV_ALPHA) && !(data->key.flags & CV_MASKED)) {}

TextureRep::~TextureRep() { releaseTextureData(data_); }

TextureRep* makeTextureRep(TextureData* data) { return new TextureRep(data); }

void TextureRep::release() {
    if (--references_ == 0) delete this;
}

int32_t TextureRep::frameCount() const { return static_cast<int32_t>(data_->frames.size()); }

gxCanvas* TextureRep::frame(int32_t index) const {
    if (index < 0 || index >= frameCount()) return nullptr;
    return data_->frames[size_t(index)];
}

int32_t TextureRep::flags() const { return data_->key.flags; }

const std::string& TextureRep::name() const { return data_->key.name; }

void TextureRep::setScale(float uScale, float vScale) {
    uScale_ = 1.0f / uScale;
    vScale_ = 1.0f / vScale;
    transformInUse_ = true;
    transformValid_ = false;
}

void TextureRep::setRotation(float degrees) {
    rotation_ = -(degrees * kRadiansPerDegree);
    transformInUse_ = true;
    transformValid_ = false;
}

void TextureRep::setOffset(float uOffset, float vOffset) {
    uOffset_ = -uOffset;
    vOffset_ = -vOffset;
    transformInUse_ = true;
    transformValid_ = false;
}

const float* TextureRep::transform() {
    if (!transformInUse_) return nullptr;
    if (!transformValid_) {
        float c = std::cos(rotation_), s = std::sin(rotation_);
        const float rows[12] = {c * uScale_, -s * vScale_, 0, s * uScale_, c * vScale_, 0, uOffset_, vOffset_, 0, 0, 0, 0};
        std::copy(std::begin(rows), std::end(rows), transform_);
        transformValid_ = true;
    }
    return transform_;
}

void* Texture::operator new(std::size_t size) { return lowRecord(size); }
void Texture::operator delete(void* record, std::size_t size) { arenaFree(record, size); }

Texture::~Texture() { rep->release(); }

}  // namespace tarsk
