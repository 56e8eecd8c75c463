// Canvas pixel writes per format, a full-HD blit against memcpy of the same bytes, and
// the cost per frame of keeping the GL copy of a full-HD canvas in step.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "runtime/graphics/display_modes.h"
#include "runtime/graphics/gl_api.h"
#include "runtime/graphics/gl_device.h"
#include "runtime/graphics/gl_sync.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"

using namespace tarsk;

namespace {

constexpr int kHdWidth = 1920, kHdHeight = 1080;

std::unique_ptr<gxCanvas> canvas(int width, int height, PixelLayout layout) {
    return std::make_unique<gxCanvas>(nullptr, Surface::make(width, height, gxPixelFormat::of(layout), false), 0);
}

// WritePixelFast over 1000 x 1000 pixels of a locked canvas.
void BM_WritePixelFast(benchmark::State& state) {
    auto c = canvas(1000, 1000, PixelLayout(state.range(0)));
    c->beginAccess();
    uint32_t colour = 0x12345678;
    for (auto _ : state) {
        for (int y = 0; y < 1000; ++y)
            for (int x = 0; x < 1000; ++x) c->pokePixelFast(x, y, colour + uint32_t(x));
        benchmark::ClobberMemory();
    }
    c->endAccess();
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_WritePixelFast)
    ->ArgName("layout")
    ->DenseRange(0, int(PixelLayout::kR8G8B8))
    ->Unit(benchmark::kMillisecond);

// ReadPixelFast over the same pixels.
void BM_ReadPixelFast(benchmark::State& state) {
    auto c = canvas(1000, 1000, PixelLayout(state.range(0)));
    c->beginAccess();
    for (auto _ : state) {
        uint32_t sum = 0;
        for (int y = 0; y < 1000; ++y)
            for (int x = 0; x < 1000; ++x) sum += c->peekPixelFast(x, y);
        benchmark::DoNotOptimize(sum);
    }
    c->endAccess();
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_ReadPixelFast)->ArgName("layout")->DenseRange(0, int(PixelLayout::kR8G8B8))->Unit(benchmark::kMillisecond);

void BM_BlitFullHd(benchmark::State& state) {
    auto source = canvas(kHdWidth, kHdHeight, PixelLayout::kX8R8G8B8);
    auto dest = canvas(kHdWidth, kHdHeight, PixelLayout::kX8R8G8B8);
    bool solid = state.range(0) != 0;
    for (auto _ : state) {
        dest->copyArea(0, 0, source.get(), 0, 0, kHdWidth, kHdHeight, solid);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(kHdWidth) * kHdHeight * 4);
}
BENCHMARK(BM_BlitFullHd)->ArgName("solid")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The physical limit: memcpy of the same bytes.
void BM_MemcpyFullHd(benchmark::State& state) {
    std::vector<uint8_t> source(size_t(kHdWidth) * kHdHeight * 4, 1), dest(source.size());
    for (auto _ : state) {
        std::memcpy(dest.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(source.size()));
}
BENCHMARK(BM_MemcpyFullHd)->Unit(benchmark::kMillisecond);

// A full-HD back buffer on a surfaceless GL device.
struct GlFixture {
    gxHost* host = nullptr;
    gxDisplay* display = nullptr;
    GlDevice* gl = nullptr;
    GlFixture() {
        unsetenv("DISPLAY");
        host = gxHost::create(nullptr, "", nullptr);
        display = arenaNew<gxDisplay>(*host, kWindowed, kHdWidth, kHdHeight, gxPixelFormat::of(PixelLayout::kX8R8G8B8),
                                      int32_t(GRAPHICS_WINDOWED));
        gl = display->glDevice();
    }
    ~GlFixture() {
        arenaDelete(display);
        delete host;
    }
};

// A CPU change, then the texture used: one upload a frame.
void BM_SyncUploadFullHd(benchmark::State& state) {
    GlFixture f;
    if (!f.gl) return state.SkipWithError("no GL");
    gxCanvas* back = f.display->backCanvas();
    for (auto _ : state) {
        back->pokePixel(0, 0, 0xFF000000u | uint32_t(state.iterations()));
        textureOf(*f.gl, back->currentSurface());
        glFinish();
    }
}
BENCHMARK(BM_SyncUploadFullHd)->Unit(benchmark::kMillisecond);

// A GL render, then a CPU read: one read-back a frame.
void BM_SyncReadBackFullHd(benchmark::State& state) {
    GlFixture f;
    if (!f.gl) return state.SkipWithError("no GL");
    gxCanvas* back = f.display->backCanvas();
    for (auto _ : state) {
        Surface& surface = back->currentSurface();
        beginRender(*f.gl, surface);
        glClearColor(0.5f, 0.25f, 0.125f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        endRender(surface);
        back->touch({0, 0, kHdWidth, kHdHeight});
        benchmark::DoNotOptimize(back->peekPixel(10, 10));
    }
}
BENCHMARK(BM_SyncReadBackFullHd)->Unit(benchmark::kMillisecond);

// A render with nothing read back and an unchanged store: the sync costs nothing.
void BM_SyncNothingChangedFullHd(benchmark::State& state) {
    GlFixture f;
    if (!f.gl) return state.SkipWithError("no GL");
    Surface& surface = f.display->backCanvas()->currentSurface();
    textureOf(*f.gl, surface);
    for (auto _ : state) benchmark::DoNotOptimize(textureOf(*f.gl, surface));
}
BENCHMARK(BM_SyncNothingChangedFullHd);

}  // namespace

BENCHMARK_MAIN();
