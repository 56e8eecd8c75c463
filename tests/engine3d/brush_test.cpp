// Brushes: copy on write over pooled representations, the combination rule, the
// effective blend, equality and order, the registry and painting.
#include "engine3d_fixture.h"
#include "runtime/engine3d/brush.h"
#include "runtime/engine3d/brush_registry.h"
#include "runtime/engine3d/mesh.h"
#include "runtime/engine3d/texture.h"
#include "runtime/host/arena.h"

namespace tarsk::test {
namespace {

TEST(BrushValue, CopiesShareUntilOneChanges) {
    std::size_t live = liveBrushRepresentations();
    Brush a;
    a.setColor(0.5f, 0.25f, 1);
    Brush b = a;
    EXPECT_TRUE(b.sharesRepresentation(a));
    EXPECT_EQ(liveBrushRepresentations(), live + 1);
    b.setShininess(0.75f);
    EXPECT_FALSE(b.sharesRepresentation(a));
    EXPECT_EQ(liveBrushRepresentations(), live + 2);
    EXPECT_EQ(a.shininess(), 0);
    EXPECT_EQ(b.green(), 0.25f);
    {
        // Past one pool block, then all back to the free list.
        std::vector<Brush> many(150, a);
        for (Brush& brush : many) brush.setBlend(kBlendAdd);
        EXPECT_EQ(liveBrushRepresentations(), live + 152);
    }
    EXPECT_EQ(liveBrushRepresentations(), live + 2);
}

TEST(BrushValue, CombineFollowsTheRules) {
    Brush surface, entity;
    surface.setColor(0.5f, 1, 0.25f);
    surface.setAlpha(0.5f);
    surface.setShininess(0.25f);
    surface.setBlend(kBlendMultiply);
    surface.setFX(1);
    entity.setColor(0.5f, 0.5f, 1);
    entity.setAlpha(0.5f);
    entity.setShininess(0.5f);
    entity.setFX(16);
    Brush combined = Brush::combine(surface, entity);
    EXPECT_EQ(combined.red(), 0.25f);
    EXPECT_EQ(combined.green(), 0.5f);
    EXPECT_EQ(combined.blue(), 0.25f);
    EXPECT_EQ(combined.alpha(), 0.25f);
    EXPECT_EQ(combined.shininess(), 0.75f);
    EXPECT_EQ(combined.blend(), kBlendMultiply);
    EXPECT_EQ(combined.fx(), 17);
    entity.setBlend(kBlendAdd);
    EXPECT_EQ(Brush::combine(surface, entity).blend(), kBlendAdd);
}

TEST(BrushValue, EffectiveBlendFromBlendAlphaAndFx) {
    Brush brush;
    EXPECT_EQ(brush.effectiveBlend(), 0);
    brush.setAlpha(0.5f);
    EXPECT_EQ(brush.effectiveBlend(), kBlendAlpha);
    brush.setAlpha(0.25f);
    EXPECT_EQ(brush.renderState().alpha, 0.25f);
    brush.setAlpha(1);
    EXPECT_EQ(brush.effectiveBlend(), 0);
    brush.setFX(kFxForceAlpha);
    EXPECT_EQ(brush.effectiveBlend(), kBlendAlpha);
    brush.setFX(0);
    brush.setBlend(kBlendAdd);
    EXPECT_EQ(brush.effectiveBlend(), kBlendAdd);
    brush.setBlend(kBlendAlpha);
    EXPECT_EQ(brush.effectiveBlend(), 0);
}

TEST(BrushValue, EqualRenderStatesCompareEqualAndOrderIsTotal) {
    Brush a, b, c;
    a.setColor(0.5f, 0.5f, 0.5f);
    b.setColor(0.5f, 0.5f, 0.5f);
    c.setColor(0.5f, 0.5f, 0.75f);
    EXPECT_FALSE(a.sharesRepresentation(b));
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_NE(a < c, c < a);
    EXPECT_FALSE(a < b || b < a);
    b.setFX(4);
    EXPECT_FALSE(a == b);
}

using BrushCommands = World3D;

TEST_F(BrushCommands, TextureSlotsCountAndCombineEntityOverSurface) {
    Texture* first = registerTexture(createTexture(0, 0, 0, 0));
    Texture* second = registerTexture(createTexture(0, 0, 0, 0));
    int32_t brush = _fcreatebrush(255, 255, 255);
    _fbrushtexture(brush, handleOf(first), 0, 2);
    Brush& value = checkedBrush(brush)->brush;
    EXPECT_EQ(value.slotCount(), 3);
    EXPECT_EQ(value.texture(2), first->rep);
    EXPECT_EQ(value.frameCanvas(2), nullptr);  // no such frame
    int32_t fromSlot = _fgetbrushtexture(brush, 2);
    EXPECT_EQ(checkedTexture(fromSlot)->rep, first->rep);
    EXPECT_NE(_fgetbrushtexture(brush, 1), 0);

    Brush entity;
    entity.setTexture(0, second->rep, 0);
    Brush combined = Brush::combine(value, entity);
    EXPECT_EQ(combined.slotCount(), 3);
    EXPECT_EQ(combined.texture(0), second->rep);
    EXPECT_EQ(combined.texture(2), first->rep);
    // The brush keeps its texture after the handle is freed.
    _ffreetexture(handleOf(first));
    EXPECT_NE(value.texture(2), nullptr);
    EXPECT_EQ(errorOf([&] { _fbrushtexture(brush, handleOf(second), 0, 8); }), "Texture index out of range");
    EXPECT_EQ(errorOf([&] { _fgetbrushtexture(brush, -1); }), "Texture index out of range");
    EXPECT_EQ(errorOf([&] { _fentitytexture(_fcreatecube(0), handleOf(second), 0, 8); }), "Texture index out of range");
}

TEST_F(BrushCommands, PaintingStoresTheValuesOfThatMoment) {
    int32_t brush = _fcreatebrush(255, 0, 0);
    int32_t cube = _fcreatecube(0);
    int32_t surface = _fgetsurface(cube, 1);
    _fpaintsurface(surface, brush);
    _fpaintentity(cube, brush);
    _fbrushcolor(brush, 0, 255, 0);
    const Brush& painted = fromHandle<MeshSurface>(surface)->brush();
    EXPECT_EQ(painted.red(), 1.0f);
    EXPECT_EQ(painted.green(), 0.0f);
    EXPECT_EQ(fromHandle<Mesh>(cube)->brush.red(), 1.0f);
    int32_t readBack = _fgetsurfacebrush(surface);
    _fbrushalpha(readBack, 0.5f);
    EXPECT_EQ(painted.alpha(), 1.0f);
    EXPECT_EQ(checkedBrush(_fgetentitybrush(cube))->brush.red(), 1.0f);
}

TEST_F(BrushCommands, EntitySettersChangeTheModelBrushAndMarkIt) {
    int32_t cube = _fcreatecube(0);
    Mesh& mesh = *fromHandle<Mesh>(cube);
    mesh.brushChanged = false;
    _fentitycolor(cube, 51, 102, 255);
    EXPECT_TRUE(mesh.brushChanged);
    EXPECT_FLOAT_EQ(mesh.brush.red(), 0.2f);
    EXPECT_FLOAT_EQ(mesh.brush.green(), 0.4f);
    _fentityalpha(cube, 0.5f);
    _fentityshininess(cube, 0.25f);
    _fentityblend(cube, 3);
    _fentityfx(cube, 1);
    EXPECT_EQ(mesh.brush.alpha(), 0.5f);
    EXPECT_EQ(mesh.brush.shininess(), 0.25f);
    EXPECT_EQ(mesh.brush.blend(), 3);
    EXPECT_EQ(mesh.brush.fx(), 1);
    // A copy keeps the entity brush.
    EXPECT_EQ(fromHandle<Mesh>(_fcopyentity(cube, 0))->brush.blend(), 3);
    EXPECT_EQ(errorOf([&] { _fentitycolor(_fcreatepivot(0), 1, 1, 1); }), "Entity is not a model");
}

TEST_F(BrushCommands, CombinedSurfaceBrushesFollowBothBrushes) {
    int32_t cube = _fcreatecube(0);
    Mesh& mesh = *fromHandle<Mesh>(cube);
    Brush render;
    render.setColor(0.5f, 0.5f, 0.5f);
    const std::vector<Brush>* combined = &mesh.surfaceBrushes(render);
    ASSERT_EQ(combined->size(), 1u);
    EXPECT_EQ((*combined)[0].red(), 0.5f);
    render.setColor(0.25f, 0.25f, 0.25f);
    EXPECT_EQ(mesh.surfaceBrushes(render)[0].red(), 0.25f);
    int32_t brush = _fcreatebrush(0, 255, 0);
    _fpaintmesh(cube, brush);
    EXPECT_EQ(mesh.surfaceBrushes(render)[0].red(), 0.0f);
    _fcreatesurface(cube, 0);
    EXPECT_EQ(mesh.surfaceBrushes(render).size(), 2u);
}

TEST_F(BrushCommands, TheRegistryRefusesFreedBrushesAndIsEmptiedWithTheWorld) {
    std::size_t before = registeredBrushCount();
    int32_t brush = _fcreatebrush(255, 255, 255);
    EXPECT_EQ(registeredBrushCount(), before + 1);
    _ffreebrush(brush);
    EXPECT_EQ(errorOf([&] { _fbrushcolor(brush, 1, 1, 1); }), "Brush does not exist");
    EXPECT_EQ(errorOf([&] { _ffreebrush(brush); }), "(none)");
    debugChecks = true;
    EXPECT_EQ(errorOf([&] { _ffreebrush(brush); }), "Brush does not exist");
    debugChecks = false;
    _ffreebrush(0);
    EXPECT_EQ(errorOf([&] { _fpaintentity(_fcreatecube(0), brush); }), "Brush does not exist");
    EXPECT_EQ(_floadbrush(S("no such picture.png"), 1, 1, 1), 0);
    _fcreatebrush(1, 2, 3);
    _fgetentitybrush(_fcreatecube(0));
    EXPECT_EQ(registeredBrushCount(), before + 2);
    tarsk3d_destroy();
    EXPECT_EQ(registeredBrushCount(), 0u);
    ASSERT_TRUE(tarsk3d_create());
}

}  // namespace
}  // namespace tarsk::test
