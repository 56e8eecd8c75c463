// Memory below 2 GiB for every record a program holds by handle.
//
// A handle is the record's address as a 32-bit integer, so string objects, objects,
// banks, streams, timers, canvases, entities and every other handle-bearing record
// are allocated here. Small sizes come from per-size-class free lists (constant time,
// no system call in the common case); large blocks get a mapping of their own.
// All functions are safe to call from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace tarsk {

// Returns zeroed memory aligned to 16 bytes, or nullptr when the low address
// space is exhausted.
void* arenaAlloc(std::size_t size);
// Returns a block to the arena; size must be the size it was allocated with.
void arenaFree(void* block, std::size_t size);
// Grows or shrinks a block, keeping its first min(oldSize, newSize) bytes; bytes past
// oldSize are zero. Returns nullptr (and keeps the old block) when out of memory.
void* arenaRealloc(void* block, std::size_t oldSize, std::size_t newSize);

// Bytes of low memory currently handed out (for statistics and tests).
std::size_t arenaBytesInUse();

template <class T, class... Args>
T* arenaNew(Args&&... args) {
    void* p = arenaAlloc(sizeof(T));
    if (!p) throw std::bad_alloc();
    return new (p) T(std::forward<Args>(args)...);
}

template <class T>
void arenaDelete(T* record) {
    if (!record) return;
    record->~T();
    arenaFree(record, sizeof(T));
}

// The handle of a record: its address as a 32-bit integer (0 for none).
inline int32_t handleOf(const void* record) {
    return static_cast<int32_t>(reinterpret_cast<uintptr_t>(record));
}

template <class T>
T* fromHandle(int32_t handle) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(static_cast<uint32_t>(handle)));
}

}  // namespace tarsk
