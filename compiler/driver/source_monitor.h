// The debug monitor of `tarsk run --debug PROGRAM.tb`: log lines to standard output,
// runtime errors to standard error with the Basic file and line of the statement that
// was running ("Runtime error: game.tb:12: Array index out of bounds").
#pragma once

#include "runtime/host/debug_monitor.h"

namespace tarsk {

class SourceMonitor final : public DebugMonitor {
public:
    void resumed() override {}
    void paused() override {}
    // Compiled debug code passes the line and the address of the file's name.
    void statement(int32_t line, int32_t file) override {
        line_ = line;
        file_ = file;
    }
    void enterFrame(int32_t, int32_t, int32_t) override {}
    void leaveFrame() override {}
    void log(const char* text) override;
    void message(const char* text, bool error) override;
    void reserved(int32_t) override {}
    bool errorReported() const { return errorReported_; }

private:
    int32_t line_ = 0;
    int32_t file_ = 0;
    bool errorReported_ = false;
};

}  // namespace tarsk
