// The fixed beginning of every generated C unit: the internal entry points of the
// runtime and the small inline helpers the generated code uses.
#pragma once

namespace tarsk::compiler {

const char* cPrelude();

}  // namespace tarsk::compiler
