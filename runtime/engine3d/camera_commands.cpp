// CreateCamera and the camera settings: zoom, range, viewport, clearing, projection, fog.
#include "runtime/engine3d/camera.h"
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/entity_lifecycle.h"
#include "runtime/engine3d/world.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/host/arena.h"

using tarsk::Camera;
using tarsk::liveCamera;

namespace {

constexpr float kColourScale = 0.003921569f;

// The viewport of the current buffer, or an empty one without a buffer.
tarsk::Viewport bufferViewport() {
    tarsk::gxCanvas* buffer = tarsk::graphicsState().buffer;
    if (!buffer) return {};
    tarsk::CanvasRect r = buffer->viewport();
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

extern "C" {

int32_t _fcreatecamera(int32_t parent) {
    tarsk::World& world = tarsk::requireWorld();
    tarsk::Entity* parentEntity = parent ? tarsk::liveEntity(parent, "Parent entity does not exist") : nullptr;
    return tarsk::handleOf(tarsk::finishCreation(new Camera(world, bufferViewport()), parentEntity));
}

void _fcamerazoom(int32_t camera, float zoom) { liveCamera(camera)->setZoom(zoom); }

void _fcamerarange(int32_t camera, float near, float far) { liveCamera(camera)->setRange(near, far); }

void _fcameraclscolor(int32_t camera, float red, float green, float blue) {
    liveCamera(camera)->clearColour = {red * kColourScale, green * kColourScale, blue * kColourScale};
}

void _fcameraclsmode(int32_t camera, int32_t clsColor, int32_t clsZbuffer) {
    Camera* c = liveCamera(camera);
    c->clearColourFlag = clsColor != 0;
    c->clearZFlag = clsZbuffer != 0;
}

void _fcameraprojmode(int32_t camera, int32_t mode) { liveCamera(camera)->projectionMode = mode; }

void _fcameraviewport(int32_t camera, int32_t x, int32_t y, int32_t width, int32_t height) {
    liveCamera(camera)->setViewport({x, y, width, height});
}

void _fcamerafogcolor(int32_t camera, float red, float green, float blue) {
    liveCamera(camera)->fogColour = {red * kColourScale, green * kColourScale, blue * kColourScale};
}

void _fcamerafogrange(int32_t camera, float near, float far) {
    Camera* c = liveCamera(camera);
    c->fogNear = near;
    c->fogFar = far;
}

void _fcamerafogmode(int32_t camera, int32_t mode) { liveCamera(camera)->fogMode = mode; }

}  // extern "C"

namespace tarsk {

#define ADD(signature, function) add(signature, reinterpret_cast<const void*>(function))
void registerCameraCommands(Registrar add) {
    ADD("%CreateCamera%parent=0", _fcreatecamera);
    ADD("CameraZoom%camera#zoom", _fcamerazoom);
    ADD("CameraRange%camera#near#far", _fcamerarange);
    ADD("CameraClsColor%camera#red#green#blue", _fcameraclscolor);
    ADD("CameraClsMode%camera%cls_color%cls_zbuffer", _fcameraclsmode);
    ADD("CameraProjMode%camera%mode", _fcameraprojmode);
    ADD("CameraViewport%camera%x%y%width%height", _fcameraviewport);
    ADD("CameraFogColor%camera#red#green#blue", _fcamerafogcolor);
    ADD("CameraFogRange%camera#near#far", _fcamerafogrange);
    ADD("CameraFogMode%camera%mode", _fcamerafogmode);
}
#undef ADD

}  // namespace tarsk
