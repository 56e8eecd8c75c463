// The 3D world: the ordered list of root entities and the registry of live entities.
// Entity handles are checked against the registry always, since a stale handle
// would touch freed memory.
#pragma once

#include <cstdint>
#include <unordered_set>

#include "runtime/engine3d/pick.h"

namespace tarsk {

class Entity;

struct World {
    World() = default;
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    // Destroys every root entity with its subtree.
    ~World();

    Entity* firstRoot = nullptr;
    Entity* lastRoot = nullptr;
    std::unordered_set<const Entity*> entities;
    // The current sound listener, cleared when it is freed.
    Entity* listener = nullptr;
    PickResult pick;
};

// The open world, or nullptr.
World* currentWorld();
void openWorld();
void closeWorld();

// The open world; "3D Graphics mode not set" without one.
World& requireWorld();
// The live entity of a handle, or the runtime error message.
Entity* liveEntity(int32_t handle, const char* message = "Entity does not exist");

}  // namespace tarsk
