#include "runtime/host/image_runner.h"

#include "runtime/host/message_box.h"
#include "runtime/host/module_image.h"
#include "runtime/host/runtime_interface.h"

extern "C" char __executable_start;  // the executable's first byte, its instance handle

namespace tarsk {

int runModuleImage(std::span<const uint8_t> image, const std::string& arguments, DebugMonitor* monitor) {
    tbRuntime* runtime = runtimeGetRuntime();
    runtime->attach(&__executable_start);
    LinkResult linked = loadModuleImage(image, runtimeSymbolTable());
    if (linked.status != LinkStatus::Linked) {
        showMessageBox({"", linkFailureMessage(linked), false, false, nullptr});
        return linked.status == LinkStatus::BadImage ? -1 : 0;
    }
    runtime->runProgram(linked.base, arguments.c_str(), monitor);
    runtime->detach();
    return 0;
}

}  // namespace tarsk
