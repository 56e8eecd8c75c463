// Entity creation, copying, freeing, visibility, parenting, children and names.
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/entity_lifecycle.h"
#include "runtime/engine3d/object_entity.h"
#include "runtime/engine3d/world.h"
#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/strings.h"

using tarsk::Entity;
using tarsk::handleOf;
using tarsk::liveEntity;

namespace {

Entity* optionalParent(int32_t parent) {
    return parent ? liveEntity(parent, "Parent entity does not exist") : nullptr;
}

}  // namespace

extern "C" {

int32_t _fcreatepivot(int32_t parent) {
    tarsk::World& world = tarsk::requireWorld();
    Entity* parentEntity = optionalParent(parent);
    return handleOf(tarsk::finishCreation(new tarsk::Pivot(world), parentEntity));
}

int32_t _fcopyentity(int32_t entity, int32_t parent) {
    Entity* source = liveEntity(entity);
    tarsk::requireWorld();
    Entity* parentEntity = optionalParent(parent);
    return handleOf(tarsk::finishCreation(tarsk::copySubtree(source), parentEntity));
}

void _ffreeentity(int32_t entity) {
    if (entity) tarsk::destroySubtree(liveEntity(entity));
}

void _fhideentity(int32_t entity) {
    Entity* e = liveEntity(entity);
    e->setVisible(false);
    e->setEnabled(false);
}

void _fshowentity(int32_t entity) {
    Entity* e = liveEntity(entity);
    e->setVisible(true);
    e->setEnabled(true);
    if (tarsk::ObjectEntity* object = e->asObject()) object->resetCollisionState();
}

void _fentityparent(int32_t entity, int32_t parent, int32_t global) {
    Entity* e = liveEntity(entity);
    tarsk::requireWorld();
    Entity* newParent = optionalParent(parent);
    // Always checked: a loop would make every walk up the chain endless.
    if (newParent && e->isSelfOrAncestorOf(newParent)) tarsk::runtimeError("Entity cannot be parented to itself!");
    if (newParent == e->parent()) return;
    if (global) {
        tarsk::math3d::Transform world = e->worldTransform();
        e->setParent(newParent);
        e->setWorldTransform(world);
    } else {
        e->setParent(newParent);
        if (tarsk::ObjectEntity* object = e->asObject()) object->resetCollisionState();
    }
}

int32_t _fcountchildren(int32_t entity) {
    int32_t count = 0;
    for (Entity* c = liveEntity(entity)->firstChild(); c; c = c->nextSibling()) ++count;
    return count;
}

int32_t _fgetchild(int32_t entity, int32_t index) {
    Entity* c = liveEntity(entity)->firstChild();
    if (index < 1) return 0;
    for (int32_t i = 1; c && i < index; ++i) c = c->nextSibling();
    return handleOf(c);
}

int32_t _ffindchild(int32_t entity, tbString* name) {
    tarsk::StringArg text(name);
    return handleOf(tarsk::findInSubtree(liveEntity(entity), text.view()));
}

int32_t _fgetparent(int32_t entity) { return handleOf(liveEntity(entity)->parent()); }

void _fnameentity(int32_t entity, tbString* name) {
    tarsk::StringArg text(name);
    liveEntity(entity)->setName(text.str());
}

tbString* _fentityname(int32_t entity) { return tarsk::stringNew(liveEntity(entity)->name()); }

tbString* _fentityclass(int32_t entity) { return tarsk::stringNew(tarsk::entityClassName(liveEntity(entity))); }

}  // extern "C"

namespace tarsk {

void registerEntityCommands(Registrar add) {
    add("%CreatePivot%parent=0", reinterpret_cast<const void*>(_fcreatepivot));
    add("%CopyEntity%entity%parent=0", reinterpret_cast<const void*>(_fcopyentity));
    add("FreeEntity%entity", reinterpret_cast<const void*>(_ffreeentity));
    add("HideEntity%entity", reinterpret_cast<const void*>(_fhideentity));
    add("ShowEntity%entity", reinterpret_cast<const void*>(_fshowentity));
    add("EntityParent%entity%parent%global=1", reinterpret_cast<const void*>(_fentityparent));
    add("%CountChildren%entity", reinterpret_cast<const void*>(_fcountchildren));
    add("%GetChild%entity%index", reinterpret_cast<const void*>(_fgetchild));
    add("%FindChild%entity$name", reinterpret_cast<const void*>(_ffindchild));
    add("%GetParent%entity", reinterpret_cast<const void*>(_fgetparent));
    add("NameEntity%entity$name", reinterpret_cast<const void*>(_fnameentity));
    add("$EntityName%entity", reinterpret_cast<const void*>(_fentityname));
    add("$EntityClass%entity", reinterpret_cast<const void*>(_fentityclass));
}

}  // namespace tarsk
