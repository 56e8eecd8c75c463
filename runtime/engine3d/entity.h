// Entities: everything of the 3D engine that has a place in space. Each entity sits
// in an ordered child list of its parent (or in the world's root list), keeps its
// local rotation, position and scale, and builds its local and world transforms
// lazily behind two dirty bits. Records come from the low arena, so an entity's
// handle is its address. No walk over the hierarchy recurses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/engine3d/math3d.h"

namespace tarsk {

struct World;
class ObjectEntity;
class Camera;
class Light;
class Model;
class Mirror;
class Listener;

class Entity {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* record, std::size_t size);

    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;
    // Unlinks the entity and drops it from the world's registry; its children must
    // be gone already (destroySubtree).
    virtual ~Entity();
    // A new root entity copied from this one, without children.
    virtual Entity* clone() const = 0;
    virtual ObjectEntity* asObject() { return nullptr; }
    virtual Camera* asCamera() { return nullptr; }
    virtual Light* asLight() { return nullptr; }
    virtual Model* asModel() { return nullptr; }
    virtual Mirror* asMirror() { return nullptr; }
    virtual Listener* asListener() { return nullptr; }

    World& world() const { return world_; }
    Entity* parent() const { return parent_; }
    Entity* firstChild() const { return firstChild_; }
    Entity* nextSibling() const { return next_; }

    // Unlinks and appends at the tail of the parent's child list, or of the root list
    // for nullptr; the local values stay, the subtree's world transforms go stale.
    void setParent(Entity* parent);
    // True when this entity is ancestor or the same entity.
    bool isSelfOrAncestorOf(const Entity* other) const;

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    void setVisible(bool visible) { visible_ = visible; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    math3d::Vec3 localPosition() const { return localPosition_; }
    math3d::Quat localRotation() const { return localRotation_; }
    math3d::Vec3 localScale() const { return localScale_; }
    void setLocalPosition(math3d::Vec3 position);
    // Normalizes the quaternion.
    void setLocalRotation(math3d::Quat rotation);
    void setLocalScale(math3d::Vec3 scale);
    void setLocalTransform(const math3d::Transform& transform);

    const math3d::Transform& localTransform();
    const math3d::Transform& worldTransform();
    // Recomputed along the parent chain on every call.
    math3d::Quat worldRotation() const;
    math3d::Vec3 worldScale() const;

    void setWorldPosition(math3d::Vec3 position);
    void setWorldRotation(math3d::Quat rotation);
    // Components whose parent world scale is 0 are taken as local values.
    void setWorldScale(math3d::Vec3 scale);
    void setWorldTransform(const math3d::Transform& transform);

    static constexpr uint32_t kLocalStale = 1, kWorldStale = 2;
    uint32_t dirtyFlags() const { return dirty_; }

protected:
    // Links the new entity as the last root, with identity local values, and
    // registers it with the world.
    explicit Entity(World& world);
    // As above, with the name, flags and local values of source.
    Entity(const Entity& source, World& world);

private:
    void unlink();
    void appendTo(Entity* parent);
    void markLocalChanged();
    // Sets the world-stale bit on this subtree, skipping already stale parts.
    void markSubtreeWorldStale();

    World& world_;
    Entity* next_ = nullptr;
    Entity* prev_ = nullptr;
    Entity* parent_ = nullptr;
    Entity* firstChild_ = nullptr;
    Entity* lastChild_ = nullptr;
    bool visible_ = false;
    bool enabled_ = false;
    uint32_t dirty_ = kLocalStale | kWorldStale;
    std::string name_;
    math3d::Quat localRotation_;
    math3d::Vec3 localPosition_;
    math3d::Vec3 localScale_{1, 1, 1};
    math3d::Transform localTransform_;
    math3d::Transform worldTransform_;
};

// The entity after e in a pre-order walk of root's subtree (children in list order),
// or nullptr at the end.
inline Entity* nextInPreorder(Entity* e, const Entity* root) {
    if (e->firstChild()) return e->firstChild();
    while (e != root && !e->nextSibling()) e = e->parent();
    return e == root ? nullptr : e->nextSibling();
}

// Calls visit(entity) for root and every descendant in pre-order.
template <class Visit>
void forEachInSubtree(Entity* root, Visit visit) {
    for (Entity* e = root; e; e = nextInPreorder(e, root)) visit(e);
}

// Destroys root and its descendants, children before their parent.
void destroySubtree(Entity* root);

}  // namespace tarsk
