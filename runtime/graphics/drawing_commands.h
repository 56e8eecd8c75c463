// Registration of the buffer and 2D drawing commands, part of the graphics module.
#pragma once

#include "runtime/host/registry.h"

namespace tarsk {

void drawing_link(Registrar add);

}  // namespace tarsk
