// Building a 100,352-triangle grid mesh vertex by vertex through the surface commands
// (with and without uploading it into a driver mesh), against filling plain vectors with
// the same vertices and triangles.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "runtime/engine3d/mesh.h"
#include "runtime/graphics/display_modes.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"
#include "tarsk_commands.h"

namespace tarsk {
bool tarsk3d_create();
void tarsk3d_destroy();
}  // namespace tarsk

namespace {

constexpr int32_t kSide = 225;  // vertices per grid row: 2 × 224² triangles

template <class AddVertex, class AddTriangle>
void buildGrid(AddVertex addVertex, AddTriangle addTriangle) {
    for (int32_t z = 0; z < kSide; ++z)
        for (int32_t x = 0; x < kSide; ++x) addVertex(float(x), 0.0f, float(z), float(x) / kSide, float(z) / kSide);
    for (int32_t z = 0; z + 1 < kSide; ++z) {
        for (int32_t x = 0; x + 1 < kSide; ++x) {
            int32_t a = z * kSide + x, b = a + 1, c = a + kSide, d = c + 1;
            addTriangle(a, c, d);
            addTriangle(a, d, b);
        }
    }
}

// Argument 1 uploads the surface after building it, 0 only builds it.
void BuildThroughCommands(benchmark::State& state) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    tarsk::gxHost* host = tarsk::gxHost::create(nullptr, "", nullptr);
    auto* display = tarsk::arenaNew<tarsk::gxDisplay>(*host, tarsk::kWindowed, 64, 48,
                                                      tarsk::gxPixelFormat::of(tarsk::PixelLayout::kX8R8G8B8),
                                                      int32_t(tarsk::GRAPHICS_WINDOWED));
    if (!display->glDevice()) state.SkipWithError("no GL context");
    tarsk::tarsk3d_create();
    for (auto _ : state) {
        int32_t mesh = _fcreatemesh(0);
        int32_t surface = _fcreatesurface(mesh, 0);
        buildGrid([&](float x, float y, float z, float u, float v) { _faddvertex(surface, x, y, z, u, v, 1); },
                  [&](int32_t a, int32_t b, int32_t c) { _faddtriangle(surface, a, b, c); });
        if (state.range(0))
            benchmark::DoNotOptimize(tarsk::fromHandle<tarsk::MeshSurface>(surface)->driverMesh(*display));
        _ffreeentity(mesh);
    }
    tarsk::tarsk3d_destroy();
    tarsk::arenaDelete(display);
    delete host;
}
BENCHMARK(BuildThroughCommands)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void FillPlainVectors(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<tarsk::Vertex> vertices;
        std::vector<tarsk::Triangle> triangles;
        buildGrid(
            [&](float x, float y, float z, float u, float v) {
                tarsk::Vertex vertex;
                vertex.position = {x, y, z};
                vertex.coords[0][0] = vertex.coords[1][0] = u;
                vertex.coords[0][1] = vertex.coords[1][1] = v;
                vertices.push_back(vertex);
            },
            [&](int32_t a, int32_t b, int32_t c) {
                triangles.push_back({{uint16_t(a), uint16_t(b), uint16_t(c)}});
            });
        benchmark::DoNotOptimize(vertices.data());
        benchmark::DoNotOptimize(triangles.data());
    }
}
BENCHMARK(FillPlainVectors)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
