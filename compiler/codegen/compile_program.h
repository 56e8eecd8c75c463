// Source file to module image: front end, C generation and the native build.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/codegen/native_build.h"
#include "compiler/frontend/command_table.h"

namespace tarsk::compiler {

struct CompileOptions {
    CodegenOptions codegen;
    NativeBuildOptions native;
    bool declarationFoldersGiven = false;
    std::vector<std::string> declarationFolders;  // used when given, else the defaults
};

struct CompileResult {
    bool ok = false;
    std::string error;  // "file.tb:3:7: error: expected Then, found end of line"
    std::vector<uint8_t> image;
    double frontEndSeconds = 0;
    double generateSeconds = 0;
    double nativeSeconds = 0;
    int compiledUnits = 0;
    int reusedUnits = 0;
};

CompileResult compileProgram(const std::string& path, const CommandTable& commands, const CompileOptions& options);

}  // namespace tarsk::compiler
