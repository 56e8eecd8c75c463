// Fixed-size arrays held in fields and variables.
#pragma once

#include <cstdint>

#include "runtime/language/objects.h"

namespace tarsk {

// Zeroed storage of count 32-bit elements, below 4 GiB.
uint32_t vectorAlloc(const tbVecType* type);
// Releases every element by the element type's kind, then frees the storage (0 is ignored).
void vectorFree(uint32_t storage, const tbVecType* type);

}  // namespace tarsk
