// The source files of one compilation and positions inside them.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace tarsk::compiler {

struct Location {
    int file = 0;  // index into SourceFiles
    int line = 0;  // 1-based
    int column = 0;  // 1-based
};

struct SourceFile {
    std::string path;  // as named on the command line or in Include
    std::string text;
};

class SourceFiles {
public:
    int add(std::string path, std::string text) {
        files_.push_back({std::move(path), std::move(text)});
        return int(files_.size()) - 1;
    }
    const SourceFile& operator[](int index) const { return files_[size_t(index)]; }
    int count() const { return int(files_.size()); }
    // "path:line:column"
    std::string describe(const Location& at) const;

private:
    std::vector<SourceFile> files_;
};

// A compile error: where it is and what was expected there.
class CompileError : public std::runtime_error {
public:
    CompileError(Location at, const std::string& message) : std::runtime_error(message), at_(at) {}
    const Location& at() const { return at_; }

private:
    Location at_;
};

// "file.tb:3:7: error: expected Then"
std::string formatError(const SourceFiles& files, const CompileError& error);

}  // namespace tarsk::compiler
