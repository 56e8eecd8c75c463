// Linking a large module image against a plain copy of it, and an idle message pump.
#include <benchmark/benchmark.h>
#include <sys/mman.h>

#include <cstring>

#include "runtime/host/gx_host.h"
#include "runtime/host/module_image.h"

using namespace tarsk;

namespace {

constexpr int kRelocations = 100000;
constexpr int kNames = 2000;
constexpr int kCodeSize = kRelocations * 8;

struct SyntheticImage {
    std::vector<uint8_t> bytes;
    SymbolTable runtime;
};

// Half of the relocations name runtime commands, half the module's own symbols.
const SyntheticImage& syntheticImage() {
    static SyntheticImage built = [] {
        SyntheticImage s;
        ModuleImage image;
        image.code.assign(kCodeSize, 0x90);
        for (int i = 0; i < kNames; ++i) {
            image.defined.push_back({"_fmodule_function_" + std::to_string(i), i * 16});
            s.runtime["_fruntime_command_" + std::to_string(i)] = uint32_t(0x400000 + i * 32);
        }
        for (int i = 0; i < kRelocations; ++i) {
            std::string name = (i % 2 ? "_fruntime_command_" : "_fmodule_function_") + std::to_string(i % kNames);
            (i % 4 < 2 ? image.relative : image.absolute).push_back({name, i * 8});
        }
        s.bytes = serializeImage(image);
        return s;
    }();
    return built;
}

void BM_LinkImage100kRelocations(benchmark::State& state) {
    const SyntheticImage& s = syntheticImage();
    for (auto _ : state) {
        LinkResult r = loadModuleImage(s.bytes, s.runtime);
        benchmark::DoNotOptimize(r.base);
        state.PauseTiming();
        munmap(r.base, r.size);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LinkImage100kRelocations)->Unit(benchmark::kMillisecond);

void BM_CopyImageBaseline(benchmark::State& state) {
    const SyntheticImage& s = syntheticImage();
    for (auto _ : state) {
        void* memory = mmap(nullptr, kCodeSize, PROT_READ | PROT_WRITE | PROT_EXEC,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
        std::memcpy(memory, s.bytes.data() + 4, kCodeSize);
        benchmark::DoNotOptimize(memory);
        state.PauseTiming();
        munmap(memory, kCodeSize);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyImageBaseline)->Unit(benchmark::kMillisecond);

void BM_PumpEventsIdle(benchmark::State& state) {
    gxHost* host = gxHost::create(nullptr, "", nullptr);
    for (auto _ : state) benchmark::DoNotOptimize(host->pumpEvents());
    delete host;
}
BENCHMARK(BM_PumpEventsIdle);

}  // namespace

BENCHMARK_MAIN();
