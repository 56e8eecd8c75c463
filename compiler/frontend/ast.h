// The syntax tree of a program, with the slots semantic analysis fills in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiler/frontend/source_files.h"
#include "compiler/frontend/types.h"

namespace tarsk::compiler {

struct Variable;
struct Constant;
struct Function;
struct Command;
struct ArrayInfo;
struct LibFunction;
struct LabelInfo;

// A type written in the source: a sigil, ".Record" or nothing.
struct TypeSpec {
    enum class Kind { Default, Int, Float, String, Record };
    Kind kind = Kind::Default;
    std::string record;  // lower-cased
    std::string recordShown;
    Location at;
};

enum class Builtin { None, Str, Int, Float, Abs, Sgn };

enum class ExprKind {
    Int, Float, String, Null,
    Name,        // a variable or constant
    Call,        // name(args): function, command, library function, array element or builtin
    VectorIndex, // name[index]
    Field,       // object\field, optionally object\field[index]
    Unary, Binary,
    New, First, Last, After, Before, Handle, ObjectCast,
    Convert      // inserted by analysis
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    ExprKind kind;
    Location at;
    int32_t intValue = 0;
    float floatValue = 0;
    std::string text;   // string literal, or a name as written
    std::string name;   // lower-cased name (Name, Call, VectorIndex, Field)
    TypeSpec annotation;      // sigil or record written on a name; the record of New, First, Last, Object
    std::string op;     // "+", "-", "*", "/", "^", "mod", "shl", "shr", "sar", "and", "or", "xor", "not", "=", "<>", "<", ">", "<=", ">="
    std::vector<ExprPtr> args;  // operands, arguments, object of a field access, index
    bool hasIndex = false;      // Field with "[index]" (the index is args[1])
    int depth = 0;              // operator nesting below this node, bounded by the parser

    // Filled by analysis.
    Type type;
    Variable* variable = nullptr;
    const Constant* constant = nullptr;
    Function* function = nullptr;
    const Command* command = nullptr;
    ArrayInfo* array = nullptr;
    const LibFunction* libFunction = nullptr;
    const RecordType* record = nullptr;  // Field: the object's type; New/First/Last/ObjectCast: the type
    int fieldIndex = -1;
    Builtin builtin = Builtin::None;

    Expr(ExprKind k, Location l) : kind(k), at(l) {}
};

// One name declared by Local, Global, Const, Field, Dim or a parameter list.
struct Declarator {
    Location at;
    std::string name;  // lower-cased
    std::string shown;
    TypeSpec annotation;
    ExprPtr init;                 // initial value, constant value or parameter default
    ExprPtr vectorSize;           // "[highest index]"
    std::vector<ExprPtr> dims;    // Dim highest indices
    Variable* variable = nullptr; // filled by analysis
    ArrayInfo* array = nullptr;
};

enum class StmtKind {
    Call, Assign, If, Select, For, ForEach, While, Repeat, Exit, Goto, Gosub, Return, End,
    Label, Dim, Local, Global, Const, Data, Read, Restore, Delete, DeleteEach, Insert
};

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct Stmt {
    StmtKind kind;
    Location at;
    ExprPtr target;  // Assign, For, ForEach: the variable; Delete, Insert: the object; Call: the call
    ExprPtr value;   // Assign value; For start; Select subject; Return value; Repeat Until; While condition; Insert target
    ExprPtr limit;   // For To
    ExprPtr step;    // For Step
    std::vector<ExprPtr> exprs;                // If conditions (one per branch), Read targets, Data values
    std::vector<Block> blocks;                 // If branches (then, elseifs, else last); Select cases (default last)
    std::vector<std::vector<ExprPtr>> cases;   // Select: the values of each Case
    Block body;                                // loops
    std::string label;                         // Goto, Gosub, Restore, Label (lower-cased); ForEach type
    std::string labelShown;
    std::vector<Declarator> decls;             // Local, Global, Const, Dim
    bool hasElse = false;      // If with Else; Select with Default
    bool forever = false;      // Repeat ... Forever
    bool before = false;       // Insert ... Before

    // Filled by analysis.
    const RecordType* record = nullptr;  // ForEach, DeleteEach
    int32_t stepInt = 1;
    float stepFloat = 1;
    LabelInfo* labelInfo = nullptr;
    Variable* temp = nullptr;   // For limit, Select subject
    Variable* temp2 = nullptr;

    Stmt(StmtKind k, Location l) : kind(k), at(l) {}
};

struct TypeDecl {
    Location at;
    std::string name;
    std::string shown;
    std::vector<Declarator> fields;
};

struct FunctionDecl {
    Location at;
    std::string name;
    std::string shown;
    TypeSpec result;
    std::vector<Declarator> params;
    Block body;
};

struct ParsedProgram {
    Block main;
    std::vector<std::unique_ptr<FunctionDecl>> functions;
    std::vector<std::unique_ptr<TypeDecl>> types;
};

}  // namespace tarsk::compiler
