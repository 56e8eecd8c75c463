// Converting an x86-64 ELF relocatable object (non-PIC, small code model) into a
// module image.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "runtime/host/module_image.h"

namespace tarsk {

// Lays out every allocated section in the code block behind a jump to "__MAIN",
// turns PC32/PLT32 relocations into relative and 32/32S into absolute entries (the
// addend stored in the field), and carries .eh_frame under "__EH_FRAME". Returns false
// with a message for anything an image cannot express.
bool elfToImage(std::span<const uint8_t> object, ModuleImage& image, std::string& error);

}  // namespace tarsk
