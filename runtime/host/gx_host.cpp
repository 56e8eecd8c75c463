#include "runtime/host/gx_host.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <ctime>
#include <mutex>

#include "runtime/host/debug_monitor.h"
#include "runtime/host/host_timers.h"
#include "runtime/host/message_box.h"

namespace tarsk {
namespace {

// An idle pump only asks the system for new events this often; messages posted
// through gxHost::post are seen at once.
constexpr uint64_t kPumpIntervalNanos = 1'000'000;
// Longest sleep between two looks at the window's events while waiting.
constexpr int32_t kWaitSliceMillis = 10;

gxHost* current = nullptr;
std::atomic<bool> hostAlive{false};
std::atomic<bool> messagePosted{false};
uint32_t hostEventType = 0;

// Wakes a waiting program thread when a message is posted.
std::mutex wakeMutex;
std::condition_variable wakeCondition;
bool wakeSignalled = false;

uint64_t monotonicNanos() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint64_t(now.tv_sec) * 1'000'000'000u + uint64_t(now.tv_nsec);
}

void sleepUntilPosted(int32_t milliseconds) {
    std::unique_lock<std::mutex> lock(wakeMutex);
    wakeCondition.wait_for(lock, std::chrono::milliseconds(milliseconds), [] { return wakeSignalled; });
    wakeSignalled = false;
}

}  // namespace

gxHost* currentHost() { return current; }

int32_t systemMillis() {
    timespec now;
    clock_gettime(CLOCK_BOOTTIME, &now);
    uint64_t millis = uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1'000'000u;
    return int32_t(uint32_t(millis));
}

gxHost* gxHost::create(void* instance, std::string arguments, DebugMonitor* monitor) {
    if (current) return nullptr;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_Init(SDL_INIT_EVENTS) != 0) return nullptr;
    if (hostEventType == 0) hostEventType = SDL_RegisterEvents(1);
    current = new gxHost(instance, std::move(arguments), monitor);
    hostAlive.store(true, std::memory_order_release);
    return current;
}

gxHost::gxHost(void* instance, std::string arguments, DebugMonitor* monitor)
    : instance_(instance), arguments_(std::move(arguments)), monitor_(monitor) {
    // Without a display the host still runs: messages, timers and errors on standard error.
    if (displayConfigured() && SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        // With GL where the video driver has it: the display presents through it.
        window_ = SDL_CreateWindow(" ", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
        if (!window_) window_ = SDL_CreateWindow(" ", 0, 0, 1, 1, SDL_WINDOW_HIDDEN);
    }
}

gxHost::~gxHost() {
    hostAlive.store(false, std::memory_order_release);
    freeLibraries();
    while (!timers_.empty()) freeTimer(*timers_.begin());
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
    if (current == this) current = nullptr;
}

void gxHost::post(HostMessage message) {
    if (!hostAlive.load(std::memory_order_acquire)) return;
    SDL_Event event{};
    event.type = hostEventType;
    event.user.code = message;
    SDL_PushEvent(&event);
    messagePosted.store(true, std::memory_order_release);
    {
        std::lock_guard<std::mutex> lock(wakeMutex);
        wakeSignalled = true;
    }
    wakeCondition.notify_all();
}

bool gxHost::nextEvent(SDL_Event& event) {
    if (!draining_) {
        uint64_t now = monotonicNanos();
        bool posted = messagePosted.exchange(false, std::memory_order_acq_rel);
        if (!posted && now - lastPumpNanos_ < kPumpIntervalNanos) return false;
        lastPumpNanos_ = now;
        SDL_PumpEvents();
        draining_ = true;
    }
    if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) return true;
    draining_ = false;
    return false;
}

bool gxHost::waitEvent(SDL_Event& event, int32_t milliseconds) {
    uint64_t deadline = monotonicNanos() + uint64_t(milliseconds) * 1'000'000u;
    for (;;) {
        lastPumpNanos_ = 0;  // look at the system's queue after every sleep
        if (nextEvent(event)) return true;
        uint64_t now = monotonicNanos();
        if (now >= deadline) return false;
        sleepUntilPosted(int32_t(std::min<uint64_t>((deadline - now) / 1'000'000u + 1, kWaitSliceMillis)));
    }
}

bool gxHost::pumpEvents() {
    SDL_Event event;
    for (;;) {
        if (suspended_ && running_) {
            if (!waitEvent(event, kWaitSliceMillis)) continue;
        } else if (!nextEvent(event)) {
            return running_;
        }
        handle(event);
    }
}

bool gxHost::waitMillis(int32_t milliseconds) {
    int32_t start = systemMillis();
    SDL_Event event;
    for (;;) {
        if (suspended_ && running_) {
            if (waitEvent(event, kWaitSliceMillis)) handle(event);
            continue;
        }
        if (nextEvent(event)) {
            handle(event);
            continue;
        }
        if (!running_) return false;
        int32_t remaining = milliseconds + start - systemMillis();
        if (remaining < 1) return true;
        sleepUntilPosted(std::min(remaining, kWaitSliceMillis));
        lastPumpNanos_ = 0;
    }
}

