// Compile times of a large generated program, and run times of Basic programs
// against the same algorithms in C++.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <list>
#include <string>
#include <vector>

#include "compiler/codegen/compile_program.h"
#include "compiler/frontend/program_loader.h"
#include "compiler/codegen/c_generation.h"
#include "runtime/host/registry.h"

namespace fs = std::filesystem;
using namespace tarsk::compiler;

namespace {

const fs::path kWork = fs::temp_directory_path() / ("tarsk-compiler-bench-" + std::to_string(getpid()));

const CommandTable& commands() {
    static const CommandTable table = [] {
        CommandTable t;
        for (const tarsk::Registration& r : tarsk::allRegistrations()) t.add(r.signature);
        return t;
    }();
    return table;
}

// A program of about 30,000 lines: a main file including 10 files of 30 functions,
// each about 100 lines of loops, conditions, strings, arrays and objects.
std::string function(int file, int index, int variant) {
    std::string name = "f" + std::to_string(file) + "_" + std::to_string(index);
    std::string s = "Function " + name + "%(n%, scale# = 1.5)\n  Local total = " + std::to_string(variant) + ", text$ = \"\"\n";
    for (int block = 0; block < 8; ++block) {
        s += "  For i = 1 To n\n    If i Mod 3 = " + std::to_string(block % 3) + " Then\n      total = total + i * " +
             std::to_string(block + 1) + "\n    ElseIf i > 100\n      total = total - 1\n    Else\n      text = text + Chr(65 + i)\n    EndIf\n";
        s += "    table(i And 255) = table(i And 255) + total\n    Select i And 3\n      Case 0 : total = total Xor 5\n      Case 1, 2 : total = total + Len(text)\n      Default : total = total * 2\n    End Select\n  Next\n";
    }
    s += "  For p.Entry = Each Entry\n    total = total + p\\value\n  Next\n  Return total * scale\nEnd Function\n";
    return s;
}

void writeProgram(const fs::path& folder, int variant) {
    fs::create_directories(folder);
    std::ofstream main(folder / "main.tb");
    main << "Type Entry\n  Field value\n  Field name$\nEnd Type\nDim table(255)\n";
    for (int file = 0; file < 10; ++file) {
        main << "Include \"part" << file << ".tb\"\n";
        std::ofstream part(folder / ("part" + std::to_string(file) + ".tb"));
        for (int index = 0; index < 30; ++index) part << function(file, index, file == 0 && index == 0 ? variant : 0);
    }
    main << "DebugLog f0_0(10)\n";
}

size_t lineCount(const fs::path& folder) {
    size_t lines = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path());
        lines += size_t(std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
    }
    return lines;
}

void BM_FrontEnd30kLines(benchmark::State& state) {
    fs::path folder = kWork / "large";
    writeProgram(folder, 1);
    for (auto _ : state) {
        SourceFiles files;
        auto program = loadProgram(files, (folder / "main.tb").string(), LoadOptions{}, commands());
        benchmark::DoNotOptimize(generateUnits(*program, files, CodegenOptions{}));
    }
    state.counters["lines"] = double(lineCount(folder));
}
BENCHMARK(BM_FrontEnd30kLines)->Unit(benchmark::kMillisecond);

CompileOptions cachedIn(const fs::path& cache) {
    CompileOptions options;
    options.native.cacheFolder = cache.string();
    return options;
}

void BM_FullBuild30kLines(benchmark::State& state) {
    fs::path folder = kWork / "large";
    writeProgram(folder, 1);
    for (auto _ : state) {
        fs::remove_all(kWork / "cold-cache");
        CompileResult result = compileProgram((folder / "main.tb").string(), commands(), cachedIn(kWork / "cold-cache"));
        if (!result.ok) state.SkipWithError(result.error.c_str());
        state.counters["front_end_s"] = result.frontEndSeconds + result.generateSeconds;
        state.counters["c_compiler_s"] = result.nativeSeconds;
        state.counters["units"] = result.compiledUnits;
    }
}
BENCHMARK(BM_FullBuild30kLines)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RebuildAfterOneLineChange(benchmark::State& state) {
    fs::path folder = kWork / "large";
    writeProgram(folder, 1);
    compileProgram((folder / "main.tb").string(), commands(), cachedIn(kWork / "warm-cache"));
    int variant = 2;
    for (auto _ : state) {
        state.PauseTiming();
        writeProgram(folder, variant++);
        state.ResumeTiming();
        CompileResult result = compileProgram((folder / "main.tb").string(), commands(), cachedIn(kWork / "warm-cache"));
        if (!result.ok) state.SkipWithError(result.error.c_str());
        state.counters["recompiled_units"] = result.compiledUnits;
        state.counters["reused_units"] = result.reusedUnits;
    }
}
BENCHMARK(BM_RebuildAfterOneLineChange)->Unit(benchmark::kMillisecond)->Iterations(3);

