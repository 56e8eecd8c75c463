#include "runtime/engine3d/entity_lifecycle.h"

#include <deque>
#include <utility>

#include "runtime/engine3d/object_entity.h"

namespace tarsk {

Entity* finishCreation(Entity* entity, Entity* parent) {
    if (parent) entity->setParent(parent);
    forEachInSubtree(entity, [](Entity* e) {
        e->setVisible(true);
        e->setEnabled(true);
        if (ObjectEntity* object = e->asObject()) object->resetCollisionState();
    });
    return entity;
}

Entity* copySubtree(const Entity* source) {
    Entity* copy = source->clone();
    // Breadth-first: each copied parent receives its children in source order.
    std::deque<std::pair<const Entity*, Entity*>> pending{{source, copy}};
    while (!pending.empty()) {
        auto [from, to] = pending.front();
        pending.pop_front();
        for (Entity* child = from->firstChild(); child; child = child->nextSibling()) {
            Entity* childCopy = child->clone();
            childCopy->setParent(to);
            pending.emplace_back(child, childCopy);
        }
    }
    return copy;
}

Entity* findInSubtree(Entity* root, std::string_view name) {
    for (Entity* e = root; e; e = nextInPreorder(e, root))
        if (e->name() == name) return e;
    return nullptr;
}

}  // namespace tarsk
