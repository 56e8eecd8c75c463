#include "runtime/engine3d/texture_cache.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"

namespace tarsk {
namespace {

auto keyTuple(const TextureKey& key) {
    return std::tie(key.name, key.flags, key.frameWidth, key.frameHeight, key.firstFrame, key.frameCount);
}

// Ordered by key, then by address, so entries with equal keys (CreateTexture's) coexist.
struct ByKey {
    using is_transparent = void;
    bool operator()(const TextureData* a, const TextureData* b) const {
        auto ka = keyTuple(a->key), kb = keyTuple(b->key);
        return ka < kb || (ka == kb && a < b);
    }
    bool operator()(const TextureData* a, const TextureKey& b) const { return keyTuple(a->key) < keyTuple(b); }
    bool operator()(const TextureKey& a, const TextureData* b) const { return keyTuple(a) < keyTuple(b->key); }
};

std::set<TextureData*, ByKey>& cache() {
    static std::set<TextureData*, ByKey> entries;
    return entries;
}

// Entries alive, including those taken out of the look-up by a mode change.
int32_t liveEntries = 0;

void dropFrames(TextureData& data) {
    for (gxCanvas* canvas : data.frames) dropTextureCanvas(canvas);
    data.frames.clear();
}

}  // namespace

TextureData* findTextureData(const TextureKey& key) {
    if (key.name.empty()) return nullptr;
    auto found = cache().lower_bound(key);
    if (found == cache().end() || keyTuple((*found)->key) != keyTuple(key)) return nullptr;
    ++(*found)->references;
    return *found;
}

TextureData* addTextureData(TextureKey key, std::vector<gxCanvas*> frames) {
    auto* data = new TextureData{1, std::move(key), std::move(frames)};
    cache().insert(data);
    ++liveEntries;
    return data;
}

void releaseTextureData(TextureData* data) {
    if (--data->references > 0) return;
    cache().erase(data);
    dropFrames(*data);
    delete data;
    --liveEntries;
}

int32_t liveTextureDataCount() { return liveEntries; }

gxDisplay* textureDisplay() {
    GraphicsState& graphics = graphicsState();
    auto& hooks = graphics.beforeModeChange;
    if (std::find(hooks.begin(), hooks.end(), &dropAllTextureCanvases) == hooks.end())
        hooks.push_back(&dropAllTextureCanvases);
    return graphics.display;
}

void dropAllTextureCanvases() {
    for (TextureData* data : cache()) dropFrames(*data);
    cache().clear();
}

void dropTextureCanvas(gxCanvas* canvas) {
    gxDisplay* display = canvas->display();
    GraphicsState& graphics = graphicsState();
    if (graphics.buffer == canvas) selectBuffer(display->backCanvas());
    display->dropCanvas(canvas);
}

}  // namespace tarsk
