// Periodic timers: a thread per timer counts ticks and wakes WaitTimer.
#pragma once

#include <cstdint>

namespace tarsk {

struct HostTimer;

// Ticks since the previous call (or since the timer started); waits for the next
// tick when none has come yet.
int32_t waitTimer(HostTimer* timer);

}  // namespace tarsk
