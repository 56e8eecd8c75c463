// The steps every entity-creating command shares: the creation sequence and deep copy.
#pragma once

#include <string_view>

#include "runtime/engine3d/entity.h"

namespace tarsk {

// Parents a newly built entity (local values kept), then shows every entity of its
// subtree and resets its collision state, in pre-order. Returns the entity.
Entity* finishCreation(Entity* entity, Entity* parent);

// A root copy of source and its subtree through each class's clone, children in the
// same order with their local values.
Entity* copySubtree(const Entity* source);

// Pre-order search of root and its subtree for an exact name; nullptr if none.
Entity* findInSubtree(Entity* root, std::string_view name);

}  // namespace tarsk
