// Reading a program from its files: the main source, its includes and the declaration
// files of outside libraries, then analysing it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "compiler/frontend/command_table.h"
#include "compiler/frontend/program.h"

namespace tarsk::compiler {

struct LoadOptions {
    // Folders searched for "*.decls" files, in order; an earlier folder's declaration of
    // a function wins over a later one's.
    std::vector<std::string> declarationFolders;
};

// The declaration folders of a program: its own folder, then "tarskpath"/userlibs when
// that variable is set.
std::vector<std::string> defaultDeclarationFolders(const std::string& mainPath);

// Parses and analyses the program. Throws CompileError; a main file that cannot be read
// is reported at line 0 of that file.
std::unique_ptr<Program> loadProgram(SourceFiles& files, const std::string& mainPath, const LoadOptions& options,
                                     const CommandTable& commands);

}  // namespace tarsk::compiler
