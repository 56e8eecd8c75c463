#include "runtime/host/registry.h"

namespace tarsk {

void linkSystemCommands(Registrar registrar);

void registerAllCommands(Registrar registrar) {
    linkSystemCommands(registrar);
    for (const CommandModule& module : commandModules()) module.link(registrar);
}

std::string linkName(std::string_view signature) {
    if (!signature.empty() && signature[0] == '_') return std::string("_").append(signature);
    auto isWordChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    if (!signature.empty() && signature[0] == '!') signature.remove_prefix(1);
    if (!signature.empty() && !isWordChar(signature[0])) signature.remove_prefix(1);
    std::string name = "_f";
    for (char c : signature) {
        if (!isWordChar(c) && c != '_') break;
        name += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    }
    return name;
}

namespace {
std::vector<Registration>* collecting = nullptr;
void collect(const char* signature, const void* address) { collecting->push_back({signature, address}); }
}  // namespace

std::vector<Registration> allRegistrations() {
    std::vector<Registration> list;
    collecting = &list;
    registerAllCommands(collect);
    collecting = nullptr;
    return list;
}

}  // namespace tarsk
