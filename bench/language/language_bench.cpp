// Pooled strings and objects against the standard library, in the same run.
// Each pooled benchmark reports heap_calls: calls of operator new per iteration.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "heap_counter.h"
#include "runtime/host/arena.h"
#include "runtime/language/objects.h"
#include "runtime/language/strings.h"
#include "runtime/language/words.h"

using namespace tarsk;

namespace {

void reportHeapCalls(benchmark::State& state, uint64_t before) {
    state.counters["heap_calls"] =
        benchmark::Counter(double(bench::heapCalls() - before), benchmark::Counter::kAvgIterations);
}

// A short string made, joined with another and released, as for every string expression.
void PooledShortStrings(benchmark::State& state) {
    stringsCreate();
    uint64_t before = bench::heapCalls();
    for (auto _ : state) {
        tbString* joined = __tbStrConcat(__tbStrConst("name"), __tbStrConst("42"));
        benchmark::DoNotOptimize(joined);
        __tbStrRelease(joined);
    }
    reportHeapCalls(state, before);
}
BENCHMARK(PooledShortStrings);

void StdShortStrings(benchmark::State& state) {
    const char* name = "name";
    const char* number = "42";
    for (auto _ : state) {
        benchmark::DoNotOptimize(name);
        benchmark::DoNotOptimize(number);
        std::string joined(name);
        joined += std::string(number);
        benchmark::DoNotOptimize(joined.data());
    }
}
BENCHMARK(StdShortStrings);

// A type of five integer fields, its descriptor below 4 GiB as compiled code has it.
tbObjType* fiveFieldType() {
    static tbObjType* type = [] {
        auto* words = static_cast<uint32_t*>(arenaAlloc(sizeof(tbObjType) + 5 * 4));
        auto* t = reinterpret_cast<tbObjType*>(words);
        t->tag = kObjectTag;
        t->used = {0, toWord(&t->used), toWord(&t->used), 0, -1};
        t->free = {0, toWord(&t->free), toWord(&t->free), 0, -1};
        t->fieldCount = 5;
        for (int i = 0; i < 5; ++i) words[12 + i] = toWord(&__tbIntType);
        return t;
    }();
    return type;
}

struct FiveFields {
    uint32_t header[5];
    int32_t fields[5];
};

void PooledObjectNewDelete(benchmark::State& state) {
    tbObjType* type = fiveFieldType();
    __tbObjDelete(__tbObjNew(type));  // the first block
    uint64_t before = bench::heapCalls();
    for (auto _ : state) {
        tbObject* object = __tbObjNew(type);
        benchmark::DoNotOptimize(object);
        __tbObjDelete(object);
    }
    reportHeapCalls(state, before);
}
BENCHMARK(PooledObjectNewDelete);

void HeapStructNewDelete(benchmark::State& state) {
    for (auto _ : state) {
        auto* record = new FiveFields{};
        benchmark::DoNotOptimize(record);
        delete record;
    }
}
BENCHMARK(HeapStructNewDelete);

constexpr int kObjects = 100000;

void ForEachCounted(benchmark::State& state) {
    tbObjType* type = fiveFieldType();
    __tbObjDeleteEach(type);
    for (int i = 0; i < kObjects; ++i) reinterpret_cast<int32_t*>(__tbObjNew(type) + 1)[0] = i;
    uint64_t before = bench::heapCalls();
    for (auto _ : state) {
        uint32_t variable = 0;
        int64_t sum = 0;
        for (int32_t more = __tbObjEachFirst(&variable, type); more; more = __tbObjEachNext(&variable))
            sum += fromWord<int32_t>(fromWord<tbObject>(variable)->fields)[0];
        benchmark::DoNotOptimize(sum);
    }
    reportHeapCalls(state, before);
    __tbObjDeleteEach(type);
}
BENCHMARK(ForEachCounted);

void ForEachUncounted(benchmark::State& state) {
    tbObjType* type = fiveFieldType();
    __tbObjDeleteEach(type);
    for (int i = 0; i < kObjects; ++i) reinterpret_cast<int32_t*>(__tbObjNew(type) + 1)[0] = i;
    for (auto _ : state) {
        uint32_t variable = 0;
        int64_t sum = 0;
        for (int32_t more = __tbObjEachFirst2(&variable, type); more; more = __tbObjEachNext2(&variable))
            sum += fromWord<int32_t>(fromWord<tbObject>(variable)->fields)[0];
        benchmark::DoNotOptimize(sum);
    }
    __tbObjDeleteEach(type);
}
BENCHMARK(ForEachUncounted);

void VectorWalk(benchmark::State& state) {
    std::vector<FiveFields> records(kObjects);
    for (int i = 0; i < kObjects; ++i) records[size_t(i)].fields[0] = i;
    for (auto _ : state) {
        int64_t sum = 0;
        for (const FiveFields& record : records) sum += record.fields[0];
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(VectorWalk);

}  // namespace

BENCHMARK_MAIN();
