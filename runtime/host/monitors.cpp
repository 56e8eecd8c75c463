#include <cstdint>
#include <cstdio>

#include "runtime/host/debug_monitor.h"
#include "runtime/host/message_box.h"

namespace tarsk {
namespace {

class DefaultMonitor final : public DebugMonitor {
public:
    void resumed() override {}
    void paused() override {}
    void statement(int32_t, int32_t) override {}
    void enterFrame(int32_t, int32_t, int32_t) override {}
    void leaveFrame() override {}
    void log(const char*) override {}
    void message(const char* text, bool error) override {
        if (error) showMessageBox({"Error!", text ? text : "", false, false, nullptr});
    }
    void reserved(int32_t) override {}
};

}  // namespace

DebugMonitor* defaultMonitor() {
    static DefaultMonitor monitor;
    return &monitor;
}

void ConsoleMonitor::log(const char* text) {
    std::fputs(text ? text : "", stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void ConsoleMonitor::message(const char* text, bool error) {
    if (!error) return;
    errorReported_ = true;
    std::fflush(stdout);
    if (file_ != 0) {
        // The name lies in the loaded image, below 4 GiB.
        const char* name = reinterpret_cast<const char*>(uintptr_t(uint32_t(file_)));
        std::fprintf(stderr, "Runtime error: %s:%d: %s\n", name, int(line_), text ? text : "");
    } else {
        std::fprintf(stderr, "Runtime error: %s\n", text ? text : "");
    }
    std::fflush(stderr);
}

}  // namespace tarsk
