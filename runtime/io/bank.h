// Banks: resizable blocks of bytes addressed by offset. The record is four 32-bit
// words that outside libraries read (the storage address is the word at handle + 4);
// record and storage lie below 4 GiB.
#pragma once

#include <cstdint>

namespace tarsk {

struct Bank {
    uint32_t kind;      // address of the bank kind descriptor
    uint32_t data;      // address of the storage
    uint32_t size;      // bytes the program may address
    uint32_t capacity;  // bytes allocated: a multiple of 16, at least size

    uint8_t* bytes() const { return reinterpret_cast<uint8_t*>(uintptr_t(data)); }
};
static_assert(sizeof(Bank) == 16);

// nullptr when the low memory is exhausted.
Bank* bankNew(int32_t size);
void bankFree(Bank* bank);
// The capacity rule: within capacity the size moves and the added bytes are zeroed;
// beyond it the capacity grows by half (at least to size), rounded up to 16.
// False (bank unchanged) when the low memory is exhausted.
bool bankResize(Bank* bank, int32_t size);

}  // namespace tarsk
