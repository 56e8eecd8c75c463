#include "compiler/frontend/library_declarations.h"

#include <cctype>

#include "compiler/frontend/lexer.h"
#include "compiler/frontend/parser.h"

namespace tarsk::compiler {
namespace {

class DeclarationParser {
public:
    DeclarationParser(const SourceFiles& files, int file, Program& program, bool skipDeclared)
        : text_(files[file].text), file_(file), program_(program), skipDeclared_(skipDeclared) {}

    void run() {
        size_t start = 0;
        int line = 1;
        while (start <= text_.size()) {
            size_t end = text_.find('\n', start);
            if (end == std::string::npos) end = text_.size();
            parseLine(text_.substr(start, end - start), line);
            start = end + 1;
            ++line;
        }
    }

private:
    [[noreturn]] void fail(int column, const std::string& message) {
        throw CompileError({file_, line_, column + 1}, message);
    }

    void skipBlanks() {
        while (pos_ < lineText_.size() && (lineText_[pos_] == ' ' || lineText_[pos_] == '\t' || lineText_[pos_] == '\r')) ++pos_;
    }
    bool atEnd() {
        skipBlanks();
        return pos_ >= lineText_.size() || lineText_[pos_] == ';';
    }
    bool accept(char c) {
        skipBlanks();
        if (pos_ < lineText_.size() && lineText_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    void expect(char c, const std::string& what) {
        if (!accept(c)) fail(int(pos_), "expected " + what);
    }
    std::string word(const std::string& what) {
        skipBlanks();
        size_t begin = pos_;
        while (pos_ < lineText_.size() && (std::isalnum(static_cast<unsigned char>(lineText_[pos_])) || lineText_[pos_] == '_')) ++pos_;
        if (pos_ == begin) fail(int(pos_), "expected " + what);
        return lineText_.substr(begin, pos_ - begin);
    }
    std::string quoted(const std::string& what) {
        skipBlanks();
        if (pos_ >= lineText_.size() || lineText_[pos_] != '"') fail(int(pos_), "expected " + what + " in quotes");
        size_t close = lineText_.find('"', pos_ + 1);
        if (close == std::string::npos) fail(int(pos_), "string is not closed: expected '\"' before the end of the line");
        std::string text = lineText_.substr(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        return text;
    }
    LibFunction::Kind sigil(bool result) {
        if (pos_ < lineText_.size()) {
            switch (lineText_[pos_]) {
                case '%': ++pos_; return LibFunction::Kind::Int;
                case '#': ++pos_; return LibFunction::Kind::Float;
                case '$': ++pos_; return LibFunction::Kind::String;
                case '*': ++pos_; return LibFunction::Kind::Address;
                default: break;
            }
        }
        return result ? LibFunction::Kind::Void : LibFunction::Kind::Int;
    }

    void parseLine(const std::string& text, int line) {
        lineText_ = text;
        line_ = line;
        pos_ = 0;
        if (atEnd()) return;
        if (accept('.')) {
            int column = int(pos_);
            if (lowerCase(word("lib after '.'")) != "lib") fail(column, "expected .lib");
            std::string file = quoted("a library file name");
            if (file.empty()) fail(column, "the library file name is empty");
            if (!atEnd()) fail(int(pos_), "expected end of line after the library name");
            program_.libraries.push_back({file, {}});
            sawLibrary_ = true;
            return;
        }
        if (!sawLibrary_) fail(int(pos_), "expected .lib \"file\" before the first function");
        skipBlanks();
        int column = int(pos_);
        auto f = std::make_unique<LibFunction>();
        f->shown = word("a function name");
        f->name = lowerCase(f->shown);
        f->at = {file_, line_, column + 1};
        if (isKeyword(f->name)) fail(column, "expected a function name, found keyword '" + f->shown + "'");
        f->result = sigil(true);
        expect('(', "'(' after the function name");
        if (!accept(')')) {
            do {
                word("a parameter name");
                f->params.push_back(sigil(false));
                if (f->params.back() == LibFunction::Kind::Void) f->params.back() = LibFunction::Kind::Int;
            } while (accept(','));
            expect(')', "',' or ')' in the parameter list");
        }
        f->exportName = f->shown;
        if (accept(':')) f->exportName = quoted("the exported name");
        if (!atEnd()) fail(int(pos_), "expected end of line after the declaration");
        if (program_.libFunctionsByName.count(f->name)) {
            if (skipDeclared_) return;
            fail(column, "library function " + f->shown + " is declared twice");
        }
        f->library = int(program_.libraries.size()) - 1;
        f->slot = "_u" + std::to_string(f->library) + "_" + f->name;
        program_.libraries.back().functions.push_back(f.get());
        program_.libFunctionsByName[f->name] = f.get();
        program_.libFunctions.push_back(std::move(f));
    }

    const std::string& text_;
    int file_;
    Program& program_;
    std::string lineText_;
    int line_ = 0;
    size_t pos_ = 0;
    bool skipDeclared_;
    bool sawLibrary_ = false;
};

}  // namespace

void parseLibraryDeclarations(const SourceFiles& files, int file, Program& program, bool skipDeclared) {
    DeclarationParser(files, file, program, skipDeclared).run();
}

}  // namespace tarsk::compiler
