// World rendering commands: ambient light, capture, render, update and clear, render
// order and auto-fade, the global switches and the 3D statistics.
#include "runtime/engine3d/brush_registry.h"
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/object_entity.h"
#include "runtime/engine3d/scene_context.h"
#include "runtime/engine3d/texture.h"
#include "runtime/engine3d/update_world.h"
#include "runtime/engine3d/world_walk.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/host/runtime_error.h"

namespace {

constexpr float kColourScale = 0.003921569f;

tarsk::Model* liveModel(int32_t handle) {
    // Always checked: any other class read as a model would touch unrelated memory.
    tarsk::Model* model = tarsk::liveEntity(handle)->asModel();
    if (!model) tarsk::runtimeError("Entity is not a model");
    return model;
}

}  // namespace

extern "C" {

void _fambientlight(float red, float green, float blue) {
    tarsk::requireScene().setAmbient({red * kColourScale, green * kColourScale, blue * kColourScale});
}

void _fcaptureworld() {
    tarsk::requireScene();
    tarsk::forEachVisible(tarsk::requireWorld(), [](tarsk::Entity* e) {
        if (tarsk::ObjectEntity* object = e->asObject()) object->capture();
    });
}

void _frenderworld(float tween) {
    tarsk::gxScene3D& scene = tarsk::requireScene();
    scene.setTarget(tarsk::graphicsState().buffer);
    tarsk::sceneRenderer().render(tarsk::requireWorld(), tween);
}

void _fupdateworld(float elapsed) {
    tarsk::requireScene();
    tarsk::updateWorld(tarsk::requireWorld(), elapsed);
}

void _fclearworld(int32_t entities, int32_t brushes, int32_t textures) {
    if (entities) {
        if (tarsk::World* world = tarsk::currentWorld())
            while (world->firstRoot) tarsk::destroySubtree(world->firstRoot);
    }
    if (brushes) tarsk::freeAllBrushes();
    if (textures) tarsk::freeAllTextures();
}

void _fentityorder(int32_t entity, int32_t order) {
    tarsk::Entity* e = tarsk::liveEntity(entity);
    if (!e->asModel() && !e->asCamera()) tarsk::runtimeError("Entity is not a model or camera");
    e->asObject()->renderOrder = order;
}

void _fentityautofade(int32_t entity, float near, float far) {
    tarsk::Model* model = liveModel(entity);
    model->autoFade = true;
    model->fadeNear = near;
    model->fadeFar = far;
}

void _fwireframe(int32_t enable) { tarsk::requireScene().setWireframe(enable != 0); }
void _fantialias(int32_t enable) { tarsk::requireScene().setAntiAlias(enable != 0); }
void _fdither(int32_t enable) { tarsk::requireScene().setDither(enable != 0); }
void _fwbuffer(int32_t enable) { tarsk::requireScene().setWBuffer(enable != 0); }

void _fhwmultitex(int32_t enable) {
    tarsk::gxScene3D& scene = tarsk::requireScene();
    scene.setTextureUnits(enable ? scene.maxTextureUnits() : 1);
}

int32_t _fhwtexunits() { return tarsk::requireScene().textureUnits(); }

int32_t _fgfxdrivercaps3d() { return tarsk::requireScene().supportsCubeMaps() ? 110 : 100; }

float _fstats3d(int32_t type) { return type >= 0 && type <= 2 ? tarsk::stats3D()[type] : 0.0f; }

int32_t _ftrisrendered() {
    tarsk::gxScene3D* scene = tarsk::currentScene();
    return scene ? tarsk::sceneRenderer().trisRendered() : 0;
}

}  // extern "C"

namespace tarsk {

#define ADD(signature, function) add(signature, reinterpret_cast<const void*>(function))
void registerRenderCommands(Registrar add) {
    ADD("AmbientLight#red#green#blue", _fambientlight);
    ADD("CaptureWorld", _fcaptureworld);
    ADD("RenderWorld#tween=1", _frenderworld);
    ADD("UpdateWorld#elapsed_time=1", _fupdateworld);
    ADD("ClearWorld%entities=1%brushes=1%textures=1", _fclearworld);
    ADD("EntityOrder%entity%order", _fentityorder);
    ADD("EntityAutoFade%entity#near#far", _fentityautofade);
    ADD("WireFrame%enable", _fwireframe);
    ADD("AntiAlias%enable", _fantialias);
    ADD("Dither%enable", _fdither);
    ADD("WBuffer%enable", _fwbuffer);
    ADD("HWMultiTex%enable", _fhwmultitex);
    ADD("%HWTexUnits", _fhwtexunits);
    ADD("%GfxDriverCaps3D", _fgfxdrivercaps3d);
    ADD("#Stats3D%type", _fstats3d);
    ADD("%TrisRendered", _ftrisrendered);
}
#undef ADD

}  // namespace tarsk
