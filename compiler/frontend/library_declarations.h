// Declaration files of outside libraries (".decls"):
//
//   ; comment
//   .lib "libmaths.so"
//   Add%(a%, b%)
//   Scale#(value#, factor#) : "scale_value"
//   Greeting$(name$)
//   Fill(buffer*, size%)
//
// Sigils: % integer, # float, $ string (passed and returned as NUL-terminated text),
// * raw address (an integer such as a bank handle, passed as a pointer); no result
// sigil means no result. The optional text after ":" is the exported name.
#pragma once

#include "compiler/frontend/program.h"
#include "compiler/frontend/source_files.h"

namespace tarsk::compiler {

// Adds the libraries and functions of file `file` to the program. A function declared
// twice is an error, unless `skipDeclared` is set: then the earlier declaration stays.
// Throws CompileError.
void parseLibraryDeclarations(const SourceFiles& files, int file, Program& program, bool skipDeclared = false);

}  // namespace tarsk::compiler
