#include "runtime/engine3d/object_entity.h"

namespace tarsk {

ObjectEntity::ObjectEntity(World& world) : Entity(world), previousWorldTransform(worldTransform()) {}

ObjectEntity::ObjectEntity(const ObjectEntity& source, World& world)
    : Entity(source, world),
      collisionType(source.collisionType),
      renderOrder(source.renderOrder),
      collisionRadii(source.collisionRadii),
      collisionBoxMin(source.collisionBoxMin),
      collisionBoxMax(source.collisionBoxMax),
      pickGeometry(source.pickGeometry),
      obscurer(source.obscurer),
      previousWorldTransform(worldTransform()) {}

Entity* ObjectEntity::clone() const { return new ObjectEntity(*this, world()); }

void ObjectEntity::resetCollisionState() {
    velocity = {};
    previousWorldTransform = worldTransform();
}

Entity* Pivot::clone() const { return new Pivot(*this, world()); }

const char* entityClassName(Entity* entity) {
    if (entity->asLight()) return "Light";
    if (entity->asCamera()) return "Camera";
    if (entity->asMirror()) return "Mirror";
    if (entity->asListener()) return "Listener";
    Model* model = entity->asModel();
    if (!model) return "Pivot";
    if (model->asSprite()) return "Sprite";
    if (model->asTerrain()) return "Terrain";
    if (model->asPlane()) return "Plane";
    if (model->asMesh()) return "Mesh";
    if (model->asMD2()) return "MD2";
    if (model->asBSP()) return "BSP";
    return "Pivot";
}

}  // namespace tarsk
