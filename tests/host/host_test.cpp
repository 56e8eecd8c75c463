// The frame around a program and the host, run in this process with C++ entries.
#include <gtest/gtest.h>
#include <SDL2/SDL.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "runtime/host/debug_monitor.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/message_box.h"
#include "runtime/host/runtime_interface.h"
#include "tarsk_commands.h"

using namespace tarsk;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<std::string> events;

struct RecordingMonitor final : DebugMonitor {
    void resumed() override { events.push_back("resumed"); }
    void paused() override { events.push_back("paused"); }
    void statement(int32_t, int32_t) override {}
    void enterFrame(int32_t, int32_t, int32_t) override {}
    void leaveFrame() override {}
    void log(const char* text) override { events.push_back(std::string("log ") + text); }
    void message(const char* text, bool error) override {
        events.push_back(std::string(error ? "error " : "notice ") + text);
    }
    void reserved(int32_t) override {}
};

#define RECORDING_MODULE(name, succeeds)                                  \
    void name##Link(Registrar) {}                                         \
    bool name##Create() {                                                 \
        events.push_back("create " #name);                                \
        return succeeds;                                                  \
    }                                                                     \
    void name##Destroy() { events.push_back("destroy " #name); }
RECORDING_MODULE(basic, true)
RECORDING_MODULE(math, true)
RECORDING_MODULE(broken, false)
RECORDING_MODULE(later, true)
#undef RECORDING_MODULE

const std::vector<CommandModule> kGoodModules = {{"basic", basicLink, basicCreate, basicDestroy},
                                                 {"math", mathLink, mathCreate, mathDestroy}};

// Runs the entry with the real basic module, recording the monitor's calls.
const char* run(void (*entry)(), const std::vector<CommandModule>& modules = {commandModules()[0]}) {
    events.clear();
    static RecordingMonitor monitor;
    return runProgramWith(entry, "  the arguments ", &monitor, nullptr, modules);
}

tbString* S(const char* text) { return __tbStrConst(text); }

void afterMillis(int ms, void (*action)()) {
    std::thread([ms, action] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        action();
    }).detach();
}

int __attribute__((noinline)) endDeep(int depth) {
    if (depth == 0) {
        _fend();
        return 0;
    }
    return endDeep(depth - 1) + 1;
}

}  // namespace

TEST(Program, ModulesAreCreatedInOrderAndDestroyedInReverseAfterEnd) {
    events.clear();
    RecordingMonitor monitor;
    const char* result = runProgramWith(
        [] {
            events.push_back("entry");
            endDeep(100);
            events.push_back("not reached");
        },
        "", &monitor, nullptr, kGoodModules);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"create basic", "create math", "entry", "destroy math",
                                                "destroy basic"}));
}

TEST(Program, FailedModuleCreationStopsTheStart) {
    events.clear();
    RecordingMonitor monitor;
    std::vector<CommandModule> modules = kGoodModules;
    modules.push_back({"broken", brokenLink, brokenCreate, brokenDestroy});
    modules.push_back({"later", laterLink, laterCreate, laterDestroy});
    const char* result = runProgramWith([] { events.push_back("entry"); }, "", &monitor, nullptr, modules);
    EXPECT_STREQ(result, "Unable to start program");
    EXPECT_EQ(events, (std::vector<std::string>{"create basic", "create math", "create broken", "paused",
                                                "notice Startup Error: broken_create failed", "destroy math",
                                                "destroy basic"}));
}

TEST(Program, ReturnReportsTheEndAndArgumentsAreTrimmed) {
    const char* result = run([] { _fdebuglog(__tbStrConcat(S("["), __tbStrConcat(_fcommandline(), S("]")))); });
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"log [the arguments]", "paused", "notice Program has ended"}));
}

TEST(Program, RuntimeErrorWithEmptyMessageStillShowsAnError) {
    const char* result = run([] { _fruntimeerror(S("")); });
    ASSERT_NE(result, nullptr);
    EXPECT_STREQ(result, "");
    EXPECT_EQ(events, (std::vector<std::string>{"paused", "error "}));
}

TEST(Program, TimerArgumentsAreChecked) {
    const std::pair<void (*)(), const char*> cases[] = {
        {[] { _fcreatetimer(0); }, "Integer divide by zero"},
        {[] { _fcreatetimer(-5); }, "Illegal timer frequency"},
        {[] { _fwaittimer(12345); }, "Timer does not exist"},
        {[] { _ffreetimer(12345); }, nullptr},
    };
    for (auto [entry, message] : cases) {
        const char* result = run(entry);
        if (message)
            EXPECT_STREQ(result, message);
        else
            EXPECT_EQ(result, nullptr);
    }
}

TEST(Host, EndRequestFromAnotherThreadEndsADelay) {
    auto start = Clock::now();
    const char* result = run([] {
        afterMillis(50, [] { runtimeGetRuntime()->requestEnd(); });
        _fdelay(60000);
        events.push_back("delay returned");
    });
    EXPECT_EQ(result, nullptr);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(std::find(events.begin(), events.end(), "delay returned") == events.end());
}

TEST(Host, PausedTimeCountsTowardsADelay) {
    static Clock::time_point delayEnd;
    auto start = Clock::now();
    run([] {
        afterMillis(20, [] { runtimeGetRuntime()->requestSuspend(); });
        afterMillis(300, [] { runtimeGetRuntime()->requestResume(); });
        _fdelay(100);  // its deadline passes while paused: it returns right after the resume
        delayEnd = Clock::now();
    });
    auto elapsed = delayEnd - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(295));
    EXPECT_LT(elapsed, std::chrono::milliseconds(600));
    EXPECT_EQ(events[0], "paused");
    EXPECT_EQ(events[1], "resumed");
}

