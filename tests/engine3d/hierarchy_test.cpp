// Parenting, child lists, names and classes, the lazy transforms behind the dirty
// bits, and hierarchies too deep for recursion.
#include <vector>

#include "engine3d_fixture.h"
#include "runtime/engine3d/entity.h"
#include "runtime/host/arena.h"

namespace tarsk::test {
namespace {

Entity* entity(int32_t handle) { return fromHandle<Entity>(handle); }

using Hierarchy = World3D;

TEST_F(Hierarchy, ChildrenKeepTheirOrderAndReparentingAppends) {
    int32_t p = _fcreatepivot(0);
    int32_t a = _fcreatepivot(p), b = _fcreatepivot(p), c = _fcreatepivot(0);
    _fentityparent(c, p, 1);
    EXPECT_EQ(_fcountchildren(p), 3);
    EXPECT_EQ(_fgetchild(p, 1), a);
    EXPECT_EQ(_fgetchild(p, 2), b);
    EXPECT_EQ(_fgetchild(p, 3), c);
    EXPECT_EQ(_fgetchild(p, 0), 0);
    EXPECT_EQ(_fgetchild(p, 4), 0);
    EXPECT_EQ(_fgetparent(a), p);
    _fentityparent(a, p, 1);  // already the parent: stays first
    EXPECT_EQ(_fgetchild(p, 1), a);
    _fentityparent(a, 0, 1);
    EXPECT_EQ(_fgetparent(a), 0);
    EXPECT_EQ(_fgetchild(p, 1), b);
    EXPECT_EQ(_fcountchildren(p), 2);
}

TEST_F(Hierarchy, ParentingRefusesLoopsAndUnknownHandles) {
    int32_t p = _fcreatepivot(0), c = _fcreatepivot(p), g = _fcreatepivot(c);
    EXPECT_EQ(errorOf([&] { _fentityparent(p, p, 1); }), "Entity cannot be parented to itself!");
    EXPECT_EQ(errorOf([&] { _fentityparent(p, g, 0); }), "Entity cannot be parented to itself!");
    EXPECT_EQ(_fgetparent(p), 0);  // unchanged by the failed calls
    EXPECT_EQ(errorOf([&] { _fentityparent(c, 12345, 0); }), "Parent entity does not exist");
    EXPECT_EQ(errorOf([&] { _fcreatepivot(c + 16); }), "Parent entity does not exist");
    EXPECT_EQ(errorOf([&] { _fcountchildren(0); }), "Entity does not exist");
    tarsk3d_destroy();
    EXPECT_EQ(errorOf([] { _fcreatepivot(0); }), "3D Graphics mode not set");
    ASSERT_TRUE(tarsk3d_create());
}

TEST_F(Hierarchy, NamesClassesAndFindChild) {
    int32_t root = _fcreatepivot(0), arm = _fcreatepivot(root), hand = _fcreatepivot(arm), leg = _fcreatepivot(root);
    _fnameentity(root, S("body"));
    _fnameentity(arm, S("limb"));
    _fnameentity(hand, S("hand"));
    _fnameentity(leg, S("limb"));
    EXPECT_EQ(text(_fentityname(hand)), "hand");
    EXPECT_EQ(text(_fentityname(_fcreatepivot(0))), "");
    EXPECT_EQ(text(_fentityclass(root)), "Pivot");
    EXPECT_EQ(_ffindchild(root, S("body")), root);  // the entity itself first
    EXPECT_EQ(_ffindchild(root, S("limb")), arm);   // pre-order: arm before leg
    EXPECT_EQ(_ffindchild(root, S("hand")), hand);
    EXPECT_EQ(_ffindchild(root, S("Hand")), 0);     // case-sensitive
    EXPECT_EQ(_ffindchild(root, S("han")), 0);      // full length
    EXPECT_EQ(_ffindchild(leg, S("hand")), 0);
}

TEST_F(Hierarchy, MovingAParentMarksTheSubtreeOnceAndRebuildsOnDemand) {
    int32_t root = _fcreatepivot(0), mid = _fcreatepivot(root), leaf = _fcreatepivot(mid), other = _fcreatepivot(root);
    _fentityx(leaf, 1);
    _fentityx(other, 1);
    constexpr uint32_t kWorld = Entity::kWorldStale;
    EXPECT_EQ(entity(leaf)->dirtyFlags() & kWorld, 0u);
    _fpositionentity(root, 1, 2, 3, 0);
    EXPECT_NE(entity(root)->dirtyFlags() & Entity::kLocalStale, 0u);
    for (int32_t e : {root, mid, leaf, other}) EXPECT_NE(entity(e)->dirtyFlags() & kWorld, 0u);
    // A query rebuilds the chain above the leaf only.
    expectNear(position(leaf, 1), {1, 2, 3});
    for (int32_t e : {root, mid, leaf}) EXPECT_EQ(entity(e)->dirtyFlags() & kWorld, 0u);
    EXPECT_NE(entity(other)->dirtyFlags() & kWorld, 0u);
    _fpositionentity(root, 4, 5, 6, 0);
    _fpositionentity(mid, 1, 0, 0, 0);
    expectNear(position(leaf, 1), {5, 5, 6});
    expectNear(position(other, 1), {4, 5, 6});
}

TEST_F(Hierarchy, ParentingGloballyKeepsWorldValuesAndLocallyKeepsLocalOnes) {
    int32_t p = _fcreatepivot(0);
    _fpositionentity(p, 10, 0, 0, 0);
    _frotateentity(p, 0, 90, 0, 0);
    _fscaleentity(p, 2, 2, 2, 0);
    int32_t c = _fcreatepivot(0);
    _fpositionentity(c, 1, 2, 3, 0);
    _frotateentity(c, 10, 20, 30, 0);
    _fentityparent(c, p, 1);
    expectNear(position(c, 1), {1, 2, 3});
    expectNear(angles(c, 1), {10, 20, 30}, 2e-3f);
    _fentityparent(c, 0, 1);
    int32_t d = _fcreatepivot(0);
    _fpositionentity(d, 1, 2, 3, 0);
    _fentityparent(d, p, 0);
    expectNear(position(d, 0), {1, 2, 3});
    // Under yaw 90 and scale 2: local x goes to world +z, local z to world -x.
    expectNear(position(d, 1), {10 - 6, 4, 2});
}

TEST_F(Hierarchy, DeepChainsNeedNoRecursion) {
    constexpr int kDepth = 100000;
    int32_t root = _fcreatepivot(0), leaf = root;
    for (int i = 0; i < kDepth; ++i) {
        leaf = _fcreatepivot(leaf);
        _fpositionentity(leaf, 0, 1, 0, 0);
    }
    _fnameentity(leaf, S("tip"));
    EXPECT_FLOAT_EQ(_fentityy(leaf, 1), float(kDepth));
    _fpositionentity(root, 1, 0, 0, 0);
    EXPECT_FLOAT_EQ(_fentityx(leaf, 1), 1);
    EXPECT_EQ(_ffindchild(root, S("tip")), leaf);
    int32_t copy = _fcopyentity(root, 0);
    EXPECT_NE(_ffindchild(copy, S("tip")), 0);
    _ffreeentity(root);
    _ffreeentity(copy);
    EXPECT_EQ(errorOf([&] { _fentityx(leaf, 0); }), "Entity does not exist");
}

}  // namespace
}  // namespace tarsk::test
