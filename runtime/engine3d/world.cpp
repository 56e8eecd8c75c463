#include "runtime/engine3d/world.h"

#include <memory>

#include "runtime/engine3d/brush_registry.h"
#include "runtime/engine3d/entity.h"
#include "runtime/engine3d/texture.h"
#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"

namespace tarsk {

namespace {
std::unique_ptr<World>& openedWorld() {
    static std::unique_ptr<World> world;
    return world;
}
}  // namespace

World::~World() {
    while (firstRoot) destroySubtree(firstRoot);
}

World* currentWorld() { return openedWorld().get(); }

void openWorld() {
    openedWorld() = std::make_unique<World>();
    resetTextureFilters();
    setTexturePath("");
}

void closeWorld() {
    openedWorld().reset();
    freeAllBrushes();
}

World& requireWorld() {
    World* world = currentWorld();
    if (!world) runtimeError("3D Graphics mode not set");
    return *world;
}

Entity* liveEntity(int32_t handle, const char* message) {
    World* world = currentWorld();
    Entity* entity = fromHandle<Entity>(handle);
    if (!handle || !world || world->entities.count(entity) == 0) runtimeError(message);
    return entity;
}

}  // namespace tarsk
