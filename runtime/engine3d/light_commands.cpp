// CreateLight and the light settings: colour, range, cone angles.
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/entity_lifecycle.h"
#include "runtime/engine3d/light.h"
#include "runtime/engine3d/world.h"
#include "runtime/host/arena.h"

using tarsk::liveLight;

extern "C" {

int32_t _fcreatelight(int32_t type, int32_t parent) {
    tarsk::World& world = tarsk::requireWorld();
    tarsk::Entity* parentEntity = parent ? tarsk::liveEntity(parent, "Parent entity does not exist") : nullptr;
    return tarsk::handleOf(tarsk::finishCreation(new tarsk::Light(world, type), parentEntity));
}

void _flightcolor(int32_t light, float red, float green, float blue) {
    constexpr float kColourScale = 0.003921569f;
    auto& diffuse = liveLight(light)->record.diffuse;
    diffuse[0] = red * kColourScale;
    diffuse[1] = green * kColourScale;
    diffuse[2] = blue * kColourScale;
}

void _flightrange(int32_t light, float range) { liveLight(light)->record.attenuation1 = 1 / range; }

void _flightconeangles(int32_t light, float inner, float outer) { liveLight(light)->setConeAngles(inner, outer); }

}  // extern "C"

namespace tarsk {

#define ADD(signature, function) add(signature, reinterpret_cast<const void*>(function))
void registerLightCommands(Registrar add) {
    ADD("%CreateLight%type=1%parent=0", _fcreatelight);
    ADD("LightColor%light#red#green#blue", _flightcolor);
    ADD("LightRange%light#range", _flightrange);
    ADD("LightConeAngles%light#inner_angle#outer_angle", _flightconeangles);
}
#undef ADD

}  // namespace tarsk
