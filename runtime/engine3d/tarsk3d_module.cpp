// The 3D command module. Its create step opens the world and its destroy step frees
// every entity and texture left.
#include <algorithm>

#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/scene_context.h"
#include "runtime/engine3d/texture.h"
#include "runtime/engine3d/world.h"
#include "runtime/graphics/graphics_state.h"

namespace tarsk {

void tarsk3d_link(Registrar add) {
    registerEntityCommands(add);
    registerTransformCommands(add);
    registerSpaceCommands(add);
    registerBrushCommands(add);
    registerMeshCommands(add);
    registerSurfaceCommands(add);
    registerPickCommands(add);
    registerCollisionTreeCommands(add);
    registerProjectionCommands(add);
    registerTextureCommands(add);
    registerCameraCommands(add);
    registerLightCommands(add);
    registerRenderCommands(add);
    registerTextureStatisticsCommands(add);
}

namespace {

template <class Hook>
void addOnce(std::vector<Hook>& hooks, Hook hook) {
    if (std::find(hooks.begin(), hooks.end(), hook) == hooks.end()) hooks.push_back(hook);
}

}  // namespace

// The world opens here for programs that use entities before any Graphics3D; each 3D mode
// reopens it with a scene, and the mode's change closes it.
bool tarsk3d_create() {
    openWorld();
    GraphicsState& graphics = graphicsState();
    addOnce(graphics.beforeModeChange, &closeSceneForModeChange);
    addOnce(graphics.after3DModeOpened, &openScene3D);
    return true;
}

void tarsk3d_destroy() {
    closeScene3D();
    closeTextures();
}

}  // namespace tarsk
