// Brushes and the appearance of models: creating, loading and freeing brushes, their
// settings, painting entities, and brushes read back from entities and surfaces.
#include "runtime/engine3d/brush_registry.h"
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/mesh_handles.h"
#include "runtime/engine3d/texture.h"
#include "runtime/engine3d/world.h"
#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/strings.h"

using tarsk::Brush;
using tarsk::debugChecks;
using tarsk::handleOf;

namespace {

constexpr float kByteToUnit = 0.003921569f;

void checkScene() {
    if (debugChecks) tarsk::requireWorld();
}

Brush& brushOf(int32_t handle) { return tarsk::checkedBrush(handle)->brush; }

tarsk::TextureRep* textureOf(int32_t handle) { return tarsk::checkedTexture(handle)->rep; }

// Every change of a model's brush is seen by the next render.
template <class Change>
void changeModelBrush(int32_t entity, Change change) {
    tarsk::Model& model = tarsk::liveModel(entity);
    change(model.brush);
    model.brushChanged = true;
}

}  // namespace

extern "C" {

int32_t _fcreatebrush(float red, float green, float blue) {
    checkScene();
    Brush brush;
    brush.setColor(red * kByteToUnit, green * kByteToUnit, blue * kByteToUnit);
    return handleOf(tarsk::registerBrush(brush));
}

int32_t _floadbrush(tbString* file, int32_t flags, float uScale, float vScale) {
    tarsk::StringArg name(file);
    checkScene();
    tarsk::TextureRep* texture = tarsk::loadTexture(name.str(), flags);
    if (!texture) return 0;
    if (!texture->frame(0)) {
        texture->release();
        return 0;
    }
    if (uScale != 1 || vScale != 1) texture->setScale(uScale, vScale);
    Brush brush;
    brush.setTexture(0, texture, 0);
    texture->release();
    return handleOf(tarsk::registerBrush(brush));
}

void _ffreebrush(int32_t brush) {
    if (!brush) return;
    // An unregistered handle frees nothing, so only debug checks report it.
    if (debugChecks) tarsk::checkedBrush(brush);
    tarsk::freeBrush(brush);
}

void _fbrushcolor(int32_t brush, float red, float green, float blue) {
    brushOf(brush).setColor(red * kByteToUnit, green * kByteToUnit, blue * kByteToUnit);
}

void _fbrushalpha(int32_t brush, float alpha) { brushOf(brush).setAlpha(alpha); }

void _fbrushshininess(int32_t brush, float shininess) { brushOf(brush).setShininess(shininess); }

void _fbrushtexture(int32_t brush, int32_t texture, int32_t frame, int32_t index) {
    Brush& target = brushOf(brush);
    tarsk::TextureRep* rep = textureOf(texture);
    target.setTexture(tarsk::checkedSlot(index), rep, frame);
}

int32_t _fgetbrushtexture(int32_t brush, int32_t index) {
    const Brush& source = brushOf(brush);
    tarsk::TextureRep* rep = source.texture(tarsk::checkedSlot(index));
    if (rep) {
        rep->retain();
    } else {
        rep = tarsk::createTexture(0, 0, 0, 0);
    }
    return handleOf(tarsk::registerTexture(rep));
}

void _fbrushblend(int32_t brush, int32_t blend) { brushOf(brush).setBlend(blend); }

void _fbrushfx(int32_t brush, int32_t fx) { brushOf(brush).setFX(fx); }

void _fpaintentity(int32_t entity, int32_t brush) {
    tarsk::Model& model = tarsk::liveModel(entity);
    model.brush = brushOf(brush);
    model.brushChanged = true;
}

void _fentitycolor(int32_t entity, float red, float green, float blue) {
    changeModelBrush(entity, [&](Brush& b) { b.setColor(red * kByteToUnit, green * kByteToUnit, blue * kByteToUnit); });
}

void _fentityalpha(int32_t entity, float alpha) {
    changeModelBrush(entity, [&](Brush& b) { b.setAlpha(alpha); });
}

void _fentityshininess(int32_t entity, float shininess) {
    changeModelBrush(entity, [&](Brush& b) { b.setShininess(shininess); });
}

void _fentitytexture(int32_t entity, int32_t texture, int32_t frame, int32_t index) {
    tarsk::Model& model = tarsk::liveModel(entity);
    tarsk::TextureRep* rep = textureOf(texture);
    model.brush.setTexture(tarsk::checkedSlot(index), rep, frame);
    model.brushChanged = true;
}

void _fentityblend(int32_t entity, int32_t blend) {
    changeModelBrush(entity, [&](Brush& b) { b.setBlend(blend); });
}

void _fentityfx(int32_t entity, int32_t fx) {
    changeModelBrush(entity, [&](Brush& b) { b.setFX(fx); });
}

int32_t _fgetentitybrush(int32_t entity) { return handleOf(tarsk::registerBrush(tarsk::liveModel(entity).brush)); }

int32_t _fgetsurfacebrush(int32_t surface) {
    return handleOf(tarsk::registerBrush(tarsk::liveSurface(surface)->brush()));
}

}  // extern "C"

namespace tarsk {

void registerBrushCommands(Registrar add) {
    add("%CreateBrush#red=255#green=255#blue=255", reinterpret_cast<const void*>(_fcreatebrush));
    add("%LoadBrush$file%texture_flags=1#u_scale=1#v_scale=1", reinterpret_cast<const void*>(_floadbrush));
    add("FreeBrush%brush", reinterpret_cast<const void*>(_ffreebrush));
    add("BrushColor%brush#red#green#blue", reinterpret_cast<const void*>(_fbrushcolor));
    add("BrushAlpha%brush#alpha", reinterpret_cast<const void*>(_fbrushalpha));
    add("BrushShininess%brush#shininess", reinterpret_cast<const void*>(_fbrushshininess));
    add("BrushTexture%brush%texture%frame=0%index=0", reinterpret_cast<const void*>(_fbrushtexture));
    add("%GetBrushTexture%brush%index=0", reinterpret_cast<const void*>(_fgetbrushtexture));
    add("BrushBlend%brush%blend", reinterpret_cast<const void*>(_fbrushblend));
    add("BrushFX%brush%fx", reinterpret_cast<const void*>(_fbrushfx));
    add("PaintEntity%entity%brush", reinterpret_cast<const void*>(_fpaintentity));
    add("EntityColor%entity#red#green#blue", reinterpret_cast<const void*>(_fentitycolor));
    add("EntityAlpha%entity#alpha", reinterpret_cast<const void*>(_fentityalpha));
    add("EntityShininess%entity#shininess", reinterpret_cast<const void*>(_fentityshininess));
    add("EntityTexture%entity%texture%frame=0%index=0", reinterpret_cast<const void*>(_fentitytexture));
    add("EntityBlend%entity%blend", reinterpret_cast<const void*>(_fentityblend));
    add("EntityFX%entity%fx", reinterpret_cast<const void*>(_fentityfx));
    add("%GetEntityBrush%entity", reinterpret_cast<const void*>(_fgetentitybrush));
    add("%GetSurfaceBrush%surface", reinterpret_cast<const void*>(_fgetsurfacebrush));
}

}  // namespace tarsk
