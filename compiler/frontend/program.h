// The analysed program: every declared name with its type, ready for code generation.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "compiler/frontend/ast.h"

namespace tarsk::compiler {

struct RecordField {
    std::string name;
    std::string shown;
    Type type;
    int32_t vectorCount = 0;  // elements of a vector field; 0 for a plain field
    Location at;
};

struct RecordType {
    std::string name;
    std::string shown;
    Location at;
    std::vector<RecordField> fields;
    std::string cname;  // "_t" + name
};

enum class Storage { Global, Local, Param, Temp };

struct Variable {
    std::string name;
    std::string shown;
    Type type;
    Storage storage = Storage::Local;
    int32_t vectorCount = 0;  // elements of a vector variable; 0 for a scalar
    std::string cname;
    Location at;
};

struct Constant {
    std::string name;
    Type type;
    int32_t intValue = 0;
    float floatValue = 0;
    std::string text;
    Location at;
};

struct ArrayInfo {
    std::string name;
    std::string shown;
    Type element;
    int dims = 0;
    std::string cname;  // "_a" + name
    Location at;
};

// A runtime command, from its registration signature.
struct Command {
    struct Param {
        Type type;
        std::string name;
        bool hasDefault = false;
        std::string defaultText;  // an integer literal, or "" for the empty string
    };
    std::string signature;
    std::string name;  // lower-cased
    std::string shown;
    Type result;       // Void when the command gives nothing
    std::vector<Param> params;
    std::string linkName;
};

// A function of an outside library, from a declaration file.
struct LibFunction {
    enum class Kind { Int, Float, String, Address, Void };
    std::string name;  // lower-cased
    std::string shown;
    Kind result = Kind::Void;
    std::vector<Kind> params;
    std::string exportName;
    int library = 0;
    std::string slot;  // C name of the slot
    Location at;
    bool used = false;  // called by the program
};

struct Library {
    std::string file;
    std::vector<const LibFunction*> functions;
};

struct LabelInfo {
    std::string name;
    std::string shown;
    Location at;
    int dataIndex = 0;  // the first data entry after the label (main program labels)
    bool defined = false;
    bool gosubTarget = false;
    bool restoreTarget = false;
};

struct Function {
    const FunctionDecl* decl = nullptr;  // null for the main program
    std::string name;
    std::string shown;
    Type result;
    std::string cname;
    int file = 0;
    Location at;
    std::vector<Variable*> params;
    std::vector<const Expr*> defaults;  // per parameter, null when none
    std::vector<std::unique_ptr<Variable>> locals;  // params, locals and temporaries
    std::map<std::string, const Constant*> constants;
    std::map<std::string, LabelInfo> labels;
    bool usesGosub = false;
    const Block* body = nullptr;
};

struct DataEntry {
    enum class Kind { Int = 1, Float = 2, String = 4 };
    Kind kind;
    int32_t intValue = 0;
    float floatValue = 0;
    std::string text;
};

struct Program {
    ParsedProgram parsed;
    std::vector<std::unique_ptr<RecordType>> records;
    std::map<std::string, RecordType*> recordsByName;
    std::vector<std::unique_ptr<Variable>> globals;
    std::map<std::string, Variable*> globalsByName;
    std::vector<std::unique_ptr<Constant>> constants;
    std::map<std::string, const Constant*> globalConstants;
    std::vector<std::unique_ptr<ArrayInfo>> arrays;
    std::map<std::string, ArrayInfo*> arraysByName;
    std::vector<std::unique_ptr<Function>> functions;  // user functions, in source order
    std::map<std::string, Function*> functionsByName;
    Function main;
    std::vector<DataEntry> data;
    bool readsData = false;  // Read or Restore appears
    std::vector<Library> libraries;
    std::vector<std::unique_ptr<LibFunction>> libFunctions;
    std::map<std::string, const LibFunction*> libFunctionsByName;
};

}  // namespace tarsk::compiler
