#include "compiler/driver/source_monitor.h"

#include <cstdint>
#include <cstdio>

namespace tarsk {

void SourceMonitor::log(const char* text) {
    std::fputs(text ? text : "", stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void SourceMonitor::message(const char* text, bool error) {
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
