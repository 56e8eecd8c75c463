// RenderWorld: gathers the visible objects, sorts them into lights, cameras and models,
// and draws every camera's view through the scene in four passes (positive render order
// without depth, opaque, transparent farthest first without depth writes, negative order).
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/engine3d/gx_scene3d.h"

namespace tarsk {

class Brush;
class Camera;
class Model;
class gxDisplay;
struct World;

// One queued draw: a triangle range of a driver mesh with its brush.
struct RenderItem {
    gxMesh* mesh;
    int32_t firstVertex, vertexCount, firstTriangle, triangleCount;
    const Brush* brush;
};

// The material of a brush: colour, alpha, shininess, effective blend, effects and one
// texture stage per slot up to the first empty one.
RenderMaterial materialOf(const Brush& brush);

class WorldRenderer {
public:
    // Driver meshes come from display (nullptr: models are never drawn).
    WorldRenderer(gxScene3D& scene, gxDisplay* display) : scene_(scene), display_(display) {}

    void render(World& world, float tween);
    // Triangles the last render sent to the scene, every pass counted.
    int32_t trisRendered() const { return trisRendered_; }

private:
    struct Queued {
        Model* model;
        size_t first, count;  // range of transparent_
        float distance;
    };
    void drawView(Camera& camera);
    // Auto-fade, render brush and the class's own test; fills opaque_ and transparent_.
    bool prepare(Model& model);
    void drawItems(Model& model, const RenderItem* items, size_t count);
    // Prepares and draws both queues at once (the ordered models).
    void drawOrdered(Model& model);

    gxScene3D& scene_;
    gxDisplay* display_;
    int32_t trisRendered_ = 0;
    std::vector<const LightRecord*> lights_;
    std::vector<Camera*> cameras_;
    std::vector<Model*> ordered_, unordered_;
    std::vector<RenderItem> opaque_, transparent_;
    std::vector<Queued> heap_;
    Frustum frustum_;
    math3d::Vec3 viewPosition_;
};

}  // namespace tarsk
