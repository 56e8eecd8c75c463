// gxScene3D on OpenGL 3.3 core. Every fixed-function state is kept in a cache; a GL state
// changes only when its value differs, and the uniforms of a state group go to the program
// only at the next draw after the group changed. Renders into the GL copy of a canvas
// (the image's top row first, so read-backs match canvas rows).
#pragma once

#include <map>
#include <memory>

#include "runtime/engine3d/gx_scene3d.h"

namespace tarsk {

class GlDevice;
class gxCanvas;
struct Surface;

class GlScene3D final : public gxScene3D {
public:
    // nullptr when the program cannot be built.
    static std::unique_ptr<GlScene3D> create(GlDevice& device);
    ~GlScene3D() override;

    bool beginFrame(const std::vector<const LightRecord*>& lights) override;
    void endFrame() override;
    void setViewport(const Viewport& viewport) override;
    void clear(bool colour, bool z, const Rgb& rgb) override;
    void setProjection(const Matrix4& projection) override;
    void setViewTransform(const math3d::Transform& view) override;
    void setWorldTransform(const math3d::Transform& world) override;
    void setFog(float near, float far, const Rgb& rgb, int32_t mode) override;
    void setZMode(int32_t mode) override;
    void setCullFlip(bool flip) override;
    void setRenderState(const RenderMaterial& material) override;
    void setLayerPass(const TextureStageState& layer) override;
    void endLayerPasses() override;
    void setAmbient(const Rgb& rgb) override;
    void setWireframe(bool on) override;
    void setDither(bool on) override;
    void setAntiAlias(bool on) override;
    void setWBuffer(bool) override {}
    int32_t maxTextureUnits() const override { return kMaxTextureStages; }
    bool supportsCubeMaps() const override { return true; }

    // GL calls made so far (state changes, uniform uploads, binds and draws).
    int64_t glCalls() const { return glCalls_; }

protected:
    void drawTriangles(gxMesh& mesh, int32_t firstVertex, int32_t vertexCount, int32_t firstTriangle,
                       int32_t triangleCount) override;

private:
    struct Program;
    struct CubeCopy;
    explicit GlScene3D(GlDevice& device);
    bool build();
    void flushUniforms();
    void uploadLights();
    void uploadStages();
    void applyBlend();
    void applyCulling();
    void enable(uint32_t cap, bool on);
    uint32_t textureFor(const TextureStageState& stage, bool& cube);
    uint32_t cubeTextureOf(gxCanvas& canvas);

    GlDevice& device_;
    std::unique_ptr<Program> program_;
    Surface* frameSurface_ = nullptr;
    int32_t touched_[4] = {0, 0, 0, 0};  // left, top, right, bottom drawn this frame
    bool inFrame_ = false;

    // Cached fixed-function state.
    std::array<LightRecord, kMaxLights> lights_{};
    std::array<bool, kMaxLights> lightOn_{};
    Rgb ambient_{127.0f / 255, 127.0f / 255, 127.0f / 255};
    Rgb secondAmbient_{0, 0, 0};
    float fogNear_ = 1, fogFar_ = 1000;
    Rgb fogColour_{0, 0, 0};
    int32_t fogMode_ = 0;
    int32_t zMode_ = -1;
    bool cullFlip_ = false;
    bool wireframe_ = false;
    RenderMaterial material_;
    bool materialSet_ = false;
    bool layerPass_ = false;
    TextureStageState layer_;
    std::array<TextureColourOp, kMaxTextureStages> stageOps_{};
    math3d::Transform view_, toCamera_, world_;
    Matrix4 projection_{};
    Viewport viewport_;
    std::map<uint32_t, bool> enabled_;
    int32_t blendState_ = -1;
    int32_t cullState_ = -1;
    int32_t depthMaskState_ = -1;
    uint32_t boundArray_ = 0;

    enum Dirty : uint32_t { kTransforms = 1, kProjection = 2, kLights = 4, kMaterial = 8, kStages = 16, kFog = 32, kView = 64 };
    uint32_t dirty_ = ~0u;

    uint32_t samplers_[4] = {};  // wrap/clamp in u (bit 0) and v (bit 1)
    uint32_t white_ = 0;
    std::map<gxCanvas*, std::unique_ptr<CubeCopy>> cubes_;
    int64_t glCalls_ = 0;
};

}  // namespace tarsk
