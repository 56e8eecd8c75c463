#include "compiler/frontend/source_files.h"

namespace tarsk::compiler {

std::string SourceFiles::describe(const Location& at) const {
    std::string path = at.file >= 0 && at.file < count() ? files_[size_t(at.file)].path : "<unknown>";
    return path + ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
}

std::string formatError(const SourceFiles& files, const CompileError& error) {
    return files.describe(error.at()) + ": error: " + error.what();
}

}  // namespace tarsk::compiler
