// Turning an analysed program into C translation units.
#pragma once

#include <string>
#include <vector>

#include "compiler/codegen/unit_emitter.h"

namespace tarsk::compiler {

struct CUnit {
    std::string name;  // for messages: "program", "file.tb #2"
    std::string text;
};

// The program unit (static data, globals and the main program) first, then the
// functions of each source file in units of about options.unitStatements statements.
std::vector<CUnit> generateUnits(const Program& program, const SourceFiles& files, const CodegenOptions& options);

}  // namespace tarsk::compiler
