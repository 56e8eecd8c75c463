// The 3D command module. Its create step opens the world and its destroy step frees
// every entity and texture left.
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/texture.h"
#include "runtime/engine3d/world.h"

namespace tarsk {

void tarsk3d_link(Registrar add) {
    registerEntityCommands(add);
    registerTransformCommands(add);
    registerSpaceCommands(add);
    registerBrushCommands(add);
    registerMeshCommands(add);
    registerSurfaceCommands(add);
    registerPickCommands(add);
    registerTextureCommands(add);
    registerTextureStatisticsCommands(add);
    registerCameraCommands(add);
    registerLightCommands(add);
}

bool tarsk3d_create() {
    openWorld();
    return true;
}

void tarsk3d_destroy() {
    closeWorld();
    closeTextures();
}

}  // namespace tarsk
