// The runtime interface: registration walk, program control and runProgram.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/host/registry.h"

namespace tarsk {

class DebugMonitor;

constexpr int32_t kInterfaceVersion = 66642;

class tbRuntime {
public:
    virtual int32_t interfaceVersion();
    // Walks the registered signatures; null after the last one (and the walk restarts).
    virtual const char* nextSymbol();
    // The address registered for that signature text (by identity), or -1.
    virtual int32_t symbolAddress(const char* signature);
    virtual void attach(void* instance);
    virtual void detach();
    // Safe from any thread: they only post messages to the host.
    virtual void requestSuspend();
    virtual void requestResume();
    virtual void requestEnd();
    virtual void writeMemoryReport(std::FILE* out);
    virtual void runProgram(void* entry, const char* arguments, DebugMonitor* monitor);

    void* instance() const { return instance_; }

protected:
    ~tbRuntime() = default;

private:
    void* instance_ = nullptr;
    std::vector<Registration> registrations_;
    size_t walk_ = 0;
    bool walking_ = false;
};

// Runs a program with the given command modules; returns the error text of the run
// (null after a normal or silent end).
const char* runProgramWith(void (*entry)(), const std::string& arguments, DebugMonitor* monitor,
                           void* instance, const std::vector<CommandModule>& modules);

}  // namespace tarsk

extern "C" tarsk::tbRuntime* runtimeGetRuntime();
