// ObjectEntity: the base of every concrete entity class, with the per-object data of
// collisions, picking and render order; Model, the abstract base of renderable
// entities; Pivot, the plain entity.
#pragma once

#include "runtime/engine3d/brush.h"
#include "runtime/engine3d/entity.h"

namespace tarsk {

class Sprite;
class Terrain;
class Plane;
class Mesh;
class MD2;
class BSP;
struct SweptSphere;
struct CollisionRecord;

class ObjectEntity : public Entity {
public:
    explicit ObjectEntity(World& world);
    // A copy is a plain ObjectEntity: classes without a clone of their own copy so.
    Entity* clone() const override;
    ObjectEntity* asObject() override { return this; }

    // Collision list emptied, velocity zeroed, previous world transform := current.
    void resetCollisionState();

    // Pick geometry 2 and polygon collisions: the swept sphere against the object's own
    // geometry placed by placement (the world transform, or the previous one for
    // collisions), into record. Classes without geometry never hit.
    virtual bool collide(const SweptSphere& line, const math3d::Transform& placement, CollisionRecord& record) {
        return false;
    }

    int32_t collisionType = 0;
    int32_t renderOrder = 0;
    math3d::Vec3 collisionRadii{1, 1, 1};
    math3d::Vec3 collisionBoxMin{-1, -1, -1};
    math3d::Vec3 collisionBoxMax{1, 1, 1};
    int32_t pickGeometry = 0;
    bool obscurer = false;
    // World-space displacement per unit of elapsed time over the last update.
    math3d::Vec3 velocity;
    math3d::Transform previousWorldTransform;

    // Tweening: CaptureWorld stores the local position, scale and rotation.
    virtual void capture();
    // Computes the render transform for this RenderWorld (interpolated between the
    // captured and the current local values by tween when captured and tween ≠ 1;
    // the parent's render transform must be current); false when not to be drawn.
    virtual bool beginRender(float tween);
    const math3d::Transform& renderTransform() const { return renderTransform_; }

    bool captured = false;
    math3d::Vec3 capturedPosition, capturedScale;
    math3d::Quat capturedRotation;

protected:
    // The name, flags, local values and the object data that a copy keeps.
    ObjectEntity(const ObjectEntity& source, World& world);

private:
    math3d::Transform renderTransform_;
};

class Model : public ObjectEntity {
public:
    Model* asModel() override { return this; }
    virtual Sprite* asSprite() { return nullptr; }
    virtual Terrain* asTerrain() { return nullptr; }
    virtual Plane* asPlane() { return nullptr; }
    virtual Mesh* asMesh() { return nullptr; }
    virtual MD2* asMD2() { return nullptr; }
    virtual BSP* asBSP() { return nullptr; }

    // The entity brush (PaintEntity, EntityColor ... EntityFX); each change sets
    // brushChanged so that the next render rebuilds the render brush.
    Brush brush;
    bool brushChanged = true;

    // Also captures the brush alpha.
    void capture() override;
    // Also sets the render alpha (tweened from the captured alpha); false at alpha 0 or below.
    bool beginRender(float tween) override;
    // The entity brush with the alpha of the current view, refreshed by the renderer.
    Brush renderBrush;
    float capturedAlpha = 1, renderAlpha = 1;
    bool autoFade = false;
    float fadeNear = 0, fadeFar = 0;
    // Geometry already in world space (sprites, skinned meshes): drawn with an identity
    // world matrix.
    bool worldSpace = false;

protected:
    explicit Model(World& world) : ObjectEntity(world) {}
    // A copy keeps the entity brush.
    Model(const Model& source, World& world) : ObjectEntity(source, world), brush(source.brush) {}
};

class Pivot final : public ObjectEntity {
public:
    explicit Pivot(World& world) : ObjectEntity(world) {}
    Entity* clone() const override;

private:
    Pivot(const Pivot& source, World& world) : ObjectEntity(source, world) {}
};

// The class name EntityClass reports.
const char* entityClassName(Entity* entity);

}  // namespace tarsk
