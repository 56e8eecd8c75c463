// Counts calls of the global operator new, to show which paths make no heap call.
#pragma once

#include <cstdint>

namespace bench {

uint64_t heapCalls();

}  // namespace bench
