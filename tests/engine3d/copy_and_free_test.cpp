// CopyEntity through each class's clone, and FreeEntity of whole subtrees.
#include <typeinfo>

#include "engine3d_fixture.h"
#include "runtime/engine3d/entity_lifecycle.h"
#include "runtime/engine3d/object_entity.h"
#include "runtime/engine3d/world.h"
#include "runtime/host/arena.h"

namespace tarsk::test {
namespace {

// A class without a clone of its own, as cameras, lights and terrains are.
class Unclonable final : public ObjectEntity {
public:
    using ObjectEntity::ObjectEntity;
};

using CopyAndFree = World3D;

TEST_F(CopyAndFree, CopiesKeepNamesTransformsAndOrderAndAreShown) {
    int32_t body = _fcreatepivot(0);
    _fnameentity(body, S("body"));
    _fpositionentity(body, 1, 2, 3, 0);
    int32_t arm = _fcreatepivot(body), leg = _fcreatepivot(body), hand = _fcreatepivot(arm);
    _fnameentity(arm, S("arm"));
    _fnameentity(leg, S("leg"));
    _fnameentity(hand, S("hand"));
    _frotateentity(arm, 0, 45, 0, 0);
    _fscaleentity(hand, 2, 3, 4, 0);
    _fpositionentity(hand, 0, 0, 5, 0);
    fromHandle<ObjectEntity>(arm)->collisionType = 7;
    _fhideentity(body);
    _fhideentity(hand);

    int32_t parent = _fcreatepivot(0);
    _fpositionentity(parent, 100, 0, 0, 0);
    int32_t copy = _fcopyentity(body, parent);
    EXPECT_NE(copy, body);
    EXPECT_EQ(_fgetparent(copy), parent);
    EXPECT_EQ(text(_fentityclass(copy)), "Pivot");
    EXPECT_EQ(text(_fentityname(copy)), "body");
    expectNear(position(copy, 0), {1, 2, 3});  // local transform kept under the new parent
    ASSERT_EQ(_fcountchildren(copy), 2);
    int32_t armCopy = _fgetchild(copy, 1), handCopy = _ffindchild(copy, S("hand"));
    EXPECT_EQ(text(_fentityname(armCopy)), "arm");
    EXPECT_EQ(text(_fentityname(_fgetchild(copy, 2))), "leg");
    EXPECT_EQ(_fgetparent(handCopy), armCopy);
    expectNear(position(handCopy, 1) - position(copy, 1), position(hand, 1) - position(body, 1));
    EXPECT_EQ(fromHandle<ObjectEntity>(armCopy)->collisionType, 7);
    for (int32_t e : {copy, armCopy, handCopy}) {
        EXPECT_TRUE(fromHandle<Entity>(e)->visible());
        EXPECT_TRUE(fromHandle<Entity>(e)->enabled());
    }
    EXPECT_FALSE(fromHandle<Entity>(body)->visible());  // the source keeps its flags
}

TEST_F(CopyAndFree, ClassesWithoutTheirOwnCloneCopyAsPlainObjects) {
    Entity* original = finishCreation(new Unclonable(*currentWorld()), nullptr);
    int32_t copy = _fcopyentity(handleOf(original), 0);
    EXPECT_EQ(typeid(*fromHandle<Entity>(copy)), typeid(ObjectEntity));
    EXPECT_EQ(text(_fentityclass(copy)), "Pivot");
    EXPECT_EQ(typeid(*fromHandle<Entity>(_fcopyentity(_fcreatepivot(0), 0))), typeid(Pivot));
}

TEST_F(CopyAndFree, FreeingAParentFreesItsSubtreeOnly) {
    int32_t keep = _fcreatepivot(0), root = _fcreatepivot(0), child = _fcreatepivot(root);
    int32_t grandchild = _fcreatepivot(child), sibling = _fcreatepivot(0);
    World& world = *currentWorld();
    size_t before = world.entities.size();
    _ffreeentity(root);
    EXPECT_EQ(world.entities.size(), before - 3);
    for (int32_t gone : {root, child, grandchild})
        EXPECT_EQ(errorOf([&] { _fshowentity(gone); }), "Entity does not exist");
    EXPECT_EQ(world.firstRoot, fromHandle<Entity>(keep));
    EXPECT_EQ(world.firstRoot->nextSibling(), fromHandle<Entity>(sibling));
    _ffreeentity(0);  // a no-op
    EXPECT_EQ(errorOf([&] { _ffreeentity(root); }), "Entity does not exist");
    EXPECT_EQ(errorOf([&] { _fcopyentity(root, 0); }), "Entity does not exist");
}

TEST_F(CopyAndFree, ClosingTheWorldFreesEveryEntity) {
    size_t before = arenaBytesInUse();
    for (int i = 0; i < 50; ++i) _fcreatepivot(_fcreatepivot(0));
    EXPECT_GT(arenaBytesInUse(), before);
    tarsk3d_destroy();
    EXPECT_EQ(arenaBytesInUse(), before);
    ASSERT_TRUE(tarsk3d_create());
}

}  // namespace
}  // namespace tarsk::test
