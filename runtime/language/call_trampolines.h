// Jumps below 2 GiB to functions anywhere: 32-bit slots of compiled code cannot hold
// the addresses of shared-library functions, which lie far above 4 GiB.
#pragma once

#include <cstdint>
#include <vector>

namespace tarsk {

// Returns, for each target, an address below 2 GiB that jumps to it (the target itself
// when it is already that low). Returns an empty list when no memory could be mapped.
std::vector<uint32_t> lowCallAddresses(const std::vector<void*>& targets);
// Unmaps every trampoline made so far.
void releaseTrampolines();

}  // namespace tarsk
