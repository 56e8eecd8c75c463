// gxScene3D: the fixed-function 3D device the world draws through (viewport, clears,
// transforms, fog, z modes, lights, materials, texture stages, indexed drawing). The GL
// implementation emulates it with one shader program; tests record the calls.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/engine3d/camera.h"
#include "runtime/engine3d/light.h"
#include "runtime/engine3d/texture_stage.h"

namespace tarsk {

class gxCanvas;
class gxMesh;

inline constexpr int32_t kMaxLights = 8;
inline constexpr int32_t kMaxTextureStages = 8;

// Effect bits of a render state.
enum SceneFx : int32_t {
    kFxFullBright = 1,
    kFxVertexColours = 2,
    kFxFlat = 4,
    kFxNoFog = 8,
    kFxNoCulling = 16,
    kFxAlphaBlend = 32,
    kFxAlphaTest = 0x2000,
    kFxSecondAmbient = 0x4000,
    kFxEmissiveVertexColours = 0x8000,
};

// What drawing with one brush needs: material, effective blend, effects and the stages of
// its texture slots in slot order.
struct RenderMaterial {
    std::array<float, 3> colour{1, 1, 1};
    float alpha = 1;
    float shininess = 0;
    int32_t blend = 0;  // effective blend: 0 none, 1 alpha, 2 multiply, 3 add
    int32_t fx = 0;
    int32_t stageCount = 0;
    std::array<TextureStageState, kMaxTextureStages> stages{};
};

// Field by field (the records have padding).
bool operator==(const TextureStageState& a, const TextureStageState& b);
bool operator==(const RenderMaterial& a, const RenderMaterial& b);

using Rgb = std::array<float, 3>;

class gxScene3D {
public:
    virtual ~gxScene3D() = default;

    // The canvas the next frames render into.
    void setTarget(gxCanvas* canvas) { target_ = canvas; }
    gxCanvas* target() const { return target_; }

    // Sets the first 8 lights (the rest of the indices disabled); false when the device
    // cannot begin a frame.
    virtual bool beginFrame(const std::vector<const LightRecord*>& lights) = 0;
    virtual void endFrame() = 0;

    virtual void setViewport(const Viewport& viewport) = 0;
    // Target and/or z-buffer; the colour at full alpha, depth 1.
    virtual void clear(bool colour, bool z, const Rgb& rgb) = 0;
    virtual void setProjection(const Matrix4& projection) = 0;
    // The view transform (camera space to world); the view matrix is its inverse.
    virtual void setViewTransform(const math3d::Transform& view) = 0;
    virtual void setWorldTransform(const math3d::Transform& world) = 0;
    // mode 1 linear, any other value off.
    virtual void setFog(float near, float far, const Rgb& rgb, int32_t mode) = 0;
    // 0 test and write, 1 neither, 2 test without writing.
    virtual void setZMode(int32_t mode) = 0;
    // Mirror views: the front faces turn round.
    virtual void setCullFlip(bool flip) = 0;
    // Material, render states and the stages up to the texture units in use.
    virtual void setRenderState(const RenderMaterial& material) = 0;
    // A texture layer beyond the units: lighting off, frame-buffer blending by the
    // layer's blend, the layer's texture alone at stage 0. endLayerPasses restores.
    virtual void setLayerPass(const TextureStageState& layer) = 0;
    virtual void endLayerPasses() = 0;

    // Triangles firstTriangle.. of the driver mesh, indices offset by firstVertex.
    void draw(gxMesh& mesh, int32_t firstVertex, int32_t vertexCount, int32_t firstTriangle, int32_t triangleCount) {
        triangleTotal_ += triangleCount;
        drawTriangles(mesh, firstVertex, vertexCount, firstTriangle, triangleCount);
    }
    int64_t triangleTotal() const { return triangleTotal_; }

    // Global switches and settings.
    virtual void setAmbient(const Rgb& rgb) = 0;
    virtual void setWireframe(bool on) = 0;
    virtual void setDither(bool on) = 0;
    virtual void setAntiAlias(bool on) = 0;
    // Honoured only where the device can (never on GL: depth is stored, not w).
    virtual void setWBuffer(bool on) = 0;
    virtual int32_t maxTextureUnits() const = 0;
    virtual bool supportsCubeMaps() const = 0;
    int32_t textureUnits() const { return textureUnits_; }
    void setTextureUnits(int32_t units) { textureUnits_ = units; }

protected:
    virtual void drawTriangles(gxMesh& mesh, int32_t firstVertex, int32_t vertexCount, int32_t firstTriangle,
                               int32_t triangleCount) = 0;
    int32_t textureUnits_ = 1;
    gxCanvas* target_ = nullptr;

private:
    int64_t triangleTotal_ = 0;
};

}  // namespace tarsk
