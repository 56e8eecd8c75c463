// Lazy transforms: moving the root of a 10,000-entity tree 1,000 times, then asking
// one leaf for its world position, costs one marking walk and one chain rebuild.
#include <benchmark/benchmark.h>

#include <vector>

#include "tarsk_commands.h"

namespace tarsk {
bool tarsk3d_create();
void tarsk3d_destroy();
}  // namespace tarsk

namespace {

constexpr int kEntities = 10000;
constexpr int kMoves = 1000;

// A tree of kEntities with the given number of children per entity (1 makes a
// chain); returns the root and sets the last entity created, a deepest leaf.
int32_t buildTree(int32_t branching, int32_t& leaf) {
    std::vector<int32_t> entities{_fcreatepivot(0)};
    entities.reserve(kEntities);
    for (int i = 1; i < kEntities; ++i) {
        int32_t e = _fcreatepivot(entities[size_t((i - 1) / branching)]);
        _fpositionentity(e, 0, 1, 0, 0);
        entities.push_back(e);
    }
    leaf = entities.back();
    return entities.front();
}

void MoveRootThenQueryLeaf(benchmark::State& state) {
    tarsk::tarsk3d_create();
    int32_t leaf = 0;
    int32_t root = buildTree(int32_t(state.range(0)), leaf);
    float x = 0;
    for (auto _ : state) {
        for (int i = 0; i < kMoves; ++i) _fpositionentity(root, x += 1, 0, 0, 0);
        benchmark::DoNotOptimize(_fentityx(leaf, 1));
    }
    tarsk::tarsk3d_destroy();
}
// Branching 1 is a chain of 10,000 (the longest rebuild); 4 and 16 are bushier trees.
BENCHMARK(MoveRootThenQueryLeaf)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
