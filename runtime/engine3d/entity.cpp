#include "runtime/engine3d/entity.h"

#include <new>
#include <vector>

#include "runtime/engine3d/world.h"
#include "runtime/host/arena.h"

namespace tarsk {

using namespace math3d;

void* Entity::operator new(std::size_t size) {
    void* record = arenaAlloc(size);
    if (!record) throw std::bad_alloc();
    return record;
}

void Entity::operator delete(void* record, std::size_t size) { arenaFree(record, size); }

Entity::Entity(World& world) : world_(world) {
    appendTo(nullptr);
    world_.entities.insert(this);
}

Entity::Entity(const Entity& source, World& world) : Entity(world) {
    name_ = source.name_;
    visible_ = source.visible_;
    enabled_ = source.enabled_;
    localRotation_ = source.localRotation_;
    localPosition_ = source.localPosition_;
    localScale_ = source.localScale_;
}

Entity::~Entity() {
    unlink();
    world_.entities.erase(this);
    if (world_.listener == this) world_.listener = nullptr;
}

void Entity::unlink() {
    Entity*& first = parent_ ? parent_->firstChild_ : world_.firstRoot;
    Entity*& last = parent_ ? parent_->lastChild_ : world_.lastRoot;
    (prev_ ? prev_->next_ : first) = next_;
    (next_ ? next_->prev_ : last) = prev_;
    next_ = prev_ = parent_ = nullptr;
}

void Entity::appendTo(Entity* parent) {
    Entity*& first = parent ? parent->firstChild_ : world_.firstRoot;
    Entity*& last = parent ? parent->lastChild_ : world_.lastRoot;
    parent_ = parent;
    prev_ = last;
    next_ = nullptr;
    (last ? last->next_ : first) = this;
    last = this;
}

void Entity::setParent(Entity* parent) {
    unlink();
    appendTo(parent);
    markSubtreeWorldStale();
}

bool Entity::isSelfOrAncestorOf(const Entity* other) const {
    for (; other; other = other->parent_)
        if (other == this) return true;
    return false;
}

void Entity::markSubtreeWorldStale() {
    Entity* e = this;
    while (e) {
        if (!(e->dirty_ & kWorldStale)) {
            e->dirty_ |= kWorldStale;
            if (e->firstChild_) {
                e = e->firstChild_;
                continue;
            }
        }
        while (e != this && !e->next_) e = e->parent_;
        e = e == this ? nullptr : e->next_;
    }
}

void Entity::markLocalChanged() {
    dirty_ |= kLocalStale;
    markSubtreeWorldStale();
}

void Entity::setLocalPosition(Vec3 position) {
    localPosition_ = position;
    markLocalChanged();
}

void Entity::setLocalRotation(Quat rotation) {
    localRotation_ = normalized(rotation);
    markLocalChanged();
}

void Entity::setLocalScale(Vec3 scale) {
    localScale_ = scale;
    markLocalChanged();
}

void Entity::setLocalTransform(const Transform& transform) {
    Decomposition d = decompose(transform);
    localPosition_ = d.position;
    localScale_ = d.scale;
    localRotation_ = d.rotation;
    markLocalChanged();
}

const Transform& Entity::localTransform() {
    if (dirty_ & kLocalStale) {
        Matrix3 axes = rotationAxes(localRotation_);
        localTransform_ = {{axes.i * localScale_.x, axes.j * localScale_.y, axes.k * localScale_.z}, localPosition_};
        dirty_ &= ~kLocalStale;
    }
    return localTransform_;
}

const Transform& Entity::worldTransform() {
    if (!(dirty_ & kWorldStale)) return worldTransform_;
    // Every stale entity has only stale descendants, so the stale part of the chain
    // ends at the first fresh ancestor; rebuild it from the top down.
    static std::vector<Entity*> chain;
    chain.clear();
    for (Entity* e = this; e && (e->dirty_ & kWorldStale); e = e->parent_) chain.push_back(e);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        Entity* e = *it;
        const Transform& local = e->localTransform();
        e->worldTransform_ = e->parent_ ? compose(e->parent_->worldTransform_, local) : local;
        e->dirty_ &= ~kWorldStale;
    }
    return worldTransform_;
}

Quat Entity::worldRotation() const {
    Quat rotation = localRotation_;
    for (const Entity* e = parent_; e; e = e->parent_) rotation = rotation * e->localRotation_;
    return rotation;
}

Vec3 Entity::worldScale() const {
    Vec3 scale = localScale_;
    for (const Entity* e = parent_; e; e = e->parent_)
        scale = {scale.x * e->localScale_.x, scale.y * e->localScale_.y, scale.z * e->localScale_.z};
    return scale;
}

void Entity::setWorldPosition(Vec3 position) {
    setLocalPosition(parent_ ? applyPoint(inverse(parent_->worldTransform()), position) : position);
}

void Entity::setWorldRotation(Quat rotation) {
    setLocalRotation(parent_ ? rotation * conjugate(parent_->worldRotation()) : rotation);
}

void Entity::setWorldScale(Vec3 scale) {
    if (parent_) {
        Vec3 p = parent_->worldScale();
        scale = {p.x != 0 ? scale.x / p.x : scale.x, p.y != 0 ? scale.y / p.y : scale.y,
                 p.z != 0 ? scale.z / p.z : scale.z};
    }
    setLocalScale(scale);
}

void Entity::setWorldTransform(const Transform& transform) {
    setLocalTransform(parent_ ? compose(inverse(parent_->worldTransform()), transform) : transform);
}

void destroySubtree(Entity* root) {
    Entity* e = root;
    for (;;) {
        while (e->firstChild()) e = e->firstChild();
        if (e == root) break;
        Entity* parent = e->parent();
        delete e;
        e = parent;
    }
    delete root;
}

}  // namespace tarsk
