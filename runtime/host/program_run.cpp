// The frame around a program: modules created, the entry called, the end reported,
// modules destroyed in reverse order.
#include <string>

#include "runtime/host/debug_monitor.h"
#include "runtime/host/fault_translation.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/runtime_error.h"
#include "runtime/host/runtime_interface.h"

namespace tarsk {
namespace {

std::string trimBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

const char* runModules(gxHost& host, void (*entry)(), const std::vector<CommandModule>& modules) {
    size_t created = 0;
    for (; created < modules.size(); ++created) {
        if (!modules[created].create()) {
            std::string notice = std::string("Startup Error: ") + modules[created].name + "_create failed";
            host.showNotice(notice.c_str());
            while (created > 0) modules[--created].destroy();
            return "Unable to start program";
        }
    }
    const char* result = nullptr;
    try {
        if (!host.pumpEvents()) endProgram();
        entry();
        host.showNotice("Program has ended");
    } catch (const ProcessorFault& fault) {
        host.showError(fault.message);
        result = fault.message;
    } catch (const tbEx& ex) {
        result = ex.message;
    }
    while (created > 0) modules[--created].destroy();
    return result;
}

}  // namespace

const char* runProgramWith(void (*entry)(), const std::string& arguments, DebugMonitor* monitor,
                           void* instance, const std::vector<CommandModule>& modules) {
    debugChecks = monitor != nullptr;
    if (!monitor) monitor = defaultMonitor();
    FaultTranslation translation;
    gxHost* host = gxHost::create(instance, trimBlanks(arguments), monitor);
    if (!host) return nullptr;
    const char* result = runModules(*host, entry, modules);
    delete host;
    return result;
}

}  // namespace tarsk
