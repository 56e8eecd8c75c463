#include "runtime/engine3d/render_world.h"

#include <algorithm>

#include "runtime/engine3d/brush.h"
#include "runtime/engine3d/mesh.h"
#include "runtime/engine3d/texture.h"
#include "runtime/engine3d/world_walk.h"
#include "runtime/graphics/gx_canvas.h"

namespace tarsk {

using math3d::Transform;
using math3d::Vec3;

RenderMaterial materialOf(const Brush& brush) {
    const BrushRenderState& state = brush.renderState();
    RenderMaterial m;
    m.colour = {state.red, state.green, state.blue};
    m.alpha = state.alpha;
    m.shininess = state.shininess;
    m.blend = state.effectiveBlend;
    m.fx = state.fx;
    for (int32_t i = 0; i < kBrushSlots; ++i) {
        TextureRep* texture = brush.texture(i);
        if (!texture) break;
        const BrushSlotState& slot = state.slots[i];
        TextureStageInput input;
        input.canvas = slot.canvas;
        input.flags = slot.flags;
        input.blend = slot.blend;
        input.coordinateSet = slot.coordinateSet;
        input.transform = texture->transform();
        input.cubeMode = slot.canvas ? slot.canvas->cubeMode() : 1;
        m.stages[size_t(i)] = decideTextureStage(input);
        m.stageCount = i + 1;
    }
    return m;
}

namespace {

// Largest render order first; equal orders keep the gathering order.
template <class T>
void sortByOrder(std::vector<T*>& list) {
    std::stable_sort(list.begin(), list.end(), [](T* a, T* b) { return a->renderOrder > b->renderOrder; });
}

std::array<Vec3, 8> boxCorners(const Box3& box, const Transform& t) {
    std::array<Vec3, 8> corners;
    for (int i = 0; i < 8; ++i) {
        Vec3 p{i & 1 ? box.max.x : box.min.x, i & 2 ? box.max.y : box.min.y, i & 4 ? box.max.z : box.min.z};
        corners[size_t(i)] = math3d::applyPoint(t, p);
    }
    return corners;
}

}  // namespace

void WorldRenderer::render(World& world, float tween) {
    int64_t base = scene_.triangleTotal();
    lights_.clear();
    cameras_.clear();
    ordered_.clear();
    unordered_.clear();
    forEachVisible(world, [&](Entity* e) {
        ObjectEntity* object = e->asObject();
        if (!object || !object->beginRender(tween)) return;
        if (Light* light = e->asLight()) {
            lights_.push_back(&light->record);
        } else if (Camera* camera = e->asCamera()) {
            cameras_.push_back(camera);
        } else if (Model* model = e->asModel()) {
            (model->renderOrder ? ordered_ : unordered_).push_back(model);
        }
    });
    sortByOrder(ordered_);
    sortByOrder(cameras_);
    if (lights_.size() > size_t(kMaxLights)) lights_.resize(kMaxLights);
    if (scene_.beginFrame(lights_)) {
        for (Camera* camera : cameras_)
            if (!camera->disabled()) drawView(*camera);
        scene_.endFrame();
    }
    trisRendered_ = int32_t(scene_.triangleTotal() - base);
}

void WorldRenderer::drawView(Camera& camera) {
    const Transform& view = camera.renderTransform();
    scene_.setViewport(camera.viewport());
    scene_.clear(camera.clearColourFlag, camera.clearZFlag,
                 {camera.clearColour[0], camera.clearColour[1], camera.clearColour[2]});
    scene_.setProjection(camera.projection());
    scene_.setFog(camera.fogNear, camera.fogFar, {camera.fogColour[0], camera.fogColour[1], camera.fogColour[2]},
                  camera.fogMode);
    scene_.setViewTransform(view);
    scene_.setCullFlip(false);
    frustum_ = transformFrustum(camera.frustum(), view);
    viewPosition_ = view.t;

    scene_.setZMode(1);
    for (Model* model : ordered_)
        if (model->renderOrder > 0) drawOrdered(*model);

    scene_.setZMode(0);
    heap_.clear();
    transparent_.clear();
    for (Model* model : unordered_) {
        size_t first = transparent_.size();
        opaque_.clear();
        if (!prepare(*model)) {
            transparent_.resize(first);
            continue;
        }
        drawItems(*model, opaque_.data(), opaque_.size());
        if (transparent_.size() > first) {
            float distance = math3d::length(model->renderTransform().t - viewPosition_);
            heap_.push_back({model, first, transparent_.size() - first, distance});
        }
    }
    scene_.setZMode(2);
    // Farthest first; equal distances keep the drawing order.
    std::stable_sort(heap_.begin(), heap_.end(), [](const Queued& a, const Queued& b) { return a.distance > b.distance; });
    for (const Queued& q : heap_) drawItems(*q.model, transparent_.data() + q.first, q.count);

    scene_.setZMode(1);
    for (Model* model : ordered_)
        if (model->renderOrder < 0) drawOrdered(*model);
}

void WorldRenderer::drawOrdered(Model& model) {
    opaque_.clear();
    transparent_.clear();
    if (!prepare(model)) return;
    drawItems(model, opaque_.data(), opaque_.size());
    drawItems(model, transparent_.data(), transparent_.size());
}

bool WorldRenderer::prepare(Model& model) {
    float alpha = model.renderAlpha;
    if (model.autoFade) {
        float d = math3d::length(model.renderTransform().t - viewPosition_);
        if (d >= model.fadeFar) return false;
        if (d >= model.fadeNear) {
            alpha = model.renderAlpha * (1 - (d - model.fadeNear) / (model.fadeFar - model.fadeNear));
            if (alpha <= 0) return false;
        }
    }
    if (model.brushChanged) {
        model.renderBrush = model.brush;
        model.brushChanged = false;
    }
    if (model.renderBrush.alpha() != alpha) model.renderBrush.setAlpha(alpha);

    Mesh* mesh = model.asMesh();
    if (!mesh || !display_) return false;
    MeshGeometry& geometry = mesh->geometry();
    const Box3& box = geometry.visibilityBox();
    if (box.empty() || cornersOutside(frustum_, boxCorners(box, model.renderTransform()))) return false;
    const std::vector<Brush>& brushes = mesh->surfaceBrushes(model.renderBrush);
    const std::vector<MeshSurface*>& surfaces = geometry.surfaces();
    for (size_t i = 0; i < surfaces.size(); ++i) {
        MeshSurface* surface = surfaces[i];
        if (surface->triangleCount() == 0) continue;
        gxMesh* driver = surface->driverMesh(*display_);
        if (!driver) continue;
        RenderItem item{driver, 0, surface->uploadedVertices(), 0, surface->uploadedTriangles(), &brushes[i]};
        (brushes[i].effectiveBlend() ? transparent_ : opaque_).push_back(item);
    }
    return true;
}

void WorldRenderer::drawItems(Model& model, const RenderItem* items, size_t count) {
    if (count == 0) return;
    scene_.setWorldTransform(model.worldSpace ? Transform{} : model.renderTransform());
    for (size_t i = 0; i < count; ++i) {
        const RenderItem& item = items[i];
        RenderMaterial material = materialOf(*item.brush);
        scene_.setRenderState(material);
        scene_.draw(*item.mesh, item.firstVertex, item.vertexCount, item.firstTriangle, item.triangleCount);
        // Texture layers beyond the units in use: one more pass each.
        if (material.stageCount > scene_.textureUnits()) {
            for (int32_t layer = scene_.textureUnits(); layer < material.stageCount; ++layer) {
                scene_.setLayerPass(material.stages[size_t(layer)]);
                scene_.draw(*item.mesh, item.firstVertex, item.vertexCount, item.firstTriangle, item.triangleCount);
            }
            scene_.endLayerPasses();
        }
    }
}

}  // namespace tarsk
