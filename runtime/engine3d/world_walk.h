// Pre-order walks over the whole world that skip every subtree whose root fails a test
// (hidden subtrees for rendering and capture, disabled ones for updates).
#pragma once

#include "runtime/engine3d/entity.h"
#include "runtime/engine3d/world.h"

namespace tarsk {

template <class Keep, class Visit>
void forEachKept(World& world, Keep keep, Visit visit) {
    for (Entity* root = world.firstRoot; root; root = root->nextSibling()) {
        for (Entity* e = root; e;) {
            if (keep(e)) {
                visit(e);
                e = nextInPreorder(e, root);
                continue;
            }
            while (e != root && !e->nextSibling()) e = e->parent();
            e = e == root ? nullptr : e->nextSibling();
        }
    }
}

template <class Visit>
void forEachVisible(World& world, Visit visit) {
    forEachKept(world, [](Entity* e) { return e->visible(); }, visit);
}

}  // namespace tarsk
