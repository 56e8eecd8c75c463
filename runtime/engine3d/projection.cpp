#include "runtime/engine3d/projection.h"

#include <array>

#include "runtime/engine3d/camera.h"
#include "runtime/engine3d/mesh.h"

namespace tarsk {

using namespace math3d;

namespace {

constexpr int32_t kOrthographic = 2;

}  // namespace

SweptSphere cameraLineThrough(Camera& camera, float viewportX, float viewportY) {
    const Viewport& viewport = camera.viewport();
    float a = (viewportX / float(viewport.width) - 0.5f) * camera.frustumWidth();
    float b = camera.frustumHeight() * (0.5f - viewportY / float(viewport.height));
    float near = camera.rangeNear(), far = camera.rangeFar();
    const Transform& world = camera.worldTransform();
    Vec3 origin, end;
    if (camera.projectionMode == kOrthographic) {
        origin = applyPoint(world, {a, b, 0});
        end = applyPoint(world, {a, b, far});
    } else {
        origin = world.t;
        end = applyPoint(world, {a * far / near, b * far / near, far});
    }
    return {origin, end - origin, 0};
}

Vec3 projectToViewport(Camera& camera, Vec3 world) {
    Vec3 v = applyPoint(inverse(camera.worldTransform()), world);
    const Viewport& viewport = camera.viewport();
    float vw = float(viewport.width), vh = float(viewport.height);
    float fw = camera.frustumWidth(), fh = camera.frustumHeight(), near = camera.rangeNear();
    if (camera.projectionMode == kOrthographic) return {(v.x / fw + 0.5f) * vw, (0.5f - v.y / fh) * vh, near};
    if (!(v.z > 0 && v.z <= camera.rangeFar())) return {};
    return {(near * v.x / v.z / fw + 0.5f) * vw, (0.5f - near * v.y / v.z / fh) * vh, near};
}

bool entityInView(Entity& entity, Camera& camera) {
    const Transform& world = entity.worldTransform();
    Transform toCamera = inverse(camera.worldTransform());
    std::array<Vec3, 8> points;
    Mesh* mesh = entity.asModel() ? entity.asModel()->asMesh() : nullptr;
    if (mesh) {
        const Box3& box = mesh->geometry().bounds();
        for (int c = 0; c < 8; ++c) {
            Vec3 corner{c & 1 ? box.max.x : box.min.x, c & 2 ? box.max.y : box.min.y, c & 4 ? box.max.z : box.min.z};
            points[size_t(c)] = applyPoint(toCamera, applyPoint(world, corner));
        }
    } else {
        points.fill(applyPoint(toCamera, world.t));
    }
    return !cornersOutside(camera.frustum(), points);
}

}  // namespace tarsk
