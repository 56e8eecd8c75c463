// Registration of the font, text and console commands, part of the graphics module.
#pragma once

#include "runtime/host/registry.h"

namespace tarsk {

void text_link(Registrar add);
// Write, Print and Input (console_commands.cpp).
void console_link(Registrar add);
// Frees the Input command's cursor canvas (before a mode change and at module end).
void releaseInputCursor();

}  // namespace tarsk
