#include "compiler/frontend/program_loader.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "compiler/frontend/analyzer.h"
#include "compiler/frontend/library_declarations.h"
#include "compiler/frontend/parser.h"

namespace tarsk::compiler {
namespace fs = std::filesystem;

namespace {

bool readText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad()) return false;
    text = contents.str();
    return true;
}

std::string identity(const fs::path& path) {
    std::error_code error;
    fs::path canonical = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal().string() : canonical.string();
}

}  // namespace

std::vector<std::string> defaultDeclarationFolders(const std::string& mainPath) {
    std::vector<std::string> folders;
    fs::path folder = fs::path(mainPath).parent_path();
    folders.push_back(folder.empty() ? "." : folder.string());
    if (const char* tarskpath = std::getenv("tarskpath"); tarskpath && *tarskpath)
        folders.push_back((fs::path(tarskpath) / "userlibs").string());
    return folders;
}

std::unique_ptr<Program> loadProgram(SourceFiles& files, const std::string& mainPath, const LoadOptions& options,
                                     const CommandTable& commands) {
    auto program = std::make_unique<Program>();
    std::string text;
    if (!readText(mainPath, text)) {
        int file = files.add(mainPath, "");
        throw CompileError({file, 0, 0}, "cannot read the program file");
    }
    int mainFile = files.add(mainPath, std::move(text));
    std::set<std::string> included = {identity(mainPath)};
    IncludeLoader loader = [&](const std::string& name, const Location& at) {
        std::string written = name;
        std::replace(written.begin(), written.end(), '\\', '/');
        fs::path path = fs::path(files[at.file].path).parent_path() / written;
        if (!included.insert(identity(path)).second) return -1;
        std::string contents;
        if (!readText(path.string(), contents)) throw CompileError(at, "cannot read the included file '" + name + "'");
        return files.add(path.lexically_normal().string(), std::move(contents));
    };
    program->parsed = parseProgram(files, mainFile, loader);

    for (size_t i = 0; i < options.declarationFolders.size(); ++i) {
        std::error_code error;
        std::vector<fs::path> declarations;
        for (const auto& entry : fs::directory_iterator(options.declarationFolders[i], error))
            if (entry.path().extension() == ".decls") declarations.push_back(entry.path());
        std::sort(declarations.begin(), declarations.end());
        for (const fs::path& path : declarations) {
            std::string contents;
            if (!readText(path.string(), contents)) continue;
            int file = files.add(path.string(), std::move(contents));
            parseLibraryDeclarations(files, file, *program, i > 0);
        }
    }
    analyzeProgram(*program, commands);
    return program;
}

}  // namespace tarsk::compiler
