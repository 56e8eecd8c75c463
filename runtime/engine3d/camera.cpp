#include "runtime/engine3d/camera.h"

#include "runtime/engine3d/world.h"
#include "runtime/host/runtime_error.h"

namespace tarsk {

using math3d::Vec3;

namespace {

// The plane through a, b and c, oriented so that inside lies on its inner side.
Plane3 planeThrough(Vec3 a, Vec3 b, Vec3 c, Vec3 inside) {
    Vec3 n = math3d::normalized(math3d::cross(b - a, c - a));
    Plane3 plane{n, -math3d::dot(n, a)};
    if (math3d::dot(n, inside) + plane.d < 0) plane = {n * -1.0f, -plane.d};
    return plane;
}

void buildPlanes(Frustum& f) {
    const auto& p = f.points;
    Vec3 centre;
    for (int i = 0; i < 8; ++i) centre = centre + p[i];
    centre = centre * 0.125f;
    // Corners: 0 (-,+) 1 (+,+) 2 (+,-) 3 (-,-) in (x, y).
    f.planes[0] = planeThrough(p[0], p[1], p[2], centre);
    f.planes[1] = planeThrough(p[4], p[5], p[6], centre);
    f.planes[2] = planeThrough(p[0], p[3], p[7], centre);
    f.planes[3] = planeThrough(p[1], p[2], p[6], centre);
    f.planes[4] = planeThrough(p[0], p[1], p[5], centre);
    f.planes[5] = planeThrough(p[3], p[2], p[6], centre);
}

}  // namespace

Frustum transformFrustum(const Frustum& frustum, const math3d::Transform& transform) {
    Frustum moved;
    for (size_t i = 0; i < moved.points.size(); ++i) moved.points[i] = math3d::applyPoint(transform, frustum.points[i]);
    buildPlanes(moved);
    return moved;
}

bool cornersOutside(const Frustum& frustum, const std::array<Vec3, 8>& corners) {
    for (const Plane3& plane : frustum.planes) {
        bool allBehind = true;
        for (const Vec3& c : corners) {
            if (math3d::dot(plane.n, c) + plane.d >= 0) {
                allBehind = false;
                break;
            }
        }
        if (allBehind) return true;
    }
    return false;
}

Camera::Camera(World& world, Viewport viewport) : ObjectEntity(world), viewport_(viewport) {}

void Camera::setZoom(float zoom) {
    zoom_ = zoom;
    frustumValid_ = false;
}

void Camera::setRange(float near, float far) {
    near_ = near;
    far_ = far;
    frustumValid_ = false;
}

void Camera::setViewport(Viewport viewport) {
    viewport_ = viewport;
    frustumValid_ = false;
}

void Camera::derive() {
    frustumWidth_ = 2 * near_ / zoom_;
    frustumHeight_ = viewport_.width ? frustumWidth_ * float(viewport_.height) / float(viewport_.width) : frustumWidth_;
    float hw = frustumWidth_ / 2, hh = frustumHeight_ / 2, s = far_ / near_;
    auto& p = frustum_.points;
    p[0] = {-hw, hh, near_};
    p[1] = {hw, hh, near_};
    p[2] = {hw, -hh, near_};
    p[3] = {-hw, -hh, near_};
    for (int i = 0; i < 4; ++i) p[4 + i] = p[i] * s;
    p[8] = {0, 0, 0};
    buildPlanes(frustum_);
    frustumValid_ = true;
}

float Camera::frustumWidth() {
    if (!frustumValid_) derive();
    return frustumWidth_;
}

float Camera::frustumHeight() {
    if (!frustumValid_) derive();
    return frustumHeight_;
}

const Frustum& Camera::frustum() {
    if (!frustumValid_) derive();
    return frustum_;
}

Matrix4 Camera::projection() {
    if (!frustumValid_) derive();
    float n = near_, f = far_, w = frustumWidth_, h = frustumHeight_;
    Matrix4 m{};
    if (projectionMode == 2) {
        m[0][0] = 2 / w;
        m[1][1] = 2 / h;
        m[2][2] = 1 / (f - n);
        m[3][2] = -n / (f - n);
        m[3][3] = 1;
    } else {
        m[0][0] = 2 * n / w;
        m[1][1] = 2 * n / h;
        m[2][2] = f / (f - n);
        m[3][2] = -n * f / (f - n);
        m[2][3] = 1;
    }
    return m;
}

Camera* liveCamera(int32_t handle) {
    // Always checked: any other class read as a camera would touch unrelated memory.
    Camera* camera = liveEntity(handle)->asCamera();
    if (!camera) runtimeError("Entity is not a camera");
    return camera;
}

}  // namespace tarsk