void gxHost::handle(const SDL_Event& event) {
    if (event.type == hostEventType) {
        switch (event.user.code) {
            case kMessageSuspend: pauseProgram(); break;
            case kMessageResume: resumeProgram(); break;
            case kMessageEnd:
                monitor_ = nullptr;
                running_ = false;
                break;
        }
        return;
    }
    if (busy_) return;
    switch (event.type) {
        case SDL_QUIT: post(kMessageEnd); break;  // the session asked the program to end
        case SDL_WINDOWEVENT: handleWindowEvent(event); break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
        case SDL_TEXTINPUT:
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL:
            if (input_ && !suspended_) input_->windowEvent(event);
            break;
        default: break;
    }
}

void gxHost::handleWindowEvent(const SDL_Event& event) {
    if (!window_ || event.window.windowID != SDL_GetWindowID(window_)) return;
    switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE: handleClose(); break;
        case SDL_WINDOWEVENT_EXPOSED:
            if (display_) {
                if (!suspendWhileInactive && !display_->restoreSurfaces()) graphicsLost = true;
                if (displayKind == kScaledWindow || displayKind == kWindowed) display_->paint();
            }
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (suspendWhileInactive && !suspended_) suspendWork();
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (suspendWhileInactive && suspended_) resumeWork();
            break;
        default: break;
    }
}

void gxHost::handleClose() {
    if (!closePrompt_.empty()) {
        MessageBoxRequest box{title_, closePrompt_, true, true, window_};
        if (!showMessageBox(box)) return;
    }
    post(kMessageEnd);
}

void gxHost::pauseProgram() {
    if (suspended_) return;
    if (displayKind == kFullScreen && window_) {
        SDL_MinimizeWindow(window_);  // the focus loss that follows does the rest
        return;
    }
    suspendWork();
}

void gxHost::resumeProgram() {
    if (!suspended_) return;
    if (displayKind == kFullScreen && window_) {
        SDL_RestoreWindow(window_);
        SDL_RaiseWindow(window_);  // the focus gain that follows does the rest
        return;
    }
    resumeWork();
}

void gxHost::suspendWork() {
    busy_ = true;
    if (input_) {
        if (displayKind == kFullScreen && exclusiveInput) input_->setExclusive(false);
        input_->resetStates();
    }
    suspended_ = true;
    busy_ = false;
    applyPointer();
    if (monitor_) monitor_->paused();
}

void gxHost::resumeWork() {
    busy_ = true;
    if (input_) {
        if (displayKind == kFullScreen && exclusiveInput) exclusiveInput = input_->setExclusive(true);
        input_->resetStates();
    }
    if (suspendWhileInactive && display_ && !display_->restoreSurfaces()) graphicsLost = true;
    suspended_ = false;
    busy_ = false;
    applyPointer();
    if (monitor_) monitor_->resumed();
}

void gxHost::showError(const char* text) {
    if (!monitor_) return;
    post(kMessageEnd);
    pauseProgram();
    if (monitor_) monitor_->message(text, true);
}

void gxHost::showNotice(const char* text) {
    if (!monitor_) return;
    post(kMessageEnd);
    pauseProgram();
    if (monitor_) monitor_->message(text, false);
}

void gxHost::logText(const char* text) {
    if (monitor_) monitor_->log(text);
}

void gxHost::setWindowTitle(std::string title, std::string closePrompt) {
    title_ = std::move(title);
    closePrompt_ = std::move(closePrompt);
    if (window_) SDL_SetWindowTitle(window_, title_.c_str());
}

void gxHost::setPointerVisible(bool visible) {
    pointerVisible_ = visible;
    applyPointer();
}

void gxHost::movePointer(int32_t x, int32_t y) {
    if (!window_ || displayKind == kNoDisplay) return;
    if (displayKind == kFullScreen && exclusiveInput) return;
    if (displayKind == kScaledWindow && graphicsWidth > 0 && graphicsHeight > 0) {
        int clientWidth, clientHeight;
        SDL_GetWindowSize(window_, &clientWidth, &clientHeight);
        x = int32_t(int64_t(x) * clientWidth / graphicsWidth);
        y = int32_t(int64_t(y) * clientHeight / graphicsHeight);
    }
    SDL_WarpMouseInWindow(window_, x, y);
}

void gxHost::setExclusiveInput(bool exclusive) {
    exclusiveInput = exclusive;
    if (!input_) return;
    if (exclusive && displayKind == kFullScreen) exclusiveInput = input_->setExclusive(true);
    input_->resetStates();
}

void gxHost::applyPointer() {
    if (!window_) return;
    bool hidden = !suspended_ && (displayKind == kFullScreen || (displayKind != kNoDisplay && !pointerVisible_));
    SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
}

}  // namespace tarsk
