// Cameras: where to look from, into which viewport, with which projection, clearing and
// fog. The frustum (9 points and 6 inward planes in camera space) is derived lazily from
// zoom, range and viewport; a copy of a camera is a plain ObjectEntity.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/engine3d/object_entity.h"

namespace tarsk {

// A plane n·p + d = 0; points with n·p + d ≥ 0 lie on the inner side.
struct Plane3 {
    math3d::Vec3 n;
    float d = 0;
};

// Points 0-3 the near corners, 4-7 the far corners (in the same order), 8 the eye;
// planes near, far, left, right, top, bottom, normals pointing inward.
struct Frustum {
    std::array<math3d::Vec3, 9> points;
    std::array<Plane3, 6> planes;
};

// The frustum moved by a transform: points transformed, planes rebuilt from them.
Frustum transformFrustum(const Frustum& frustum, const math3d::Transform& transform);
// True when all 8 corners lie behind one of the frustum's planes.
bool cornersOutside(const Frustum& frustum, const std::array<math3d::Vec3, 8>& corners);

struct Viewport {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// Row-vector 4x4 matrix (m[row][column]; a point is multiplied from the left).
using Matrix4 = std::array<std::array<float, 4>, 4>;

class Camera final : public ObjectEntity {
public:
    Camera(World& world, Viewport viewport);
    Camera* asCamera() override { return this; }

    float zoom() const { return zoom_; }
    void setZoom(float zoom);
    float rangeNear() const { return near_; }
    float rangeFar() const { return far_; }
    void setRange(float near, float far);
    const Viewport& viewport() const { return viewport_; }
    void setViewport(Viewport viewport);

    // Frustum width 2·near ÷ zoom and height width × viewport height ÷ width at the near
    // plane (height = width for a viewport without width).
    float frustumWidth();
    float frustumHeight();
    // The frustum in camera space.
    const Frustum& frustum();
    // Perspective for projection modes other than 0 and 2, orthographic for 2.
    Matrix4 projection();
    // The camera draws nothing: projection mode 0.
    bool disabled() const { return projectionMode == 0; }

    std::array<float, 3> clearColour{0, 0, 0};
    bool clearColourFlag = true;
    bool clearZFlag = true;
    int32_t projectionMode = 1;
    std::array<float, 3> fogColour{0, 0, 0};
    float fogNear = 1, fogFar = 1000;
    int32_t fogMode = 0;  // 1 linear, any other value none

private:
    void derive();

    float zoom_ = 1;
    Viewport viewport_;
    float near_ = 1, far_ = 1000;
    float frustumWidth_ = 0, frustumHeight_ = 0;
    Frustum frustum_;
    bool frustumValid_ = false;
};

// The camera of a handle; "Entity does not exist" / "Entity is not a camera".
Camera* liveCamera(int32_t handle);

}  // namespace tarsk
