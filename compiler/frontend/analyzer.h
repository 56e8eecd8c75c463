// Semantic analysis: resolves every name, types every expression, inserts the
// implicit conversions and checks the rules of the language.
#pragma once

#include "compiler/frontend/command_table.h"
#include "compiler/frontend/program.h"

namespace tarsk::compiler {

// Analyses program.parsed into the rest of `program`. Throws CompileError.
void analyzeProgram(Program& program, const CommandTable& commands);

// The value of a constant expression that has been analysed; false when it is not constant.
bool foldConstant(const Expr& e, Constant& value);

}  // namespace tarsk::compiler
