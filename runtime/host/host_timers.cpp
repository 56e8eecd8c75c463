#include "runtime/host/host_timers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "runtime/host/arena.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/runtime_error.h"

namespace tarsk {

struct HostTimer {
    std::atomic<uint32_t> ticks{0};
    uint32_t reported = 0;
    std::mutex mutex;
    std::condition_variable stopCondition;
    bool stopping = false;
    std::thread thread;
};

namespace {

void tickLoop(HostTimer* timer, int32_t periodMillis) {
    using Clock = std::chrono::steady_clock;
    auto period = std::chrono::milliseconds(periodMillis);
    auto deadline = Clock::now() + period;
    std::unique_lock<std::mutex> lock(timer->mutex);
    for (;;) {
        if (timer->stopCondition.wait_until(lock, deadline, [timer] { return timer->stopping; })) return;
        timer->ticks.fetch_add(1, std::memory_order_release);
        timer->ticks.notify_all();
        deadline += period;
        // After a long stall the timer catches up one tick at a time, as periodic timers do.
    }
}

}  // namespace

HostTimer* gxHost::createTimer(int32_t hertz) {
    if (hertz == 0) runtimeError("Integer divide by zero");
    if (hertz < 0) runtimeError("Illegal timer frequency");
    int32_t period = std::max(1000 / hertz, 1);  // above 1000 Hz the timer ticks every millisecond
    auto* timer = arenaNew<HostTimer>();
    timer->thread = std::thread(tickLoop, timer, period);
    timers_.insert(timer);
    return timer;
}

void gxHost::freeTimer(HostTimer* timer) {
    if (!timers_.erase(timer)) return;
    {
        std::lock_guard<std::mutex> lock(timer->mutex);
        timer->stopping = true;
    }
    timer->stopCondition.notify_all();
    timer->thread.join();
    arenaDelete(timer);
}

int32_t waitTimer(HostTimer* timer) {
    uint32_t ticks;
    while ((ticks = timer->ticks.load(std::memory_order_acquire)) == timer->reported) timer->ticks.wait(ticks);
    int32_t count = int32_t(ticks - timer->reported);
    timer->reported = ticks;
    return count;
}

}  // namespace tarsk
