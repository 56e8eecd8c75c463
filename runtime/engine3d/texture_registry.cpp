// The texture registry: every handle given to a program, whether or not debug checks are on.
#include <set>

#include "runtime/engine3d/texture.h"
#include "runtime/engine3d/texture_cache.h"
#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"

namespace tarsk {
namespace {

std::set<Texture*>& registry() {
    static std::set<Texture*> textures;
    return textures;
}

}  // namespace

Texture* registerTexture(TextureRep* rep) {
    auto* texture = new Texture(rep);
    registry().insert(texture);
    return texture;
}

Texture* checkedTexture(int32_t handle) {
    auto found = registry().find(fromHandle<Texture>(handle));
    if (found == registry().end()) runtimeError("Texture does not exist");
    return *found;
}

void freeTexture(Texture* texture) {
    if (registry().erase(texture)) delete texture;
}

void freeAllTextures() {
    std::set<Texture*> textures;
    textures.swap(registry());
    for (Texture* texture : textures) delete texture;
}

void closeTextures() {
    freeAllTextures();
    dropAllTextureCanvases();
}

int32_t activeTextureCount() { return liveTextureDataCount(); }

}  // namespace tarsk