// Run times: each Basic kernel logs its own milliseconds; the C++ twin runs here.
double runBasicKernel(const std::string& name, std::string& result) {
    fs::path image = kWork / (name + ".tbm");
    std::string tarsk = fs::read_symlink("/proc/self/exe").parent_path() / "tarsk";
    std::string compile = tarsk + " compile " + TARSK_BENCH_KERNELS + "/" + name + ".tb -o " + image.string();
    if (std::system(compile.c_str()) != 0) return -1;
    std::string run = tarsk + " run --debug " + image.string();
    FILE* pipe = popen(run.c_str(), "r");
    if (!pipe) return -1;
    char line[256] = {};
    double millis = -1;
    if (std::fgets(line, sizeof line, pipe)) {
        char value[200] = {};
        if (std::sscanf(line, "%lf %199s", &millis, value) == 2) result = value;
    }
    pclose(pipe);
    return millis;
}

void basicKernel(benchmark::State& state, const char* name) {
    fs::create_directories(kWork);
    for (auto _ : state) {
        std::string result;
        double millis = runBasicKernel(name, result);
        if (millis < 0) state.SkipWithError("the Basic kernel failed");
        state.SetIterationTime(millis / 1000);
        state.SetLabel("result " + result);
    }
}

template <typename Kernel>
void cppKernel(benchmark::State& state, Kernel kernel) {
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        auto result = kernel();
        benchmark::DoNotOptimize(result);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.SetLabel("result " + std::to_string(result));
    }
}

int32_t __attribute__((noinline)) intLoop(int32_t n) {
    uint32_t sum = 0;
    for (int32_t i = 1; i <= n; ++i) sum += uint32_t(int32_t(uint32_t(i) * uint32_t(i)) % 7 + int32_t(uint32_t(i) >> 3));
    return int32_t(sum);
}

float __attribute__((noinline)) floatLoop(int32_t n) {
    float x = 0, y = 1;
    for (int32_t i = 1; i <= n; ++i) {
        x = x * 0.999f + y;
        y = y * 0.5f + 0.25f;
    }
    return x + y;
}

int32_t __attribute__((noinline)) arraySum(int32_t rounds) {
    std::vector<int32_t> values(1000000);
    for (int32_t i = 0; i < 1000000; ++i) values[size_t(i)] = i & 255;
    uint32_t sum = 0;
    for (int32_t r = 0; r < rounds; ++r)
        for (int32_t i = 0; i < 1000000; ++i) sum += uint32_t(values[size_t(i)]);
    return int32_t(sum);
}

size_t __attribute__((noinline)) stringBuilding(int32_t n) {
    std::string text;
    for (int32_t i = 1; i <= n; ++i) {
        text = text + char(65 + i % 26);
        if (text.size() > 1000) text.clear();
    }
    return text.size();
}

int32_t __attribute__((noinline)) objectWalk(int32_t count, int32_t rounds) {
    struct Node {
        int32_t value;
        float weight;
    };
    std::list<Node> nodes;
    for (int32_t i = 1; i <= count; ++i) nodes.push_back({i & 1023, 0});
    uint32_t sum = 0;
    for (int32_t r = 0; r < rounds; ++r)
        for (const Node& n : nodes) sum += uint32_t(n.value);
    return int32_t(sum);
}

BENCHMARK_CAPTURE(basicKernel, int_loop, "int_loop")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(cppKernel, int_loop, [] { return intLoop(200000000); })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(basicKernel, float_loop, "float_loop")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(cppKernel, float_loop, [] { return floatLoop(200000000); })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(basicKernel, array_sum, "array_sum")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(cppKernel, array_sum, [] { return arraySum(200); })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(basicKernel, string_building, "string_building")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(cppKernel, string_building, [] { return stringBuilding(5000000); })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(basicKernel, object_walk, "object_walk")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(cppKernel, object_walk, [] { return objectWalk(100000, 300); })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(kWork);
    return 0;
}
