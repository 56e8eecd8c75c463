// The user-library module: binds the functions a program declares from outside libraries.
#include <dlfcn.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/host/library_lookup.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/call_trampolines.h"
#include "tarsk_abi.h"

namespace tarsk {
namespace {

std::vector<void*> loadedLibraries;

[[noreturn]] void libraryStub() { runtimeError("User lib not found"); }
[[noreturn]] void functionStub() { runtimeError("User lib function not found"); }

// A slot and the function it is to hold.
struct Binding {
    uint32_t* slot;
    void* target;
};

// Reads one library group at `cursor` (just after its library name) up to and past the
// closing empty name, appending a binding per function entry.
const char* bindGroup(const char* cursor, void* library, std::vector<Binding>& bindings) {
    while (*cursor) {
        const char* name = cursor;
        cursor += std::strlen(name) + 1;
        uint32_t slot;
        std::memcpy(&slot, cursor, sizeof slot);
        cursor += sizeof slot;
        void* target = reinterpret_cast<void*>(&libraryStub);
        if (library) {
            void* function = dlsym(library, name);
            target = function ? function : reinterpret_cast<void*>(&functionStub);
        }
        bindings.push_back({reinterpret_cast<uint32_t*>(uintptr_t(slot)), target});
    }
    return cursor + 1;
}

}  // namespace
}  // namespace tarsk

using namespace tarsk;

extern "C" void __tbLoadLibs(const char* block) {
    std::vector<Binding> bindings;
    while (*block) {
        std::string name = block;
        block += name.size() + 1;
        void* library = openLibrary(name);
        if (library) loadedLibraries.push_back(library);
        block = bindGroup(block, library, bindings);
    }
    std::vector<void*> targets;
    for (const Binding& binding : bindings) targets.push_back(binding.target);
    std::vector<uint32_t> addresses = lowCallAddresses(targets);
    if (addresses.size() != bindings.size()) runtimeError("Out of memory");
    for (size_t i = 0; i < bindings.size(); ++i) *bindings[i].slot = addresses[i];
}

namespace tarsk {

void userlibs_link(Registrar add) {
    add("_tbLoadLibs", reinterpret_cast<const void*>(__tbLoadLibs));
    add("_tbStrToCStr", reinterpret_cast<const void*>(__tbStrToCStr));
    add("_tbCStrToStr", reinterpret_cast<const void*>(__tbCStrToStr));
}

bool userlibs_create() { return true; }

void userlibs_destroy() {
    while (!loadedLibraries.empty()) {
        dlclose(loadedLibraries.back());
        loadedLibraries.pop_back();
    }
    releaseTrampolines();
}

}  // namespace tarsk
