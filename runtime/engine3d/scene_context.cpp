#include "runtime/engine3d/scene_context.h"

#include "runtime/engine3d/gl_scene3d.h"
#include "runtime/engine3d/world.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/runtime_error.h"

namespace tarsk {

namespace {

struct SceneContext {
    std::unique_ptr<gxScene3D> scene;
    std::unique_ptr<WorldRenderer> renderer;
};

SceneContext& context() {
    static SceneContext opened;
    return opened;
}

}  // namespace

gxScene3D* currentScene() { return context().scene.get(); }

gxScene3D& requireScene() {
    gxScene3D* scene = currentScene();
    if (!scene || !currentWorld()) runtimeError("3D Graphics mode not set");
    return *scene;
}

WorldRenderer& sceneRenderer() {
    requireScene();
    return *context().renderer;
}

void openSceneWith(std::unique_ptr<gxScene3D> scene, gxDisplay* display) {
    closeScene3D();
    openWorld();
    context().renderer = std::make_unique<WorldRenderer>(*scene, display);
    context().scene = std::move(scene);
}

void openScene3D(gxDisplay& display) {
    GlDevice* device = display.glDevice();
    std::unique_ptr<GlScene3D> scene = device ? GlScene3D::create(*device) : nullptr;
    if (!scene) {
        closeScene3D();
        runtimeError("Unable to create 3D Scene");
    }
    openSceneWith(std::move(scene), &display);
}

void closeScene3D() {
    // Entities first: their driver meshes go while the GL device is still there.
    closeWorld();
    context().renderer.reset();
    context().scene.reset();
}

void closeSceneForModeChange() {
    if (currentScene()) closeScene3D();
}

float* stats3D() {
    static float stats[3] = {0, 0, 0};
    return stats;
}

}  // namespace tarsk
