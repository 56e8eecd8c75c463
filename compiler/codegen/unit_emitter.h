// Emitting the C code of functions into one translation unit. The unit declares only
// what its code uses, so that a change elsewhere in the program leaves its text alone.
#pragma once

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "compiler/frontend/program.h"

namespace tarsk::compiler {

struct CodegenOptions {
    bool debug = false;         // statement hooks and null-object checks
    bool boundsChecks = true;   // array and vector index checks
    size_t unitStatements = 2000;  // statements of functions per translation unit
};

class UnitEmitter {
public:
    UnitEmitter(const Program& program, const SourceFiles& files, const CodegenOptions& options);

    void emitFunction(const Function& f);
    // Code placed before the body of the next function emitted (the program unit's start-up).
    void setStartup(std::string code) { startup_ = std::move(code); }
    // Extra top-level text (the program unit's static data) placed after the declarations.
    void addTopLevel(const std::string& text) { topLevel_ += text; }
    // The whole unit: prelude, declarations, top-level text, functions.
    std::string finish();

    // C type of a value ("int32_t", "float", "tbString*", "uint32_t").
    static std::string cType(const Type& t);
    // Name of the vector type descriptor for `count` elements of type `element`, declared in this unit.
    std::string vectorType(int32_t count, const Type& element);

private:
    std::string expr(const Expr& e);
    std::string convert(const Expr& e);
    std::string binary(const Expr& e);
    std::string binaryOf(const Expr& e, const std::string& a, const std::string& b);
    std::string ordered(const std::vector<const Expr*>& operands, std::vector<std::string>& values);
    static std::string sequenced(const std::string& prefix, const std::string& value);
    std::string call(const Expr& e);
    std::string builtin(const Expr& e);
    std::string libCall(const Expr& e);
    std::string arguments(const std::vector<std::string>& args);
    std::string condition(const Expr& e);
    // An assignable place: its C lvalue and how values are kept there.
    struct Place {
        std::string lvalue;
        Type type;
        bool wide = false;  // a string variable of pointer size, rather than a 32-bit word
    };
    Place place(const Expr& e);
    std::string load(const Place& p);
    std::string store(const Place& p, const std::string& value);
    std::string fields(const std::string& object);
    std::string arrayIndex(const Expr& e);
    std::string variableName(const Variable* v);

    void block(const Block& b);
    void loopBody(const Block& b, const std::string& exitFixup);
    void statement(const Stmt& s);
    void lineDirective(const Location& at);
    void selectStatement(const Stmt& s);
    bool appendInPlace(const Expr& target, const Expr& value);
    void forStatement(const Stmt& s);
    void dimStatement(const Stmt& s);
    void line(const std::string& text);

    std::string declarations();
    std::string functionPrototype(const Function& f);

    const Program& program_;
    const SourceFiles& files_;
    CodegenOptions options_;
    std::ostringstream body_;
    std::string topLevel_;
    std::string startup_;
    int indent_ = 1;
    int lastLine_ = -1;
    int lastFile_ = -1;
    int labels_ = 0;
    int temporaries_ = 0;
    bool usesData_ = false;
    std::vector<std::string> exitFixups_;  // per enclosing loop: code that Exit runs before leaving
    const Function* fn_ = nullptr;

    std::set<const Function*> functions_;
    std::set<const Command*> commands_;
    std::set<const Variable*> globals_;
    std::set<const ArrayInfo*> arrays_;
    std::set<const RecordType*> records_;
    std::set<const LibFunction*> libFunctions_;
    std::set<int> sourceFiles_;
    std::map<std::string, std::string> vectorTypes_;  // name -> assembler definition
    // Indexing whose range a surrounding loop has checked: (array, dimension, index variable).
    std::set<std::tuple<const ArrayInfo*, int, const Variable*>> provenArrays_;
    std::set<std::pair<const Variable*, const Variable*>> provenVectors_;  // (vector, index variable)
};

}  // namespace tarsk::compiler
