// RenderWorld against raw GL drawing the same driver meshes with the same shader program,
// in one run on the same 640 x 480 target: a static scene of 10,000 cubes, and one of 200
// large textured alpha quads drawn back to front. Counters: GL calls per frame, and the
// lit pixels of the last frame (equal on both sides when they draw the same picture).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "runtime/engine3d/entity_lifecycle.h"
#include "runtime/engine3d/gl_scene3d.h"
#include "runtime/engine3d/mesh.h"
#include "runtime/engine3d/mesh_builders.h"
#include "runtime/engine3d/scene_context.h"
#include "runtime/engine3d/scene_shader.h"
#include "runtime/engine3d/texture.h"
#include "runtime/engine3d/world.h"
#include "runtime/graphics/display_modes.h"
#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gl_device.h"
#include "runtime/graphics/gl_sync.h"
#include "runtime/graphics/graphics_state.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/graphics/gx_mesh.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"
#include "tarsk_commands.h"

using namespace tarsk;
using math3d::Transform;

namespace {

constexpr int kWidth = 640, kHeight = 480;

// One display with a GL scene, a camera looking along +z and the back canvas as target.
struct Stage {
    Stage() {
        unsetenv("DISPLAY");
        host = gxHost::create(nullptr, "", nullptr);
        display = arenaNew<gxDisplay>(*host, kWindowed, kWidth, kHeight, gxPixelFormat::of(PixelLayout::kX8R8G8B8),
                                      int32_t(GRAPHICS_WINDOWED));
        auto gl = GlScene3D::create(*display->glDevice());
        scene = gl.get();
        openSceneWith(std::move(gl), display);
        graphicsState().display = display;
        graphicsState().buffer = display->backCanvas();
        camera = new Camera(*currentWorld(), {0, 0, kWidth, kHeight});
        finishCreation(camera, nullptr);
    }
    ~Stage() {
        closeScene3D();
        for (auto release : graphicsState().beforeModeChange) release();
        graphicsState().buffer = nullptr;
        graphicsState().display = nullptr;
        arenaDelete(display);
        delete host;
    }
    gxHost* host;
    gxDisplay* display;
    GlScene3D* scene;
    Camera* camera;
};

// The scene program compiled on its own, as a hand-written GL renderer would use it.
struct RawProgram {
    RawProgram() {
        auto compile = [](GLenum kind, const std::string& text) {
            GLuint s = glCreateShader(kind);
            const char* t = text.c_str();
            glShaderSource(s, 1, &t, nullptr);
            glCompileShader(s);
            return s;
        };
        id = glCreateProgram();
        GLuint vs = compile(GL_VERTEX_SHADER, sceneVertexShaderSource());
        GLuint fs = compile(GL_FRAGMENT_SHADER, sceneFragmentShaderSource());
        glAttachShader(id, vs);
        glAttachShader(id, fs);
        glLinkProgram(id);
        glDeleteShader(vs);
        glDeleteShader(fs);
        worldView = glGetUniformLocation(id, "uWorldView");
        normal = glGetUniformLocation(id, "uNormalMatrix");
        glUseProgram(id);
        float projection[16] = {};
        float w = 2.0f, h = w * kHeight / kWidth, n = 1, f = 1000;
        projection[0] = 2 * n / w;
        projection[5] = -2 * n / h;
        projection[10] = 2 * f / (f - n) - 1;
        projection[11] = 1;
        projection[14] = -2 * n * f / (f - n);
        glUniformMatrix4fv(glGetUniformLocation(id, "uProjection"), 1, GL_FALSE, projection);
        glUniform1i(glGetUniformLocation(id, "uLighting"), 1);
        glUniform3f(glGetUniformLocation(id, "uAmbient"), 0.5f, 0.5f, 0.5f);
        glUniform4f(glGetUniformLocation(id, "uMatDiffuse"), 1, 1, 1, 0.5f);
        glUniform3f(glGetUniformLocation(id, "uMatAmbient"), 1, 1, 1);
        glUniform1f(glGetUniformLocation(id, "uFogFar"), 1000);
        // 2D and cube samplers on units of their own, as the scene has them.
        GLint units[8] = {0, 1, 2, 3, 4, 5, 6, 7}, cubeUnits[8] = {8, 9, 10, 11, 12, 13, 14, 15};
        glUniform1iv(glGetUniformLocation(id, "uTexture"), 8, units);
        glUniform1iv(glGetUniformLocation(id, "uCubeTexture"), 8, cubeUnits);
    }
    ~RawProgram() { glDeleteProgram(id); }
    void useTexture(GLuint texture) {
        glUniform1i(glGetUniformLocation(id, "uStageCount"), 1);
        GLint ops[8] = {2, 2, 2, 2, 2, 2, 2, 2}, alpha[8] = {};
        glUniform1iv(glGetUniformLocation(id, "uColourOp"), 8, ops);
        glUniform1iv(glGetUniformLocation(id, "uAlphaOp"), 8, alpha);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
    }
    GLuint id;
    GLint worldView, normal;
};

void toGl(const Transform& t, float out[16]) {
    const math3d::Vec3* axes[4] = {&t.m.i, &t.m.j, &t.m.k, &t.t};
    for (int c = 0; c < 4; ++c) {
        out[c * 4 + 0] = axes[c]->x;
        out[c * 4 + 1] = axes[c]->y;
        out[c * 4 + 2] = axes[c]->z;
        out[c * 4 + 3] = c == 3 ? 1.0f : 0.0f;
    }
}

// Draws each model's first surface with its own transform, one uniform pair and one draw
// call per model.
int64_t drawRaw(Stage& stage, RawProgram& program, const std::vector<Mesh*>& models, bool blended) {
    Surface& target = stage.display->backCanvas()->currentSurface();
    beginRender(*stage.display->glDevice(), target);
    glUseProgram(program.id);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glDepthMask(GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    int64_t calls = 9;
    if (blended) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        calls += 3;
    } else {
        glDisable(GL_BLEND);
        ++calls;
    }
    Transform toCamera = math3d::inverse(stage.camera->worldTransform());
    GLuint bound = 0;
    for (Mesh* model : models) {
        MeshSurface* surface = model->geometry().surfaces()[0];
        gxMesh* mesh = surface->driverMesh(*stage.display);
        Transform worldView = math3d::compose(toCamera, model->worldTransform());
        float m[16];
        toGl(worldView, m);
        float n[9] = {worldView.m.i.x, worldView.m.i.y, worldView.m.i.z, worldView.m.j.x, worldView.m.j.y,
                      worldView.m.j.z, worldView.m.k.x, worldView.m.k.y, worldView.m.k.z};
        glUniformMatrix4fv(program.worldView, 1, GL_FALSE, m);
        glUniformMatrix3fv(program.normal, 1, GL_FALSE, n);
        if (mesh->vertexArray() != bound) {
            bound = mesh->vertexArray();
            glBindVertexArray(bound);
            ++calls;
        }
        glDrawElements(GL_TRIANGLES, surface->uploadedTriangles() * 3, GL_UNSIGNED_SHORT, nullptr);
        calls += 3;
    }
    glBindVertexArray(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    endRender(target);
    return calls + 2;
}

std::vector<Mesh*> cubeGrid(World& world) {
    std::vector<Mesh*> cubes;
    Mesh* first = new Mesh(world);
    buildCube(first->geometry());
    finishCreation(first, nullptr);
    cubes.push_back(first);
    for (int i = 1; i < 10000; ++i) cubes.push_back(static_cast<Mesh*>(finishCreation(copySubtree(first), nullptr)));
    for (int i = 0; i < 10000; ++i) cubes[size_t(i)]->setLocalPosition({float(i % 100 - 50) * 3, float(i / 100 - 50) * 3, 200});
    return cubes;
}

// 200 quads each covering the view, farthest last in creation order, textured and half
// transparent.
std::vector<Mesh*> alphaQuads(World& world, TextureRep* texture) {
    std::vector<Mesh*> quads;
    for (int i = 0; i < 200; ++i) {
        Mesh* quad = new Mesh(world);
        MeshSurface* s = quad->geometry().createSurface(Brush());
        s->addVertex({-30, 30, 0}, 0, 0);
        s->addVertex({30, 30, 0}, 1, 0);
        s->addVertex({30, -30, 0}, 1, 1);
        s->addVertex({-30, -30, 0}, 0, 1);
        s->addTriangle(0, 1, 2);
        s->addTriangle(0, 2, 3);
        quad->brush.setAlpha(0.5f);
        quad->brush.setTexture(0, texture, 0);
        quad->brushChanged = true;
        finishCreation(quad, nullptr);
        quad->setLocalPosition({0, 0, 10 + float(i) * 0.1f});
        quads.push_back(quad);
    }
    return quads;
}

int64_t litPixels(Stage& stage) {
    gxCanvas* c = stage.display->backCanvas();
    int64_t n = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) n += (c->peekPixel(x, y) & 0xFFFFFF) != 0;
    return n;
}

void finishFrame(benchmark::State& state, int64_t calls) {
    glFinish();
    state.counters["gl_calls_per_frame"] = benchmark::Counter(double(calls));
}

void BM_RenderWorld_Cubes(benchmark::State& state) {
    Stage stage;
    cubeGrid(*currentWorld());
    for (auto _ : state) {
        int64_t before = stage.scene->glCalls();
        _frenderworld(1);
        finishFrame(state, stage.scene->glCalls() - before);
    }
    state.counters["lit_pixels"] = double(litPixels(stage));
}

void BM_RawGl_Cubes(benchmark::State& state) {
    Stage stage;
    std::vector<Mesh*> cubes = cubeGrid(*currentWorld());
    _frenderworld(1);  // uploads the driver meshes
    RawProgram program;
    for (auto _ : state) finishFrame(state, drawRaw(stage, program, cubes, false));
    state.counters["lit_pixels"] = double(litPixels(stage));
}

TextureRep* quadTexture() {
    TextureRep* texture = createTexture(256, 256, 1, 1);
    gxCanvas* canvas = texture->frame(0);
    for (int y = 0; y < 256; y += 4)
        for (int x = 0; x < 256; x += 4) canvas->pokePixel(x, y, 0xFF000000u | uint32_t(x << 16) | uint32_t(y << 8));
    return texture;
}

void BM_RenderWorld_AlphaQuads(benchmark::State& state) {
    Stage stage;
    TextureRep* texture = quadTexture();
    alphaQuads(*currentWorld(), texture);
    for (auto _ : state) {
        int64_t before = stage.scene->glCalls();
        _frenderworld(1);
        finishFrame(state, stage.scene->glCalls() - before);
    }
    texture->release();
}

void BM_RawGl_AlphaQuads(benchmark::State& state) {
    Stage stage;
    TextureRep* texture = quadTexture();
    std::vector<Mesh*> quads = alphaQuads(*currentWorld(), texture);
    _frenderworld(1);
    std::vector<Mesh*> backToFront(quads.rbegin(), quads.rend());
    RawProgram program;
    program.useTexture(textureOf(*stage.display->glDevice(), texture->frame(0)->renderSurface()));
    for (auto _ : state) finishFrame(state, drawRaw(stage, program, backToFront, true));
    texture->release();
}

// Wall-clock time: the GL driver's threads do most of the work.
BENCHMARK(BM_RenderWorld_Cubes)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_RawGl_Cubes)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_RenderWorld_AlphaQuads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_RawGl_AlphaQuads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
