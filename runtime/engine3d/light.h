// Lights: a light entity holds the fixed-function light record the scene sets; its
// position and direction follow the light's render transform at each RenderWorld.
// A copy of a light is a plain ObjectEntity.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/engine3d/object_entity.h"

namespace tarsk {

enum class LightType : int32_t { Directional = 1, Point = 2, Spot = 3 };

// The largest light range: the square root of the largest float.
float maximumLightRange();

// The fixed-function light description.
struct LightRecord {
    LightType type = LightType::Directional;
    std::array<float, 4> diffuse{1, 1, 1, 1};
    std::array<float, 4> specular{1, 1, 1, 1};
    std::array<float, 4> ambient{0, 0, 0, 0};
    math3d::Vec3 position;
    math3d::Vec3 direction{0, 0, 1};
    float range = maximumLightRange();
    float falloff = 1;
    float attenuation0 = 0, attenuation1 = 0.001f, attenuation2 = 0;
    float theta = 0, phi = 1.5707964f;  // inner and outer cone angles, radians
};

class Light final : public ObjectEntity {
public:
    // Type 2 point, 3 spot, any other value directional.
    Light(World& world, int32_t type);
    Light* asLight() override { return this; }
    // Also copies the render transform's translation and z axis into the record.
    bool beginRender(float tween) override;

    // Degrees; inner clamped to 0..180, then outer to inner..180.
    void setConeAngles(float innerDegrees, float outerDegrees);

    LightRecord record;
};

// The light of a handle; "Entity does not exist" / "Entity is not a light".
Light* liveLight(int32_t handle);

}  // namespace tarsk
