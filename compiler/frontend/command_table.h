// The runtime's commands as the compiler sees them, read from their registration
// signatures ("%LoadImage$bmpfile", "EntityTexture%entity%texture%frame=0%index=0").
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "compiler/frontend/program.h"

namespace tarsk::compiler {

class CommandTable {
public:
    // Adds a command; internal entry points (beginning with "_") are skipped. Returns false
    // for a signature the notation does not allow.
    bool add(std::string_view signature);
    const Command* find(const std::string& lowerName) const;
    size_t size() const { return commands_.size(); }

private:
    std::map<std::string, Command> commands_;
};

// "%LoadTexture$file%flags=1" -> "_floadtexture"
std::string commandLinkName(std::string_view signature);

}  // namespace tarsk::compiler
