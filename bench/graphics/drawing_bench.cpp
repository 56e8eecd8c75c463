// Text of a 100-character line, rectangle and line fills, each beside memset of the same
// pixels in the same run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/graphics/display_modes.h"
#include "runtime/graphics/gx_canvas.h"
#include "runtime/graphics/gx_display.h"
#include "runtime/graphics/gx_font.h"
#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"

using namespace tarsk;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// A full-HD display on a host without a window (the fonts need a display).
struct DisplayFixture {
    gxHost* host;
    gxDisplay* display;
    DisplayFixture() {
        unsetenv("DISPLAY");
        host = gxHost::create(nullptr, "", nullptr);
        display = arenaNew<gxDisplay>(*host, kWindowed, kWidth, kHeight, gxPixelFormat::of(PixelLayout::kX8R8G8B8),
                                      int32_t(GRAPHICS_WINDOWED));
    }
    ~DisplayFixture() {
        arenaDelete(display);
        delete host;
    }
};

void memsetPixels(benchmark::State& state, size_t rows, size_t rowBytes) {
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 4);
    for (auto _ : state) {
        for (size_t y = 0; y < rows; ++y) std::memset(pixels.data() + y * kWidth * 4, 0x5A, rowBytes);
        benchmark::ClobberMemory();
    }
}

const std::string kLine = [] {
    std::string line;
    for (int i = 0; line.size() < 100; ++i) line += "The quick brown fox jumps over the lazy dog. "[i % 45];
    return line;
}();

void BM_Text100Characters(benchmark::State& state) {
    DisplayFixture f;
    gxFont* font = f.display->makeFont("arial", 16, 0);
    gxCanvas* back = f.display->backCanvas();
    back->useFont(font);
    for (auto _ : state) {
        back->drawText(10, 10, kLine);
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = double(font->stringWidth(kLine)) * font->fontHeight();
}
BENCHMARK(BM_Text100Characters)->Unit(benchmark::kMicrosecond);

// The text's cell area (as measured above: width x 16 rows) set with memset.
void BM_Text100CharactersMemset(benchmark::State& state) {
    DisplayFixture f;
    gxFont* font = f.display->makeFont("arial", 16, 0);
    size_t width = size_t(font->stringWidth(kLine));
    memsetPixels(state, size_t(font->fontHeight()), width * 4);
}
BENCHMARK(BM_Text100CharactersMemset)->Unit(benchmark::kMicrosecond);

void BM_RectFill(benchmark::State& state) {
    DisplayFixture f;
    gxCanvas* back = f.display->backCanvas();
    int side = int(state.range(0));
    for (auto _ : state) {
        back->drawRect(0, 0, side, side, true);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(side) * side * 4);
}
BENCHMARK(BM_RectFill)->ArgName("side")->Arg(16)->Arg(256)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_RectFillMemset(benchmark::State& state) {
    size_t side = size_t(state.range(0));
    memsetPixels(state, side, side * 4);
    state.SetBytesProcessed(state.iterations() * int64_t(side) * int64_t(side) * 4);
}
BENCHMARK(BM_RectFillMemset)->ArgName("side")->Arg(16)->Arg(256)->Arg(1000)->Unit(benchmark::kMicrosecond);

// A horizontal line of 1000 pixels, and a diagonal one of the same count.
void BM_LineFill(benchmark::State& state) {
    DisplayFixture f;
    gxCanvas* back = f.display->backCanvas();
    bool diagonal = state.range(0) != 0;
    for (auto _ : state) {
        back->drawLine(0, 0, 999, diagonal ? 999 : 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_LineFill)->ArgName("diagonal")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_LineFillMemset(benchmark::State& state) {
    memsetPixels(state, 1, 1000 * 4);
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_LineFillMemset)->Unit(benchmark::kMicrosecond);

}  // namespace
