// UpdateWorld's step over the enabled objects: velocities and previous transforms
// (animation and collision sweeps join the same walk).
#pragma once

namespace tarsk {

struct World;

void updateWorld(World& world, float elapsed);

}  // namespace tarsk
