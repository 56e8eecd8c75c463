// Picks through the collision tree against the same picks testing every triangle, on a
// sphere mesh of 39,600 triangles and on a mesh of 500 quads: LinePick along random
// lines through the mesh, and CameraPick through random pixels of a 640 × 480 view.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "runtime/engine3d/camera.h"
#include "runtime/engine3d/collision_tree.h"
#include "runtime/engine3d/mesh.h"
#include "runtime/engine3d/projection.h"
#include "runtime/engine3d/swept_sphere.h"
#include "runtime/host/arena.h"
#include "tarsk_commands.h"

namespace tarsk {
bool tarsk3d_create();
void tarsk3d_destroy();
}  // namespace tarsk

namespace {

using tarsk::math3d::Vec3;

constexpr int kLines = 256;

// The sphere of 100 segments (4 · 100 · 99 triangles), radius 10, at z = 30.
int32_t sphereMesh() {
    int32_t mesh = _fcreatesphere(100, 0);
    _fscaleentity(mesh, 10, 10, 10, 0);
    _fpositionentity(mesh, 0, 0, 30, 0);
    return mesh;
}

// 25 × 20 quads of 1.6 × 1.6 on a 2-unit grid facing the camera, at z = 30.
int32_t quadMesh() {
    int32_t mesh = _fcreatemesh(0);
    int32_t surface = _fcreatesurface(mesh, 0);
    for (int row = 0; row < 20; ++row) {
        for (int column = 0; column < 25; ++column) {
            float x = float(column) * 2 - 25, y = float(row) * 2 - 20;
            int32_t v = _faddvertex(surface, x, y + 1.6f, 0, 0, 0, 1);
            _faddvertex(surface, x + 1.6f, y + 1.6f, 0, 0, 0, 1);
            _faddvertex(surface, x + 1.6f, y, 0, 0, 0, 1);
            _faddvertex(surface, x, y, 0, 0, 0, 1);
            _faddtriangle(surface, v, v + 1, v + 2);
            _faddtriangle(surface, v, v + 2, v + 3);
        }
    }
    _fpositionentity(mesh, 0, 0, 30, 0);
    return mesh;
}

struct Scene {
    int32_t mesh = 0, camera = 0;
    std::vector<tarsk::SweptSphere> lines;
    std::vector<Vec3> pixels;
};

Scene makeScene(bool sphere) {
    tarsk::tarsk3d_create();
    Scene scene;
    scene.mesh = sphere ? sphereMesh() : quadMesh();
    _fentitypickmode(scene.mesh, 2, 1);
    tarsk::fromHandle<tarsk::Entity>(scene.mesh)->asModel()->asMesh()->geometry().collisionTree();  // built up front
    scene.camera = _fcreatecamera(0);
    _fcameraviewport(scene.camera, 0, 0, 640, 480);
    std::mt19937 random(1);
    std::uniform_real_distribution<float> spread(-12, 12), x(0, 640), y(0, 480);
    for (int i = 0; i < kLines; ++i) {
        Vec3 from{spread(random), spread(random), 0}, to{spread(random), spread(random), 60};
        scene.lines.push_back({from, to - from, 0});
        scene.pixels.push_back({x(random), y(random), 0});
    }
    return scene;
}

// Every triangle of the mesh, placed in world space and tested in turn.
int32_t bruteForcePick(int32_t mesh, const tarsk::SweptSphere& line) {
    tarsk::Mesh& m = *tarsk::fromHandle<tarsk::Entity>(mesh)->asModel()->asMesh();
    const tarsk::CollisionTree& tree = m.geometry().collisionTree();
    const tarsk::math3d::Transform& world = m.worldTransform();
    tarsk::CollisionRecord record;
    bool hit = false;
    for (const tarsk::TreeTriangle& t : tree.triangles())
        hit |= tarsk::sweepTriangle(line, applyPoint(world, tree.corner(t, 0)), applyPoint(world, tree.corner(t, 1)),
                                    applyPoint(world, tree.corner(t, 2)), record);
    return hit ? mesh : 0;
}

void LinePick(benchmark::State& state) {
    Scene scene = makeScene(state.range(0));
    bool tree = state.range(1);
    size_t i = 0, hits = 0;
    for (auto _ : state) {
        const tarsk::SweptSphere& l = scene.lines[i++ % kLines];
        int32_t picked = tree ? _flinepick(l.origin.x, l.origin.y, l.origin.z, l.direction.x, l.direction.y,
                                           l.direction.z, 0)
                              : bruteForcePick(scene.mesh, l);
        hits += picked != 0;
    }
    state.counters["hit share"] = double(hits) / double(state.iterations());
    tarsk::tarsk3d_destroy();
}

void CameraPick(benchmark::State& state) {
    Scene scene = makeScene(state.range(0));
    bool tree = state.range(1);
    tarsk::Camera& camera = *tarsk::fromHandle<tarsk::Entity>(scene.camera)->asCamera();
    size_t i = 0, hits = 0;
    for (auto _ : state) {
        Vec3 p = scene.pixels[i++ % kLines];
        int32_t picked = tree ? _fcamerapick(scene.camera, p.x, p.y)
                              : bruteForcePick(scene.mesh, tarsk::cameraLineThrough(camera, p.x, p.y));
        hits += picked != 0;
    }
    state.counters["hit share"] = double(hits) / double(state.iterations());
    tarsk::tarsk3d_destroy();
}

// Arguments: mesh (1 sphere, 0 quads), method (1 tree, 0 every triangle).
BENCHMARK(LinePick)->ArgNames({"sphere", "tree"})->ArgsProduct({{1, 0}, {1, 0}})->Unit(benchmark::kMicrosecond);
BENCHMARK(CameraPick)->ArgNames({"sphere", "tree"})->ArgsProduct({{1, 0}, {1, 0}})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
