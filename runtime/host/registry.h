// Command registration: signatures, link names and the command modules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarsk {

// The registration callback: (signature text, address of the function or data object).
using Registrar = void (*)(const char* signature, const void* address);

// A command module: one registering function and a create and destroy step.
struct CommandModule {
    const char* name;
    void (*link)(Registrar registrar);
    bool (*create)();
    void (*destroy)();
};

// The modules in creation order (basic ... userlibs); destruction runs in reverse.
const std::vector<CommandModule>& commandModules();

// The top registering function: the system commands, then every module in order.
void registerAllCommands(Registrar registrar);

// "_tbStrLoad" -> "__tbStrLoad"; "%LoadTexture$file%flags=1" -> "_floadtexture".
std::string linkName(std::string_view signature);

struct Registration {
    const char* signature;
    const void* address;
};
// Every registration in registration order.
std::vector<Registration> allRegistrations();

}  // namespace tarsk
