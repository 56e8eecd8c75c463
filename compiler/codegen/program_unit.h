// The program unit: globals, arrays, type descriptors, data statements, the binding
// block of outside libraries and the main program.
#pragma once

#include <string>

#include "compiler/codegen/unit_emitter.h"

namespace tarsk::compiler {

std::string programUnit(const Program& program, const SourceFiles& files, const CodegenOptions& options);

}  // namespace tarsk::compiler
