// The texture commands: loading and creating, settings, cube faces, buffers, filters.
#include "runtime/engine3d/commands.h"
#include "runtime/engine3d/texture.h"
#include "runtime/engine3d/texture_names.h"
#include "runtime/engine3d/world.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/strings.h"

using tarsk::debugChecks;
using tarsk::handleOf;
using tarsk::TextureRep;

namespace {

void checkScene() {
    if (debugChecks) tarsk::requireWorld();
}

TextureRep& rep(int32_t texture) { return *tarsk::checkedTexture(texture)->rep; }

int32_t registered(TextureRep* loaded) { return loaded ? handleOf(tarsk::registerTexture(loaded)) : 0; }

}  // namespace

extern "C" {

int32_t _floadtexture(tbString* file, int32_t flags) {
    tarsk::StringArg name(file);
    checkScene();
    return registered(tarsk::loadTexture(name.str(), flags));
}

int32_t _floadanimtexture(tbString* file, int32_t flags, int32_t width, int32_t height, int32_t first, int32_t count) {
    tarsk::StringArg name(file);
    checkScene();
    return registered(tarsk::loadAnimTexture(name.str(), flags, width, height, first, count));
}

int32_t _fcreatetexture(int32_t width, int32_t height, int32_t flags, int32_t frames) {
    checkScene();
    if (debugChecks && frames <= 0) tarsk::runtimeError("Illegal number of texture frames");
    return registered(tarsk::createTexture(width, height, flags, frames));
}

void _ffreetexture(int32_t texture) {
    if (!texture) return;
    if (debugChecks) tarsk::checkedTexture(texture);
    tarsk::freeTexture(tarsk::fromHandle<tarsk::Texture>(texture));
}

void _ftextureblend(int32_t texture, int32_t blend) { rep(texture).setBlend(blend); }

void _ftexturecoords(int32_t texture, int32_t coords) { rep(texture).setCoordinateSet(coords); }

void _fscaletexture(int32_t texture, float uScale, float vScale) { rep(texture).setScale(uScale, vScale); }

void _frotatetexture(int32_t texture, float angle) { rep(texture).setRotation(angle); }

void _fpositiontexture(int32_t texture, float uOffset, float vOffset) { rep(texture).setOffset(uOffset, vOffset); }

int32_t _ftexturewidth(int32_t texture) {
    tarsk::gxCanvas* frame = rep(texture).frame(0);
    return frame ? frame->width() : 0;
}

int32_t _ftextureheight(int32_t texture) {
    tarsk::gxCanvas* frame = rep(texture).frame(0);
    return frame ? frame->height() : 0;
}

tbString* _ftexturename(int32_t texture) { return tarsk::stringNew(rep(texture).name()); }

void _fsetcubeface(int32_t texture, int32_t face) {
    if (tarsk::gxCanvas* frame = rep(texture).frame(0)) frame->selectFace(face);
}

void _fsetcubemode(int32_t texture, int32_t mode) {
    if (tarsk::gxCanvas* frame = rep(texture).frame(0)) frame->setCubeMode(mode);
}

int32_t _ftexturebuffer(int32_t texture, int32_t frame) {
    tarsk::gxCanvas* canvas = rep(texture).frame(frame);
    return canvas && canvas->format().valid() ? handleOf(canvas) : 0;
}

void _fcleartexturefilters() {
    checkScene();
    tarsk::clearTextureFilters();
}

void _ftexturefilter(tbString* matchText, int32_t flags) {
    tarsk::StringArg text(matchText);
    checkScene();
    tarsk::addTextureFilter(text.view(), flags);
}

int32_t _factivetextures() { return tarsk::activeTextureCount(); }

}  // extern "C"

namespace tarsk {

void registerTextureCommands(Registrar add) {
    add("%LoadTexture$file%flags=1", reinterpret_cast<const void*>(_floadtexture));
    add("%LoadAnimTexture$file%flags%width%height%first%count", reinterpret_cast<const void*>(_floadanimtexture));
    add("%CreateTexture%width%height%flags=0%frames=1", reinterpret_cast<const void*>(_fcreatetexture));
    add("FreeTexture%texture", reinterpret_cast<const void*>(_ffreetexture));
    add("TextureBlend%texture%blend", reinterpret_cast<const void*>(_ftextureblend));
    add("TextureCoords%texture%coords", reinterpret_cast<const void*>(_ftexturecoords));
    add("ScaleTexture%texture#u_scale#v_scale", reinterpret_cast<const void*>(_fscaletexture));
    add("RotateTexture%texture#angle", reinterpret_cast<const void*>(_frotatetexture));
    add("PositionTexture%texture#u_offset#v_offset", reinterpret_cast<const void*>(_fpositiontexture));
    add("%TextureWidth%texture", reinterpret_cast<const void*>(_ftexturewidth));
    add("%TextureHeight%texture", reinterpret_cast<const void*>(_ftextureheight));
    add("$TextureName%texture", reinterpret_cast<const void*>(_ftexturename));
    add("SetCubeFace%texture%face", reinterpret_cast<const void*>(_fsetcubeface));
    add("SetCubeMode%texture%mode", reinterpret_cast<const void*>(_fsetcubemode));
    add("%TextureBuffer%texture%frame=0", reinterpret_cast<const void*>(_ftexturebuffer));
    add("ClearTextureFilters", reinterpret_cast<const void*>(_fcleartexturefilters));
    add("TextureFilter$match_text%texture_flags=0", reinterpret_cast<const void*>(_ftexturefilter));
}

// A world statistic, registered with the statistics of the rendering commands.
void registerTextureStatisticsCommands(Registrar add) {
    add("%ActiveTextures", reinterpret_cast<const void*>(_factivetextures));
}

}  // namespace tarsk
