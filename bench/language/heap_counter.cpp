#include "heap_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<uint64_t> calls{0};

}  // namespace

namespace bench {

uint64_t heapCalls() { return calls.load(std::memory_order_relaxed); }

}  // namespace bench

void* operator new(std::size_t size) {
    calls.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
