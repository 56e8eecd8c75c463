// Parsing tokens into a syntax tree, with Include of further source files.
#pragma once

#include <functional>
#include <string>

#include "compiler/frontend/ast.h"
#include "compiler/frontend/lexer.h"

namespace tarsk::compiler {

// Loads an included file: given the text after Include and where it was written,
// returns the index of the file in SourceFiles, or -1 when it was already included.
// Throws CompileError when the file cannot be read.
using IncludeLoader = std::function<int(const std::string& name, const Location& at)>;

// Parses file `file` of `files` and everything it includes. Throws CompileError.
ParsedProgram parseProgram(const SourceFiles& files, int file, const IncludeLoader& loader);

// Whether a lower-cased word is reserved by the language.
bool isKeyword(const std::string& lowerWord);

}  // namespace tarsk::compiler
