// 32-bit address words: records a program holds lie below 4 GiB, so variables, fields,
// array elements and descriptors keep their addresses in 32-bit words.
#pragma once

#include <cstdint>

namespace tarsk {

template <class T>
T* fromWord(uint32_t word) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(word));
}

inline uint32_t toWord(const void* address) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
}

}  // namespace tarsk
