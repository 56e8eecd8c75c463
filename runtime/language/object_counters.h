// Counters of the object pools, reported by RuntimeStats.
#pragma once

#include <cstdint>

namespace tarsk {

// Objects created and not deleted.
inline int32_t activeObjectCount = 0;
// Object records not back on a free list: live objects plus zombies.
inline int32_t unreleasedObjectCount = 0;

}  // namespace tarsk
