#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "runtime/host/arena.h"

using namespace tarsk;

TEST(Arena, BlocksLieBelow2GiBAndComeBackZeroed) {
    for (size_t size : {1u, 16u, 48u, 200u, 4000u, 70000u, 5000000u}) {
        auto* block = static_cast<unsigned char*>(arenaAlloc(size));
        ASSERT_NE(block, nullptr);
        EXPECT_LT(reinterpret_cast<uintptr_t>(block) + size, uintptr_t(1) << 31);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u);
        for (size_t i = 0; i < size; ++i) ASSERT_EQ(block[i], 0) << size;
        std::memset(block, 0xAB, size);
        arenaFree(block, size);
        auto* again = static_cast<unsigned char*>(arenaAlloc(size));
        for (size_t i = 0; i < size; ++i) ASSERT_EQ(again[i], 0) << size;
        arenaFree(again, size);
    }
}

TEST(Arena, ReallocKeepsContentsAndZeroesGrowth) {
    size_t size = 20;
    auto* block = static_cast<unsigned char*>(arenaAlloc(size));
    std::memset(block, 7, size);
    for (size_t next : {30u, 1000u, 100000u, 10u}) {
        block = static_cast<unsigned char*>(arenaRealloc(block, size, next));
        ASSERT_NE(block, nullptr);
        for (size_t i = 0; i < next; ++i) ASSERT_EQ(block[i], i < 20 ? 7 : 0) << next;
        size = next;
    }
    arenaFree(block, size);
}

TEST(Arena, HandlesRoundTripAndThreadsShareTheArena) {
    struct Record {
        int32_t value;
    };
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&failures, t] {
            std::vector<Record*> records;
            for (int i = 0; i < 5000; ++i) records.push_back(arenaNew<Record>(Record{t * 100000 + i}));
            for (int i = 0; i < 5000; ++i) {
                Record* r = fromHandle<Record>(handleOf(records[i]));
                if (r != records[i] || r->value != t * 100000 + i) ++failures;
                arenaDelete(r);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
}
