#include <cstring>

#include "runtime/host/module_image.h"
#include "runtime/host/runtime_interface.h"

namespace tarsk {

SymbolTable runtimeSymbolTable() {
    SymbolTable table;
    tbRuntime* runtime = runtimeGetRuntime();
    while (const char* signature = runtime->nextSymbol())
        table[linkName(signature)] = uint32_t(runtime->symbolAddress(signature));
    // Block copies and fills that the C compiler emits calls to even in freestanding code.
    table["memcpy"] = uint32_t(reinterpret_cast<uintptr_t>(&std::memcpy));
    table["memmove"] = uint32_t(reinterpret_cast<uintptr_t>(&std::memmove));
    table["memset"] = uint32_t(reinterpret_cast<uintptr_t>(&std::memset));
    table["memcmp"] = uint32_t(reinterpret_cast<uintptr_t>(&std::memcmp));
    return table;
}

}  // namespace tarsk
