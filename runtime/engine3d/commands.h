// The registering functions of the 3D command module's command groups.
#pragma once

#include "runtime/host/registry.h"

namespace tarsk {

void registerEntityCommands(Registrar add);
void registerTransformCommands(Registrar add);
void registerSpaceCommands(Registrar add);
void registerBrushCommands(Registrar add);
void registerMeshCommands(Registrar add);
void registerSurfaceCommands(Registrar add);
void registerPickCommands(Registrar add);
void registerCollisionTreeCommands(Registrar add);
void registerProjectionCommands(Registrar add);
void registerTextureCommands(Registrar add);
void registerTextureStatisticsCommands(Registrar add);
void registerCameraCommands(Registrar add);
void registerLightCommands(Registrar add);
void registerRenderCommands(Registrar add);

}  // namespace tarsk
