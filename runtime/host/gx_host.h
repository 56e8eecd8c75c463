// The single platform object of a running program: the window, the message pump,
// pause and resume, timers, system properties, program execution and CallDLL.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "runtime/host/host_drivers.h"

struct SDL_Window;
union SDL_Event;

namespace tarsk {

class DebugMonitor;
struct HostTimer;

// Window messages of the host; other threads may post them at any time.
enum HostMessage : int32_t { kMessageSuspend = 1025, kMessageResume = 1026, kMessageEnd = 1027 };

// How the display is shown: 0 no graphics, 1 scaled window, 2 window, 3 full screen.
enum DisplayKind : int32_t { kNoDisplay = 0, kScaledWindow = 1, kWindowed = 2, kFullScreen = 3 };

class gxHost {
public:
    // Refused (nullptr) while another host exists.
    static gxHost* create(void* instance, std::string arguments, DebugMonitor* monitor);
    ~gxHost();
    gxHost(const gxHost&) = delete;
    gxHost& operator=(const gxHost&) = delete;

    // Handles queued messages; false once the program must end.
    bool pumpEvents();
    // Waits while handling messages; false when the end was requested.
    bool waitMillis(int32_t milliseconds);
    void pauseProgram();
    void resumeProgram();
    void showError(const char* text);
    void showNotice(const char* text);
    void logText(const char* text);
    void setWindowTitle(std::string title, std::string closePrompt);
    bool execFile(std::string_view command);
    std::string systemProperty(std::string_view name);
    HostTimer* createTimer(int32_t hertz);
    void freeTimer(HostTimer* timer);
    bool isTimer(const HostTimer* timer) const { return timers_.count(const_cast<HostTimer*>(timer)) != 0; }
    int32_t callLibraryFunction(const std::string& library, const std::string& function, void* in,
                                int32_t inSize, void* out, int32_t outSize);
    void setPointerVisible(bool visible);
    bool pointerVisible() const { return pointerVisible_; }
    // Moves the system pointer to (x, y) in graphics coordinates.
    void movePointer(int32_t x, int32_t y);
    // Exclusive input in full screen (EnableDirectInput); resets the input states.
    void setExclusiveInput(bool exclusive);

    // Posts a host message; safe from any thread.
    static void post(HostMessage message);

    const std::string& arguments() const { return arguments_; }
    const std::string& title() const { return title_; }
    const std::string& closePrompt() const { return closePrompt_; }
    SDL_Window* window() const { return window_; }
    void* instance() const { return instance_; }
    DebugMonitor* monitor() const { return monitor_; }

    // Drivers opened by later modules on this host.
    void setDisplay(HostDisplay* display) { display_ = display; }
    HostDisplay* display() const { return display_; }
    void setInput(HostInput* input) { input_ = input; }
    HostInput* input() const { return input_; }

    // Process-wide state shared with the drivers.
    DisplayKind displayKind = kNoDisplay;
    int32_t graphicsWidth = 0;  // size of the open graphics mode, set by the display
    int32_t graphicsHeight = 0;
    bool suspendWhileInactive = false;
    bool exclusiveInput = false;
    bool graphicsLost = false;
    bool suspended() const { return suspended_; }
    bool running() const { return running_; }

private:
    gxHost(void* instance, std::string arguments, DebugMonitor* monitor);
    // Takes the next queued event without waiting; false when none.
    bool nextEvent(SDL_Event& event);
    // Waits up to the given time for an event; false when none came.
    bool waitEvent(SDL_Event& event, int32_t milliseconds);
    void handle(const SDL_Event& event);
    void handleWindowEvent(const SDL_Event& event);
    void handleClose();
    void suspendWork();
    void resumeWork();
    void applyPointer();
    void freeLibraries();

    void* instance_;
    std::string arguments_;
    DebugMonitor* monitor_;
    SDL_Window* window_ = nullptr;
    HostDisplay* display_ = nullptr;
    HostInput* input_ = nullptr;
    std::string title_;
    std::string closePrompt_;
    bool pointerVisible_ = true;
    bool suspended_ = false;
    bool busy_ = false;
    bool running_ = true;
    bool draining_ = false;  // the system's queue was pumped and is being emptied
    uint64_t lastPumpNanos_ = 0;
    std::set<HostTimer*> timers_;
    struct Library {
        void* handle;
        std::map<std::string, void*> functions;
    };
    std::map<std::string, Library> libraries_;
};

// The host of the running program, or nullptr.
gxHost* currentHost();

// Milliseconds since the system started (wrapping 32-bit counter).
int32_t systemMillis();

}  // namespace tarsk
