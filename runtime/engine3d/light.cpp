#include "runtime/engine3d/light.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "runtime/engine3d/world.h"
#include "runtime/host/runtime_error.h"

namespace tarsk {

float maximumLightRange() { return std::sqrt(FLT_MAX); }

Light::Light(World& world, int32_t type) : ObjectEntity(world) {
    record.type = type == 2 ? LightType::Point : type == 3 ? LightType::Spot : LightType::Directional;
}

bool Light::beginRender(float tween) {
    ObjectEntity::beginRender(tween);
    record.position = renderTransform().t;
    record.direction = renderTransform().m.k;
    return true;
}

void Light::setConeAngles(float innerDegrees, float outerDegrees) {
    float inner = std::clamp(innerDegrees * math3d::kDegreesToRadians, 0.0f, math3d::kPi);
    record.theta = inner;
    record.phi = std::clamp(outerDegrees * math3d::kDegreesToRadians, inner, math3d::kPi);
}

Light* liveLight(int32_t handle) {
    // Always checked: any other class read as a light would touch unrelated memory.
    Light* light = liveEntity(handle)->asLight();
    if (!light) runtimeError("Entity is not a light");
    return light;
}

}  // namespace tarsk
