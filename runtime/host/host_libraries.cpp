// CallDLL: functions of shared libraries called with an input and an output buffer.
#include <dlfcn.h>

#include "runtime/host/gx_host.h"
#include "runtime/host/library_lookup.h"

namespace tarsk {

using BufferFunction = int32_t (*)(void* in, int32_t inSize, void* out, int32_t outSize);

int32_t gxHost::callLibraryFunction(const std::string& library, const std::string& function, void* in,
                                    int32_t inSize, void* out, int32_t outSize) {
    auto found = libraries_.find(library);
    if (found == libraries_.end()) {
        void* handle = openLibrary(library);
        if (!handle) return 0;
        found = libraries_.emplace(library, Library{handle, {}}).first;
    }
    auto& functions = found->second.functions;
    auto entry = functions.find(function);
    if (entry == functions.end()) {
        void* address = dlsym(found->second.handle, function.c_str());
        if (!address) return 0;
        entry = functions.emplace(function, address).first;
    }
    return reinterpret_cast<BufferFunction>(entry->second)(in, inSize, out, outSize);
}

void gxHost::freeLibraries() {
    for (auto& [name, library] : libraries_) dlclose(library.handle);
    libraries_.clear();
}

}  // namespace tarsk
