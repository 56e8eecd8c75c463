#include "runtime/engine3d/gl_scene3d.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "runtime/engine3d/scene_shader.h"
#include "runtime/graphics/canvas_flags.h"
#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gl_device.h"
#include "runtime/graphics/gl_program.h"
#include "runtime/graphics/gl_sync.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_mesh.h"

namespace tarsk {

using math3d::Transform;
using math3d::Vec3;

namespace {

// A colour as the device stores it: 8 bits per channel, truncated.
float truncated(float v) { return float(std::clamp(int(v * 255.0f), 0, 255)) / 255.0f; }
Rgb truncated(const Rgb& c) { return {truncated(c[0]), truncated(c[1]), truncated(c[2])}; }

void toGl(const Transform& t, float out[16]) {
    const Vec3* axes[4] = {&t.m.i, &t.m.j, &t.m.k, &t.t};
    for (int c = 0; c < 4; ++c) {
        out[c * 4 + 0] = axes[c]->x;
        out[c * 4 + 1] = axes[c]->y;
        out[c * 4 + 2] = axes[c]->z;
        out[c * 4 + 3] = c == 3 ? 1.0f : 0.0f;
    }
}

// The normal matrix: the inverse transpose of the linear part (column-major 3x3).
void normalMatrix(const math3d::Matrix3& m, float out[9]) {
    math3d::Matrix3 inv = math3d::inverse(m);
    // Transpose: column c of the result is row c of inv.
    for (int c = 0; c < 3; ++c) {
        out[c * 3 + 0] = c == 0 ? inv.i.x : c == 1 ? inv.i.y : inv.i.z;
        out[c * 3 + 1] = c == 0 ? inv.j.x : c == 1 ? inv.j.y : inv.j.z;
        out[c * 3 + 2] = c == 0 ? inv.k.x : c == 1 ? inv.k.y : inv.k.z;
    }
}

// The row-vector projection with its depth range 0..w moved to GL's -w..w and y turned
// over, so the image's top row lands in the target's first row.
void projectionToGl(const Matrix4& p, float out[16]) {
    for (int c = 0; c < 4; ++c) {
        out[c * 4 + 0] = p[c][0];
        out[c * 4 + 1] = -p[c][1];
        out[c * 4 + 2] = 2 * p[c][2] - p[c][3];
        out[c * 4 + 3] = p[c][3];
    }
}

}  // namespace

bool operator==(const TextureStageState& a, const TextureStageState& b) {
    return a.canvas == b.canvas && a.cube == b.cube && a.addressU == b.addressU && a.addressV == b.addressV &&
           a.source == b.source && a.coordinateSet == b.coordinateSet && a.transformKind == b.transformKind &&
           std::memcmp(a.matrix, b.matrix, sizeof a.matrix) == 0 && a.colourOp == b.colourOp && a.alphaOp == b.alphaOp;
}

bool operator==(const RenderMaterial& a, const RenderMaterial& b) {
    if (a.colour != b.colour || a.alpha != b.alpha || a.shininess != b.shininess || a.blend != b.blend || a.fx != b.fx ||
        a.stageCount != b.stageCount)
        return false;
    for (int32_t i = 0; i < a.stageCount; ++i)
        if (!(a.stages[size_t(i)] == b.stages[size_t(i)])) return false;
    return true;
}

struct GlScene3D::Program {
    GLuint id = 0;
    GLint worldView, normalMatrix, projection, cameraToWorld, lighting, colourSource, ambient, matDiffuse, matAmbient,
        matSpecular, matPower, specular, stageCount, flat, fog, fogNear, fogFar, fogColour, alphaTest, alphaReference;
    GLint lightType, lightDiffuse, lightSpecular, lightAmbient, lightPosition, lightDirection, lightRange,
        lightAttenuation, lightSpot;
    GLint coordSource, coordSet, transformKind, texMatrix, colourOp, alphaOp, cube, texture, cubeTexture;
    ~Program() {
        if (id) glDeleteProgram(id);
    }
};

struct GlScene3D::CubeCopy {
    GLuint texture = 0;
    std::array<uint64_t, 6> versions{};
    std::array<const Surface*, 6> faces{};
    ~CubeCopy() {
        if (texture) glDeleteTextures(1, &texture);
    }
};

std::unique_ptr<GlScene3D> GlScene3D::create(GlDevice& device) {
    std::unique_ptr<GlScene3D> scene(new GlScene3D(device));
    if (!scene->build()) return nullptr;
    return scene;
}

GlScene3D::GlScene3D(GlDevice& device) : device_(device) {}

GlScene3D::~GlScene3D() {
    device_.makeCurrent();
    cubes_.clear();
    program_.reset();
    glDeleteSamplers(4, samplers_);
    if (white_) glDeleteTextures(1, &white_);
}

bool GlScene3D::build() {
    device_.makeCurrent();
    GLuint id = linkShaderProgram(sceneVertexShaderSource().c_str(), sceneFragmentShaderSource().c_str());
    if (!id) return false;
    program_ = std::make_unique<Program>();
    Program& p = *program_;
    p.id = id;
    auto at = [&](const char* name) { return glGetUniformLocation(p.id, name); };
    p.worldView = at("uWorldView");
    p.normalMatrix = at("uNormalMatrix");
    p.projection = at("uProjection");
    p.cameraToWorld = at("uCameraToWorld");
    p.lighting = at("uLighting");
    p.colourSource = at("uColourSource");
    p.ambient = at("uAmbient");
    p.matDiffuse = at("uMatDiffuse");
    p.matAmbient = at("uMatAmbient");
    p.matSpecular = at("uMatSpecular");
    p.matPower = at("uMatPower");
    p.specular = at("uSpecular");
    p.stageCount = at("uStageCount");
    p.flat = at("uFlat");
    p.fog = at("uFog");
    p.fogNear = at("uFogNear");
    p.fogFar = at("uFogFar");
    p.fogColour = at("uFogColour");
    p.alphaTest = at("uAlphaTest");
    p.alphaReference = at("uAlphaReference");
    p.lightType = at("uLightType");
    p.lightDiffuse = at("uLightDiffuse");
    p.lightSpecular = at("uLightSpecular");
    p.lightAmbient = at("uLightAmbient");
    p.lightPosition = at("uLightPosition");
    p.lightDirection = at("uLightDirection");
    p.lightRange = at("uLightRange");
    p.lightAttenuation = at("uLightAttenuation");
    p.lightSpot = at("uLightSpot");
    p.coordSource = at("uCoordSource");
    p.coordSet = at("uCoordSet");
    p.transformKind = at("uTransformKind");
    p.texMatrix = at("uTexMatrix");
    p.colourOp = at("uColourOp");
    p.alphaOp = at("uAlphaOp");
    p.cube = at("uCube");
    p.texture = at("uTexture");
    p.cubeTexture = at("uCubeTexture");
    glUseProgram(p.id);
    GLint units[kMaxTextureStages], cubeUnits[kMaxTextureStages];
    for (int i = 0; i < kMaxTextureStages; ++i) {
        units[i] = i;
        cubeUnits[i] = kMaxTextureStages + i;
    }
    glUniform1iv(p.texture, kMaxTextureStages, units);
    glUniform1iv(p.cubeTexture, kMaxTextureStages, cubeUnits);
    glUseProgram(0);

    glGenSamplers(4, samplers_);
    for (int i = 0; i < 4; ++i) {
        glSamplerParameteri(samplers_[i], GL_TEXTURE_WRAP_S, (i & 1) ? GL_CLAMP_TO_EDGE : GL_REPEAT);
        glSamplerParameteri(samplers_[i], GL_TEXTURE_WRAP_T, (i & 2) ? GL_CLAMP_TO_EDGE : GL_REPEAT);
        glSamplerParameteri(samplers_[i], GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
        glSamplerParameteri(samplers_[i], GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glSamplerParameteri(samplers_[i], GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    // Stages whose frame does not exist sample white.
    glGenTextures(1, &white_);
    glBindTexture(GL_TEXTURE_2D, white_);
    uint32_t white = 0xFFFFFFFFu;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    textureUnits_ = maxTextureUnits();
    return true;
}

void GlScene3D::enable(uint32_t cap, bool on) {
    auto it = enabled_.find(cap);
    if (it != enabled_.end() && it->second == on) return;
    enabled_[cap] = on;
    on ? glEnable(cap) : glDisable(cap);
    ++glCalls_;
}

bool GlScene3D::beginFrame(const std::vector<const LightRecord*>& lights) {
    if (!target_) return false;
    device_.makeCurrent();
    target_->attachDepthBuffer();
    frameSurface_ = &target_->currentSurface();
    if (!beginRender(device_, *frameSurface_)) return false;
    // beginRender binds the target and sets a viewport of its own.
    viewport_ = {0, 0, target_->width(), target_->height()};
    glUseProgram(program_->id);
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    glPolygonMode(GL_FRONT_AND_BACK, wireframe_ ? GL_LINE : GL_FILL);
    glCalls_ += 4;
    for (int i = 0; i < kMaxLights; ++i) {
        lightOn_[i] = i < int(lights.size());
        if (lightOn_[i]) lights_[i] = *lights[i];
    }
    // Other GL users (presenting, copies) may have changed any state since the last frame.
    enabled_.clear();
    blendState_ = cullState_ = depthMaskState_ = zMode_ = -1;
    boundArray_ = 0;
    materialSet_ = false;
    dirty_ = ~0u;
    touched_[0] = touched_[1] = INT32_MAX;
    touched_[2] = touched_[3] = INT32_MIN;
    inFrame_ = true;
    return true;
}

void GlScene3D::endFrame() {
    if (!inFrame_) return;
    inFrame_ = false;
    glBindVertexArray(0);
    boundArray_ = 0;
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    endRender(*frameSurface_);
    if (touched_[0] < touched_[2] && touched_[1] < touched_[3])
        target_->touch({touched_[0], touched_[1], touched_[2], touched_[3]});
}

void GlScene3D::setViewport(const Viewport& viewport) {
    viewport_ = viewport;
    glViewport(viewport.x, viewport.y, std::max(viewport.width, 0), std::max(viewport.height, 0));
    ++glCalls_;
    if (!target_) return;
    touched_[0] = std::min(touched_[0], std::max(viewport.x, 0));
    touched_[1] = std::min(touched_[1], std::max(viewport.y, 0));
    touched_[2] = std::max(touched_[2], std::min(viewport.x + viewport.width, target_->width()));
    touched_[3] = std::max(touched_[3], std::min(viewport.y + viewport.height, target_->height()));
}

void GlScene3D::clear(bool colour, bool z, const Rgb& rgb) {
    if (!colour && !z) return;
    enable(GL_SCISSOR_TEST, true);
    glScissor(viewport_.x, viewport_.y, std::max(viewport_.width, 0), std::max(viewport_.height, 0));
    GLbitfield bits = 0;
    if (colour) {
        Rgb c = truncated(rgb);
        glClearColor(c[0], c[1], c[2], 1.0f);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        bits |= GL_COLOR_BUFFER_BIT;
    }
    if (z) {
        glClearDepth(1.0);
        if (depthMaskState_ != 1) glDepthMask(GL_TRUE);
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(bits);
    // The depth mask of the z mode in force.
    if (z && depthMaskState_ == 0) glDepthMask(GL_FALSE);
    enable(GL_SCISSOR_TEST, false);
    glCalls_ += 4;
}

void GlScene3D::setProjection(const Matrix4& projection) {
    if (projection == projection_ && !(dirty_ & kProjection)) return;
    projection_ = projection;
    dirty_ |= kProjection;
}

void GlScene3D::setViewTransform(const Transform& view) {
    view_ = view;
    toCamera_ = math3d::inverse(view);
    dirty_ |= kTransforms | kView | kLights | kStages;
}

void GlScene3D::setWorldTransform(const Transform& world) {
    if (std::memcmp(&world, &world_, sizeof world) == 0) return;
    world_ = world;
    dirty_ |= kTransforms;
}

void GlScene3D::setFog(float near, float far, const Rgb& rgb, int32_t mode) {
    fogNear_ = near;
    fogFar_ = far;
    fogColour_ = truncated(rgb);
    fogMode_ = mode;
    dirty_ |= kFog;
}

void GlScene3D::setZMode(int32_t mode) {
    if (mode == zMode_) return;
    zMode_ = mode;
    enable(GL_DEPTH_TEST, mode != 1);
    glDepthFunc(GL_LEQUAL);
    bool write = mode == 0;
    if (depthMaskState_ != int(write)) {
        glDepthMask(write ? GL_TRUE : GL_FALSE);
        depthMaskState_ = int(write);
        ++glCalls_;
    }
    ++glCalls_;
}

void GlScene3D::setCullFlip(bool flip) {
    cullFlip_ = flip;
    applyCulling();
}

void GlScene3D::applyCulling() {
    enable(GL_CULL_FACE, !(material_.fx & kFxNoCulling));
    // The y turn-over makes the clockwise front faces counter-clockwise on the target.
    int32_t state = cullFlip_ ? 1 : 0;
    if (state == cullState_) return;
    cullState_ = state;
    glFrontFace(cullFlip_ ? GL_CW : GL_CCW);
    glCullFace(GL_BACK);
    glCalls_ += 2;
}

void GlScene3D::applyBlend() {
    int32_t mode = material_.blend;
    if (layerPass_) {
        mode = layer_.colourOp == TextureColourOp::kBlendTextureAlpha ? 1
               : layer_.colourOp == TextureColourOp::kAdd             ? 4
                                                                      : 2;
    }
    if (mode == blendState_) return;
    blendState_ = mode;
    enable(GL_BLEND, mode != 0);
    switch (mode) {
        case 1: glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
        case 2: glBlendFunc(GL_DST_COLOR, GL_ZERO); break;
        case 3: glBlendFunc(GL_SRC_ALPHA, GL_ONE); break;
        case 4: glBlendFunc(GL_ONE, GL_ONE); break;
        default: break;
    }
    ++glCalls_;
}

void GlScene3D::setRenderState(const RenderMaterial& material) {
    if (materialSet_ && material == material_) return;
    bool stagesChanged = !materialSet_ || material.stageCount != material_.stageCount;
    for (int32_t i = 0; !stagesChanged && i < material.stageCount; ++i)
        stagesChanged = !(material.stages[size_t(i)] == material_.stages[size_t(i)]);
    material_ = material;
    materialSet_ = true;
    dirty_ |= kMaterial | kLights | kFog;
    if (stagesChanged) dirty_ |= kStages;
    applyBlend();
    applyCulling();
}

void GlScene3D::setLayerPass(const TextureStageState& layer) {
    layerPass_ = true;
    layer_ = layer;
    dirty_ |= kMaterial | kStages;
    applyBlend();
}

void GlScene3D::endLayerPasses() {
    layerPass_ = false;
    dirty_ |= kMaterial | kStages;
    applyBlend();
}

void GlScene3D::setAmbient(const Rgb& rgb) {
    ambient_ = truncated(rgb);
    dirty_ |= kMaterial;
}

void GlScene3D::setWireframe(bool on) {
    wireframe_ = on;
    if (inFrame_) glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
}

void GlScene3D::setDither(bool on) {
    device_.makeCurrent();
    enable(GL_DITHER, on);
}

void GlScene3D::setAntiAlias(bool on) {
    device_.makeCurrent();
    enable(GL_POLYGON_SMOOTH, on);
}

void GlScene3D::uploadLights() {
    const Program& p = *program_;
    const Transform& toCamera = toCamera_;
    GLint type[kMaxLights];
    float diffuse[kMaxLights * 3], specular[kMaxLights * 3], ambient[kMaxLights * 3], position[kMaxLights * 3],
        direction[kMaxLights * 3], range[kMaxLights], attenuation[kMaxLights * 3], spot[kMaxLights * 3];
    // Full-bright brushes are lit by the ambient colour alone.
    bool lightsOff = material_.fx & kFxFullBright;
    for (int i = 0; i < kMaxLights; ++i) {
        const LightRecord& l = lights_[i];
        type[i] = lightOn_[i] && !lightsOff ? int(l.type) : 0;
        Vec3 pos = math3d::applyPoint(toCamera, l.position);
        Vec3 dir = math3d::normalized(toCamera.m * l.direction);
        float values[8][3] = {{l.diffuse[0], l.diffuse[1], l.diffuse[2]},
                              {l.specular[0], l.specular[1], l.specular[2]},
                              {l.ambient[0], l.ambient[1], l.ambient[2]},
                              {pos.x, pos.y, pos.z},
                              {dir.x, dir.y, dir.z},
                              {l.attenuation0, l.attenuation1, l.attenuation2},
                              {std::cos(l.theta / 2), std::cos(l.phi / 2), l.falloff}};
        float* outs[7] = {diffuse, specular, ambient, position, direction, attenuation, spot};
        for (int k = 0; k < 7; ++k) std::memcpy(outs[k] + i * 3, values[k], sizeof values[k]);
        range[i] = l.range;
    }
    glUniform1iv(p.lightType, kMaxLights, type);
    glUniform3fv(p.lightDiffuse, kMaxLights, diffuse);
    glUniform3fv(p.lightSpecular, kMaxLights, specular);
    glUniform3fv(p.lightAmbient, kMaxLights, ambient);
    glUniform3fv(p.lightPosition, kMaxLights, position);
    glUniform3fv(p.lightDirection, kMaxLights, direction);
    glUniform1fv(p.lightRange, kMaxLights, range);
    glUniform3fv(p.lightAttenuation, kMaxLights, attenuation);
    glUniform3fv(p.lightSpot, kMaxLights, spot);
    glCalls_ += 9;
}

uint32_t GlScene3D::cubeTextureOf(gxCanvas& canvas) {
    std::unique_ptr<CubeCopy>& copy = cubes_[&canvas];
    if (!copy) copy = std::make_unique<CubeCopy>();
    Surface* selected = &canvas.currentSurface();
    // Canvas faces: -X, +Z, +X, -Z, +Y, -Y.
    static constexpr GLenum kTargets[6] = {GL_TEXTURE_CUBE_MAP_NEGATIVE_X, GL_TEXTURE_CUBE_MAP_POSITIVE_Z,
                                           GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z,
                                           GL_TEXTURE_CUBE_MAP_POSITIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y};
    bool fresh = copy->texture == 0;
    if (fresh) glGenTextures(1, &copy->texture);
    glBindTexture(GL_TEXTURE_CUBE_MAP, copy->texture);
    int32_t restore = -1;
    for (int f = 0; f < 6; ++f) {
        canvas.selectFace(f);
        Surface& face = canvas.currentSurface();
        if (&face == selected) restore = f;
        syncForCpu(face);
        if (!fresh && copy->faces[f] == &face && copy->versions[f] == face.version) continue;
        copy->faces[f] = &face;
        copy->versions[f] = face.version;
        const SurfaceLevel& level = face.levels[0];
        std::vector<uint32_t>& words = device_.scratch();
        words.resize(size_t(level.width) * size_t(level.height));
        int32_t bpp = face.format.bytesPerPixel();
        for (int32_t y = 0; y < level.height; ++y)
            for (int32_t x = 0; x < level.width; ++x)
                words[size_t(y) * level.width + x] = face.format.read(level.bytes.data() + size_t(y) * level.pitch + x * bpp);
        glTexImage2D(kTargets[f], 0, GL_RGBA8, level.width, level.height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     words.data());
        ++glCalls_;
    }
    if (restore >= 0) canvas.selectFace(restore);
    if (fresh) {
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAX_LEVEL, 0);
        if (canvas.format().alphaMask() == 0) glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    }
    return copy->texture;
}

uint32_t GlScene3D::textureFor(const TextureStageState& stage, bool& cube) {
    cube = stage.cube && stage.canvas && (stage.canvas->flags() & CV_CUBE);
    if (!stage.canvas) return white_;
    if (cube) return cubeTextureOf(*stage.canvas);
    return textureOf(device_, stage.canvas->renderSurface());
}

void GlScene3D::uploadStages() {
    const Program& p = *program_;
    GLint count = 0;
    GLint source[kMaxTextureStages] = {}, set[kMaxTextureStages] = {}, kind[kMaxTextureStages] = {},
          colourOp[kMaxTextureStages] = {}, alphaOp[kMaxTextureStages] = {}, cube[kMaxTextureStages] = {};
    float matrices[kMaxTextureStages * 16] = {};
    auto stageAt = [&](int i, const TextureStageState& s, TextureColourOp op, GLint alpha) {
        bool isCube = false;
        // Uploads bind to the active unit: keep them off the units already set.
        glActiveTexture(GL_TEXTURE0 + 2 * kMaxTextureStages - 1);
        GLuint texture = textureFor(s, isCube);
        glActiveTexture(GL_TEXTURE0 + (isCube ? kMaxTextureStages + i : i));
        glBindTexture(isCube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D, texture);
        glBindSampler(isCube ? kMaxTextureStages + i : i,
                      samplers_[(s.addressU == TextureAddress::kClamp ? 1 : 0) | (s.addressV == TextureAddress::kClamp ? 2 : 0)]);
        glCalls_ += 3;
        source[i] = GLint(s.source);
        set[i] = s.coordinateSet & 1;
        kind[i] = s.transformKind == TextureTransformKind::kAffine2 ? 1 : s.transformKind == TextureTransformKind::kCameraToWorld ? 2 : 0;
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 3; ++r) matrices[i * 16 + c * 4 + r] = s.matrix[c][r];
        matrices[i * 16 + 15] = 1;
        colourOp[i] = GLint(op);
        alphaOp[i] = alpha;
        cube[i] = isCube;
    };
    if (layerPass_) {
        // The layer's texture colour and alpha alone.
        stageAt(0, layer_, TextureColourOp(6), 2);
        count = 1;
    } else {
        int32_t stages = std::min(material_.stageCount, textureUnits_);
        for (int i = 0; i < stages; ++i) {
            const TextureStageState& s = material_.stages[i];
            if (s.colourOp != TextureColourOp::kUnchanged) stageOps_[i] = s.colourOp;
            // A stage whose operation was never set is disabled, and so are those after it.
            if (stageOps_[i] == TextureColourOp::kUnchanged) break;
            stageAt(i, s, stageOps_[i], s.alphaOp == TextureAlphaOp::kModulate ? 0 : 1);
            count = i + 1;
        }
    }
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(p.stageCount, count);
    glUniform1iv(p.coordSource, kMaxTextureStages, source);
    glUniform1iv(p.coordSet, kMaxTextureStages, set);
    glUniform1iv(p.transformKind, kMaxTextureStages, kind);
    glUniformMatrix4fv(p.texMatrix, kMaxTextureStages, GL_FALSE, matrices);
    glUniform1iv(p.colourOp, kMaxTextureStages, colourOp);
    glUniform1iv(p.alphaOp, kMaxTextureStages, alphaOp);
    glUniform1iv(p.cube, kMaxTextureStages, cube);
    glCalls_ += 9;
}

void GlScene3D::flushUniforms() {
    const Program& p = *program_;
    if (dirty_ & kTransforms) {
        Transform worldView = math3d::compose(toCamera_, world_);
        float m[16], n[9];
        toGl(worldView, m);
        normalMatrix(worldView.m, n);
        glUniformMatrix4fv(p.worldView, 1, GL_FALSE, m);
        glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, n);
        glCalls_ += 2;
    }
    if (dirty_ & kView) {
        math3d::Matrix3 back{math3d::normalized(view_.m.i), math3d::normalized(view_.m.j), math3d::normalized(view_.m.k)};
        float c[9] = {back.i.x, back.i.y, back.i.z, back.j.x, back.j.y, back.j.z, back.k.x, back.k.y, back.k.z};
        glUniformMatrix3fv(p.cameraToWorld, 1, GL_FALSE, c);
        ++glCalls_;
    }
    if (dirty_ & kProjection) {
        float m[16];
        projectionToGl(projection_, m);
        glUniformMatrix4fv(p.projection, 1, GL_FALSE, m);
        ++glCalls_;
    }
    if (dirty_ & kLights) uploadLights();
    if (dirty_ & kMaterial) {
        const RenderMaterial& m = material_;
        int32_t fx = m.fx;
        float shine = std::clamp(m.shininess, 0.0f, 1.0f);
        Rgb ambient = (fx & kFxFullBright) ? Rgb{1, 1, 1} : (fx & kFxSecondAmbient) ? secondAmbient_ : ambient_;
        glUniform1i(p.lighting, !layerPass_);
        glUniform1i(p.colourSource, (fx & kFxVertexColours) ? 1 : (fx & kFxEmissiveVertexColours) ? 2 : 0);
        glUniform3f(p.ambient, ambient[0], ambient[1], ambient[2]);
        glUniform4f(p.matDiffuse, m.colour[0], m.colour[1], m.colour[2], m.alpha);
        glUniform3f(p.matAmbient, m.colour[0], m.colour[1], m.colour[2]);
        glUniform3f(p.matSpecular, shine, shine, shine);
        glUniform1f(p.matPower, m.shininess * 128);
        glUniform1i(p.specular, m.shininess > 0 && !layerPass_);
        glUniform1i(p.flat, (fx & kFxFlat) != 0);
        bool alphaTest = (fx & kFxAlphaTest) != 0 && !layerPass_;
        glUniform1i(p.alphaTest, alphaTest);
        glUniform1f(p.alphaReference, (fx & kFxAlphaBlend) ? 0.0f : float(int(m.alpha * 128)));
        glCalls_ += 11;
    }
    if (dirty_ & kStages) uploadStages();
    if (dirty_ & (kFog | kMaterial)) {
        glUniform1i(p.fog, fogMode_ == 1 && !(material_.fx & kFxNoFog));
        glUniform1f(p.fogNear, fogNear_);
        glUniform1f(p.fogFar, fogFar_);
        glUniform3f(p.fogColour, fogColour_[0], fogColour_[1], fogColour_[2]);
        glCalls_ += 4;
    }
    dirty_ = 0;
}

void GlScene3D::drawTriangles(gxMesh& mesh, int32_t firstVertex, int32_t, int32_t firstTriangle, int32_t triangleCount) {
    if (!inFrame_ || triangleCount <= 0) return;
    if (zMode_ < 0) setZMode(0);
    flushUniforms();
    if (mesh.vertexArray() != boundArray_) {
        boundArray_ = mesh.vertexArray();
        glBindVertexArray(boundArray_);
        ++glCalls_;
    }
    glDrawElementsBaseVertex(GL_TRIANGLES, triangleCount * 3, GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(std::size_t(firstTriangle) * gxMesh::kTriangleBytes), firstVertex);
    ++glCalls_;
}

}  // namespace tarsk
