// Objects of the program's record types, and the descriptors the compiler emits.
#pragma once

#include <cstdint>

#include "tarsk_abi.h"

// Layouts fixed by compiled code: every word is 32 bits, addresses included.
struct tbObject {
    uint32_t fields;  // address of the field words (word 5), 0 once deleted
    uint32_t next;
    uint32_t prev;
    uint32_t type;    // its tbObjType; 0 marks a list sentinel
    int32_t references;
};

struct tbObjType {
    uint32_t tag;  // 5
    tbObject used;
    tbObject free;
    uint32_t fieldCount;
    // followed by fieldCount field type words
};

struct tbVecType {
    uint32_t tag;  // 6
    uint32_t count;
    uint32_t elementType;
};

namespace tarsk {

enum TypeTag : uint32_t { kIntTag = 1, kFloatTag = 2, kStringTag = 3, kCStringTag = 4, kObjectTag = 5, kVectorTag = 6 };

// The tag a field, element or vector type word points to.
uint32_t tagOf(uint32_t typeWord);
// Releases a 32-bit value of the given kind: a string object or an object reference.
void releaseValue(uint32_t tag, uint32_t value);

}  // namespace tarsk
