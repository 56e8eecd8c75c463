#include "runtime/host/runtime_interface.h"

#include <algorithm>

#include "runtime/host/gx_host.h"

namespace tarsk {

int32_t tbRuntime::interfaceVersion() { return kInterfaceVersion; }

const char* tbRuntime::nextSymbol() {
    if (!walking_) {
        registrations_ = allRegistrations();
        walk_ = 0;
        walking_ = true;
    }
    if (walk_ < registrations_.size()) return registrations_[walk_++].signature;
    registrations_.clear();
    walking_ = false;
    return nullptr;
}

int32_t tbRuntime::symbolAddress(const char* signature) {
    auto found = std::find_if(registrations_.begin(), registrations_.end(),
                              [signature](const Registration& r) { return r.signature == signature; });
    if (found == registrations_.end()) return -1;
    return int32_t(reinterpret_cast<uintptr_t>(found->address));
}

void tbRuntime::attach(void* instance) { instance_ = instance; }

void tbRuntime::detach() {
    registrations_.clear();
    walking_ = false;
}

void tbRuntime::requestSuspend() { gxHost::post(kMessageSuspend); }
void tbRuntime::requestResume() { gxHost::post(kMessageResume); }
void tbRuntime::requestEnd() { gxHost::post(kMessageEnd); }

void tbRuntime::writeMemoryReport(std::FILE*) {}

void tbRuntime::runProgram(void* entry, const char* arguments, DebugMonitor* monitor) {
    runProgramWith(reinterpret_cast<void (*)()>(entry), arguments ? arguments : "", monitor, instance_,
                   commandModules());
}

}  // namespace tarsk

namespace {
class Runtime final : public tarsk::tbRuntime {};
}  // namespace

extern "C" tarsk::tbRuntime* runtimeGetRuntime() {
    static Runtime* runtime = new Runtime;  // lives as long as the process
    return runtime;
}
