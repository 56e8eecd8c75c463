// CameraProject with the projected point it leaves for ProjectedX/Y/Z, and EntityInView.
#include "runtime/engine3d/camera.h"
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/projection.h"
#include "runtime/engine3d/world.h"

namespace {

tarsk::math3d::Vec3 projected;

}  // namespace

extern "C" {

void _fcameraproject(int32_t camera, float x, float y, float z) {
    projected = tarsk::projectToViewport(*tarsk::liveCamera(camera), {x, y, z});
}

float _fprojectedx() { return projected.x; }
float _fprojectedy() { return projected.y; }
float _fprojectedz() { return projected.z; }

int32_t _fentityinview(int32_t entity, int32_t camera) {
    tarsk::Entity* e = tarsk::liveEntity(entity);
    return tarsk::entityInView(*e, *tarsk::liveCamera(camera)) ? 1 : 0;
}

}  // extern "C"

namespace tarsk {

void registerProjectionCommands(Registrar add) {
    add("CameraProject%camera#x#y#z", reinterpret_cast<const void*>(_fcameraproject));
    add("#ProjectedX", reinterpret_cast<const void*>(_fprojectedx));
    add("#ProjectedY", reinterpret_cast<const void*>(_fprojectedy));
    add("#ProjectedZ", reinterpret_cast<const void*>(_fprojectedz));
    add("%EntityInView%entity%camera", reinterpret_cast<const void*>(_fentityinview));
}

}  // namespace tarsk
