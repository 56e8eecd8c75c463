// The interface through which the runtime reports events and errors to a debugger.
#pragma once

#include <cstdint>

namespace tarsk {

class DebugMonitor {
public:
    virtual void resumed() = 0;
    virtual void paused() = 0;
    virtual void statement(int32_t position, int32_t file) = 0;
    virtual void enterFrame(int32_t a, int32_t b, int32_t c) = 0;
    virtual void leaveFrame() = 0;
    virtual void log(const char* text) = 0;
    virtual void message(const char* text, bool error) = 0;
    virtual void reserved(int32_t value) = 0;

protected:
    ~DebugMonitor() = default;  // not destroyed through the interface; keeps the eight slots
};

// Shows runtime errors in an "Error!" box (standard error when there is no display);
// ignores everything else.
DebugMonitor* defaultMonitor();

// Writes log lines to standard output and runtime errors to standard error as
// "Runtime error: <message>", or "Runtime error: <file>:<line>: <message>" once
// debug-compiled code has reported a statement; remembers whether an error was reported.
class ConsoleMonitor final : public DebugMonitor {
public:
    void resumed() override {}
    void paused() override {}
    // Debug-compiled code passes the line and the address of its file's name.
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
