#include "runtime/host/arena.h"

#include <sys/mman.h>

#include <atomic>
#include <cstring>

namespace tarsk {
namespace {

constexpr std::size_t kChunkSize = std::size_t(1) << 20;   // low memory taken from the system at a time
constexpr std::size_t kSmallStep = 16;                      // classes 16, 32, ..., 256
constexpr std::size_t kSmallLimit = 256;
constexpr std::size_t kMediumLimit = std::size_t(1) << 16;  // classes 512, 1024, ..., 64 KiB
constexpr int kSmallClasses = kSmallLimit / kSmallStep;
constexpr int kClassCount = kSmallClasses + 8;
constexpr uintptr_t kLowLimit = uintptr_t(1) << 31;

class SpinLock {
public:
    void lock() {
        while (flag_.test_and_set(std::memory_order_acquire)) flag_.wait(true, std::memory_order_relaxed);
    }
    void unlock() {
        flag_.clear(std::memory_order_release);
        flag_.notify_one();
    }

private:
    std::atomic_flag flag_;
};

struct FreeBlock {
    FreeBlock* next;
};

struct SizeClass {
    SpinLock lock;
    FreeBlock* free = nullptr;
};

SizeClass classes[kClassCount];
SpinLock chunkLock;
char* chunkCursor = nullptr;
char* chunkEnd = nullptr;
std::atomic<std::size_t> bytesInUse{0};

void* mapLow(std::size_t bytes) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    if (reinterpret_cast<uintptr_t>(p) + bytes > kLowLimit) {
        munmap(p, bytes);
        return nullptr;
    }
    return p;
}

std::size_t pageRound(std::size_t size) { return (size + 4095) & ~std::size_t(4095); }

int classOf(std::size_t size) {
    if (size <= kSmallLimit) return size == 0 ? 0 : int((size - 1) / kSmallStep);
    int index = kSmallClasses;
    std::size_t classSize = 512;
    while (classSize < size) {
        classSize <<= 1;
        ++index;
    }
    return index;
}

std::size_t classSize(int index) {
    if (index < kSmallClasses) return std::size_t(index + 1) * kSmallStep;
    return std::size_t(512) << (index - kSmallClasses);
}

// Carves a fresh block of the given class size from the current chunk.
void* carve(std::size_t size) {
    std::lock_guard<SpinLock> guard(chunkLock);
    if (std::size_t(chunkEnd - chunkCursor) < size) {
        // The rest of the old chunk is abandoned; at most one medium block is lost.
        char* chunk = static_cast<char*>(mapLow(kChunkSize));
        if (!chunk) return nullptr;
        chunkCursor = chunk;
        chunkEnd = chunk + kChunkSize;
    }
    void* block = chunkCursor;
    chunkCursor += size;
    return block;
}

}  // namespace

void* arenaAlloc(std::size_t size) {
    if (size > kMediumLimit) {
        void* p = mapLow(pageRound(size));
        if (p) bytesInUse.fetch_add(pageRound(size), std::memory_order_relaxed);
        return p;
    }
    int index = classOf(size);
    std::size_t blockSize = classSize(index);
    SizeClass& sc = classes[index];
    void* block = nullptr;
    {
        std::lock_guard<SpinLock> guard(sc.lock);
        if (sc.free) {
            block = sc.free;
            sc.free = sc.free->next;
        }
    }
    if (block) {
        std::memset(block, 0, blockSize);
    } else {
        block = carve(blockSize);
        if (!block) return nullptr;
    }
    bytesInUse.fetch_add(blockSize, std::memory_order_relaxed);
    return block;
}

void arenaFree(void* block, std::size_t size) {
    if (!block) return;
    if (size > kMediumLimit) {
        munmap(block, pageRound(size));
        bytesInUse.fetch_sub(pageRound(size), std::memory_order_relaxed);
        return;
    }
    int index = classOf(size);
    SizeClass& sc = classes[index];
    auto* freed = static_cast<FreeBlock*>(block);
    {
        std::lock_guard<SpinLock> guard(sc.lock);
        freed->next = sc.free;
        sc.free = freed;
    }
    bytesInUse.fetch_sub(classSize(index), std::memory_order_relaxed);
}

void* arenaRealloc(void* block, std::size_t oldSize, std::size_t newSize) {
    if (!block) return arenaAlloc(newSize);
    bool sameClass = oldSize <= kMediumLimit ? newSize <= kMediumLimit && classOf(oldSize) == classOf(newSize)
                                             : newSize > kMediumLimit && pageRound(oldSize) == pageRound(newSize);
    if (sameClass) {
        if (newSize < oldSize) std::memset(static_cast<char*>(block) + newSize, 0, oldSize - newSize);
        return block;
    }
    void* moved = arenaAlloc(newSize);
    if (!moved) return nullptr;
    std::memcpy(moved, block, oldSize < newSize ? oldSize : newSize);
    arenaFree(block, oldSize);
    return moved;
}

std::size_t arenaBytesInUse() { return bytesInUse.load(std::memory_order_relaxed); }

}  // namespace tarsk