TEST(Host, StopPausesUntilResumed) {
    run([] {
        afterMillis(50, [] { runtimeGetRuntime()->requestResume(); });
        _fstop();
        _fdebuglog(S("continued"));
    });
    EXPECT_EQ(events[0], "paused");
    EXPECT_EQ(events[1], "resumed");
    EXPECT_EQ(events[2], "log continued");
}

TEST(Host, IdlePumpKeepsRunning) {
    run([] {
        for (int i = 0; i < 100000; ++i)
            if (!currentHost()->pumpEvents()) _fdebuglog(S("pump failed"));
        _fdebuglog(S("pumped"));
    });
    EXPECT_EQ(events[0], "log pumped");
}

namespace {

int boxesShown = 0;
bool boxAnswer = false;

void pushClose() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(currentHost()->window());
    SDL_PushEvent(&event);
}

// Pumps until the close event has been handled; false when the program must end.
bool pumpAfterClose() {
    pushClose();
    gxHost* host = currentHost();
    for (int i = 0; i < 50; ++i) {
        if (!host->pumpEvents()) return false;
        SDL_Delay(2);
    }
    return true;
}

}  // namespace

TEST(Host, ClosingTheWindowAsksWhenThereIsAClosePrompt) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setMessageBoxHandler([](const MessageBoxRequest& box) {
        ++boxesShown;
        EXPECT_EQ(box.text, "Really quit?");
        EXPECT_EQ(box.title, "Player");
        EXPECT_TRUE(box.okCancel);
        return boxAnswer;
    });
    run([] {
        ASSERT_NE(currentHost()->window(), nullptr);
        _fapptitle(S("Player"), S("Really quit?"));
        boxAnswer = false;
        events.push_back(pumpAfterClose() ? "cancel keeps running" : "cancel ended");
        _fapptitle(S("Player"), S(""));
        events.push_back(pumpAfterClose() ? "no prompt kept running" : "no prompt ends");
    });
    setMessageBoxHandler(nullptr);
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_EQ(boxesShown, 1);
    // The end request clears the monitor: nothing more is logged.
    EXPECT_EQ(events, (std::vector<std::string>{"cancel keeps running", "no prompt ends"}));
}

TEST(Host, SystemPropertiesAndLibraryCalls) {
    run([] {
        gxHost* host = currentHost();
        EXPECT_EQ(host->systemProperty("CPU"), "Intel");
        EXPECT_EQ(host->systemProperty("windowsdir"), "/usr/share/");
        EXPECT_EQ(host->systemProperty("systemdir"), "/usr/lib/");
        EXPECT_EQ(host->systemProperty("direct3d7"), "");
        EXPECT_EQ(host->systemProperty("AppDir").back(), '/');
        EXPECT_EQ(host->systemProperty("os").rfind("Linux", 0), 0u);
        char in[4] = {1, 2, 3, 4}, out[4] = {};
        EXPECT_EQ(host->callLibraryFunction("no_such_library.dll", "f", in, 4, out, 4), 0);
        EXPECT_EQ(host->callLibraryFunction("calldll_fixture.dll", "no_such_function", in, 4, out, 4), 0);
        EXPECT_EQ(host->callLibraryFunction("calldll_fixture.dll", "ReverseBytes", in, 4, out, 4), 4);
        EXPECT_EQ(out[0], 4);
        EXPECT_EQ(out[3], 1);
    });
}

TEST(Host, ExecFileStartsProgramsWithParameters) {
    std::string marker = "/tmp/tarsk-execfile-" + std::to_string(getpid());
    std::remove(marker.c_str());
    static std::string command;
    command = "\"/usr/bin/touch\"  " + marker + "  ";
    run([] {
        EXPECT_TRUE(currentHost()->execFile(command));
        EXPECT_FALSE(currentHost()->execFile(""));
        EXPECT_FALSE(currentHost()->execFile("/no/such/program and parameters"));
    });
    for (int i = 0; i < 200 && access(marker.c_str(), F_OK) != 0; ++i) SDL_Delay(10);
    EXPECT_EQ(access(marker.c_str(), F_OK), 0);
    std::remove(marker.c_str());
}

TEST(Host, LosingTheFocusPausesWhenSuspendWhileInactiveIsSet) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    run([] {
        gxHost* host = currentHost();
        ASSERT_NE(host->window(), nullptr);
        auto push = [host](Uint8 change) {
            SDL_Event event{};
            event.type = SDL_WINDOWEVENT;
            event.window.event = change;
            event.window.windowID = SDL_GetWindowID(host->window());
            SDL_PushEvent(&event);
            SDL_Delay(2);  // an idle pump looks at the system's queue once a millisecond
        };
        push(SDL_WINDOWEVENT_FOCUS_LOST);  // ignored without suspend-while-inactive
        host->pumpEvents();
        events.push_back(host->suspended() ? "paused without the flag" : "running");
        host->suspendWhileInactive = true;
        push(SDL_WINDOWEVENT_FOCUS_LOST);
        push(SDL_WINDOWEVENT_FOCUS_GAINED);  // the paused pump blocks until this one
        host->pumpEvents();
        events.push_back(host->suspended() ? "still suspended" : "resumed by focus");
    });
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_EQ(events, (std::vector<std::string>{"running", "paused", "resumed", "resumed by focus", "paused",
                                                "notice Program has ended"}));
}
