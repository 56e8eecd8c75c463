// Between world space and a camera's viewport: the line through a viewport pixel, the
// pixel of a world point, and whether an entity lies in the camera's view volume.
// Viewport coordinates are relative to the viewport's top-left corner.
#pragma once

#include "runtime/engine3d/math3d.h"
#include "runtime/engine3d/swept_sphere.h"

namespace tarsk {

class Camera;
class Entity;

// Perspective: from the camera to the far plane through the pixel; orthographic
// (projection mode 2): from the camera plane to the far plane, straight ahead.
SweptSphere cameraLineThrough(Camera& camera, float viewportX, float viewportY);

// x and y in viewport pixels and z the near range; (0, 0, 0) for a perspective camera
// when the point is behind it or beyond its far range.
math3d::Vec3 projectToViewport(Camera& camera, math3d::Vec3 world);

// A mesh is out of view only when all 8 corners of its bounding box lie behind one
// frustum plane; any other entity when its position does.
bool entityInView(Entity& entity, Camera& camera);

}  // namespace tarsk
