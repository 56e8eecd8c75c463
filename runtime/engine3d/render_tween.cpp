// Capture and begin render of objects: the render transform, interpolated between the
// captured and the current local values for tweening.
#include <cmath>

#include "runtime/engine3d/object_entity.h"

namespace tarsk {

using math3d::Quat;
using math3d::Vec3;

namespace {

Vec3 lerp(Vec3 from, Vec3 to, float t) { return from + (to - from) * t; }

Quat slerp(Quat from, Quat to, float t) {
    float d = from.w * to.w + from.x * to.x + from.y * to.y + from.z * to.z;
    if (d < 0) {
        from = {-from.w, -from.x, -from.y, -from.z};
        d = -d;
    }
    float a = 1 - t, b = t;
    if (d < 1 - 1e-6f) {
        float theta = std::acos(d), s = std::sin(theta);
        a = std::sin((1 - t) * theta) / s;
        b = std::sin(t * theta) / s;
    }
    return {a * from.w + b * to.w, a * from.x + b * to.x, a * from.y + b * to.y, a * from.z + b * to.z};
}

}  // namespace

void ObjectEntity::capture() {
    capturedPosition = localPosition();
    capturedScale = localScale();
    capturedRotation = localRotation();
    captured = true;
}

bool ObjectEntity::beginRender(float tween) {
    if (tween == 1 || !captured) {
        renderTransform_ = worldTransform();
        return true;
    }
    Vec3 position = lerp(capturedPosition, localPosition(), tween);
    Vec3 scale = lerp(capturedScale, localScale(), tween);
    math3d::Matrix3 axes = math3d::rotationAxes(math3d::normalized(slerp(capturedRotation, localRotation(), tween)));
    math3d::Transform local{{axes.i * scale.x, axes.j * scale.y, axes.k * scale.z}, position};
    ObjectEntity* parent = this->parent() ? this->parent()->asObject() : nullptr;
    renderTransform_ = parent ? math3d::compose(parent->renderTransform(), local) : local;
    return true;
}

}  // namespace tarsk
