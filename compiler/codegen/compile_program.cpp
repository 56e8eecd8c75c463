#include "compiler/codegen/compile_program.h"

#include <chrono>

#include "compiler/frontend/program_loader.h"

namespace tarsk::compiler {
namespace {

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

CompileResult compileProgram(const std::string& path, const CommandTable& commands, const CompileOptions& options) {
    CompileResult result;
    auto start = std::chrono::steady_clock::now();
    SourceFiles files;
    std::unique_ptr<Program> program;
    try {
        LoadOptions load;
        load.declarationFolders = options.declarationFoldersGiven ? options.declarationFolders : defaultDeclarationFolders(path);
        program = loadProgram(files, path, load, commands);
    } catch (const CompileError& error) {
        result.error = formatError(files, error);
        return result;
    }
    result.frontEndSeconds = since(start);
    start = std::chrono::steady_clock::now();
    std::vector<CUnit> units = generateUnits(*program, files, options.codegen);
    result.generateSeconds = since(start);
    start = std::chrono::steady_clock::now();
    NativeBuildResult native = buildImage(units, options.native);
    result.nativeSeconds = since(start);
    result.compiledUnits = native.compiled;
    result.reusedUnits = native.reused;
    if (!native.ok) {
        result.error = native.error;
        return result;
    }
    result.image = std::move(native.image);
    result.ok = true;
    return result;
}

}  // namespace tarsk::compiler
