#include "runtime/host/runtime_error.h"

#include "runtime/host/gx_host.h"

namespace tarsk {

bool debugChecks = false;

void runtimeError(const char* message) {
    if (message) {
        if (gxHost* host = currentHost()) host->showError(message);
    }
    throw tbEx{message};
}

void endProgram() { throw tbEx{nullptr}; }

}  // namespace tarsk
