#include "compiler/codegen/unit_emitter.h"

#include <algorithm>

#include "compiler/codegen/c_prelude.h"
#include "compiler/codegen/c_text.h"
#include "compiler/codegen/loop_checks.h"

namespace tarsk::compiler {
namespace {

bool isComparison(const std::string& op) {
    return op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=";
}

std::string cOperator(const std::string& op) {
    if (op == "=") return "==";
    if (op == "<>") return "!=";
    if (op == "and") return "&";
    if (op == "or") return "|";
    if (op == "xor") return "^";
    return op;
}

const char* typeTag(const Type& t) {
    switch (t.base) {
        case BaseType::Int: return "__tbIntType";
        case BaseType::Float: return "__tbFltType";
        case BaseType::String: return "__tbStrType";
        default: return nullptr;
    }
}

std::string elementPointerType(const Type& t) {
    switch (t.base) {
        case BaseType::Int: return "int32_t*";
        case BaseType::Float: return "float*";
        default: return "uint32_t*";
    }
}

// Whether evaluating the expression may change state that other operands read.
bool hasEffects(const Expr& e) {
    if (e.kind == ExprKind::Call && !e.array && e.builtin == Builtin::None) return true;
    if (e.kind == ExprKind::New || e.kind == ExprKind::ObjectCast) return true;
    for (const ExprPtr& a : e.args)
        if (hasEffects(*a)) return true;
    return false;
}

// Constants and plain variables, whose value cannot change while other operands run.
bool isSettled(const Expr& e) {
    return e.kind == ExprKind::Int || e.kind == ExprKind::Float || e.kind == ExprKind::String || e.kind == ExprKind::Null ||
           (e.kind == ExprKind::Name && e.constant);
}

bool needsCleanup(const Variable& v) {
    return v.vectorCount || v.type.base == BaseType::String || v.type.base == BaseType::Object;
}

}  // namespace

UnitEmitter::UnitEmitter(const Program& program, const SourceFiles& files, const CodegenOptions& options)
    : program_(program), files_(files), options_(options) {}

std::string UnitEmitter::cType(const Type& t) {
    switch (t.base) {
        case BaseType::Int: return "int32_t";
        case BaseType::Float: return "float";
        case BaseType::String: return "tbString*";
        case BaseType::Object:
        case BaseType::Null: return "uint32_t";
        case BaseType::Void: return "void";
    }
    return "void";
}

void UnitEmitter::line(const std::string& text) {
    for (int i = 0; i < indent_; ++i) body_ << "    ";
    body_ << text << "\n";
}

std::string UnitEmitter::vectorType(int32_t count, const Type& element) {
    std::string kind = element.base == BaseType::Int ? "i" : element.base == BaseType::Float ? "f"
                     : element.base == BaseType::String ? "s" : "o" + element.record->name;
    std::string name = "tb_vt_" + kind + "_" + std::to_string(count);
    if (!vectorTypes_.count(name)) {
        std::string elementType;
        if (const char* tag = typeTag(element)) {
            elementType = tag;
        } else {
            records_.insert(element.record);
            elementType = element.record->cname;
        }
        vectorTypes_[name] = "\t.balign 4\n" + name + ":\n\t.long 6, " + std::to_string(count) + ", " + elementType + "\n";
    }
    return name;
}

std::string UnitEmitter::variableName(const Variable* v) {
    if (v->storage == Storage::Global) globals_.insert(v);
    return v->cname;
}

// Expressions. Every string expression gives a new string object owned by the code
// that uses it; object expressions give 32-bit object references.
std::string UnitEmitter::expr(const Expr& e) {
    switch (e.kind) {
        case ExprKind::Int: return cInt(e.intValue);
        case ExprKind::Float: return cFloat(e.floatValue);
        case ExprKind::String: return "__tbStrConst(" + cStringLiteral(e.text) + ")";
        case ExprKind::Null: return "0u";
        case ExprKind::Name:
            if (e.constant) {
                const Constant& c = *e.constant;
                if (c.type.base == BaseType::Int) return cInt(c.intValue);
                if (c.type.base == BaseType::Float) return cFloat(c.floatValue);
                return "__tbStrConst(" + cStringLiteral(c.text) + ")";
            }
            return load(place(e));
        case ExprKind::Call:
            if (e.array) return load(place(e));
            return call(e);
        case ExprKind::VectorIndex:
        case ExprKind::Field: return load(place(e));
        case ExprKind::Convert: return convert(e);
        case ExprKind::Unary: {
            std::string a = expr(*e.args[0]);
            if (e.op == "not") return e.args[0]->type.base == BaseType::Float ? "(" + a + " == 0.0f)" : "(" + a + " == 0)";
            if (e.op == "-") return "(-" + a + ")";
            return a;
        }
        case ExprKind::Binary: return binary(e);
        case ExprKind::New:
            records_.insert(e.record);
            return "TB_REF(__tbObjNew(" + e.record->cname + "))";
        case ExprKind::First:
        case ExprKind::Last:
            records_.insert(e.record);
            return std::string("TB_REF(") + (e.kind == ExprKind::First ? "__tbObjFirst(" : "__tbObjLast(") + e.record->cname + "))";
        case ExprKind::After:
        case ExprKind::Before: {
            std::string object = expr(*e.args[0]);
            if (options_.debug) object = "tb_nn(" + object + ")";
            return std::string("TB_REF(") + (e.kind == ExprKind::After ? "__tbObjNext(" : "__tbObjPrev(") + "TB_PTR(" + object + ")))";
        }
        case ExprKind::Handle: return "__tbObjToHandle(TB_PTR(" + expr(*e.args[0]) + "))";
        case ExprKind::ObjectCast:
            records_.insert(e.record);
            return "TB_REF(__tbObjFromHandle(" + expr(*e.args[0]) + ", " + e.record->cname + "))";
    }
    return "0";
}

std::string UnitEmitter::convert(const Expr& e) {
    const Expr& inner = *e.args[0];
    std::string a = expr(inner);
    BaseType from = inner.type.base, to = e.type.base;
    if (to == BaseType::Float && from == BaseType::Int) return "((float)" + a + ")";
    if (to == BaseType::Int && from == BaseType::Float) return "tb_f2i(" + a + ")";
    if (to == BaseType::String && from == BaseType::Int) return "__tbStrFromInt(" + a + ")";
    if (to == BaseType::String && from == BaseType::Float) return "__tbStrFromFloat(" + a + ")";
    if (to == BaseType::Int && from == BaseType::String) return "__tbStrToInt(" + a + ")";
    if (to == BaseType::Float && from == BaseType::String) return "__tbStrToFloat(" + a + ")";
    return a;
}

std::string UnitEmitter::ordered(const std::vector<const Expr*>& operands, std::vector<std::string>& values) {
    // Operands are evaluated from left to right: when one of them has effects, every
    // operand but the last that could see them is computed into a temporary first.
    bool effects = false;
    size_t open = 0;
    for (const Expr* operand : operands) {
        effects = effects || hasEffects(*operand);
        if (!isSettled(*operand)) ++open;
    }
    bool order = effects && open >= 2;
    std::string prefix;
    for (size_t i = 0; i < operands.size(); ++i) {
        std::string value = expr(*operands[i]);
        if (order && i + 1 < operands.size() && !isSettled(*operands[i])) {
            std::string name = "tb_e" + std::to_string(temporaries_++);
            prefix += cType(operands[i]->type) + " " + name + " = " + value + "; ";
            value = name;
        }
        values.push_back(value);
    }
    return prefix;
}

std::string UnitEmitter::sequenced(const std::string& prefix, const std::string& value) {
    return prefix.empty() ? value : "({ " + prefix + value + "; })";
}

std::string UnitEmitter::binary(const Expr& e) {
    const Expr& l = *e.args[0];
    const Expr& r = *e.args[1];
    std::vector<std::string> values;
    std::string prefix = ordered({&l, &r}, values);
    return sequenced(prefix, binaryOf(e, values[0], values[1]));
}

std::string UnitEmitter::binaryOf(const Expr& e, const std::string& a, const std::string& b) {
    const Expr& l = *e.args[0];
    const std::string& op = e.op;
    if (isComparison(op)) {
        if (l.type.isObjectLike())
            return "(__tbObjCompare(TB_PTR(" + a + "), TB_PTR(" + b + ")) " + (op == "=" ? "== 0)" : "!= 0)");
        if (l.type.base == BaseType::String) return "(tb_scmp(" + a + ", " + b + ") " + cOperator(op) + " 0)";
        return "(" + a + " " + cOperator(op) + " " + b + ")";
    }
    if (e.type.base == BaseType::String) return "__tbStrConcat(" + a + ", " + b + ")";
    bool isFloat = e.type.base == BaseType::Float;
    if (op == "^") return "__tbFPow(" + a + ", " + b + ")";
    if (op == "mod") return (isFloat ? "__tbFMod(" : "tb_mod(") + a + ", " + b + ")";
    if (op == "/" && !isFloat) return "tb_div(" + a + ", " + b + ")";
    if (op == "shl" || op == "shr" || op == "sar") return "tb_" + op + "(" + a + ", " + b + ")";
    return "(" + a + " " + cOperator(op) + " " + b + ")";
}

std::string UnitEmitter::arguments(const std::vector<std::string>& args) {
    std::string out;
    for (const std::string& a : args) out += (out.empty() ? "" : ", ") + a;
    return out;
}

std::string UnitEmitter::call(const Expr& e) {
    if (e.function) {
        const Function& f = *e.function;
        functions_.insert(&f);
        std::vector<const Expr*> operands;
        for (size_t i = 0; i < f.params.size(); ++i) operands.push_back(i < e.args.size() ? e.args[i].get() : f.defaults[i]);
        std::vector<std::string> args;
        std::string prefix = ordered(operands, args);
        return sequenced(prefix, f.cname + "(" + arguments(args) + ")");
    }
    if (e.command) {
        const Command& c = *e.command;
        commands_.insert(&c);
        std::vector<const Expr*> operands;
        for (const ExprPtr& a : e.args) operands.push_back(a.get());
        std::vector<std::string> args;
        std::string prefix = ordered(operands, args);
        for (size_t i = e.args.size(); i < c.params.size(); ++i) {
            const Command::Param& p = c.params[i];
            if (p.type.base == BaseType::String)
                args.push_back("__tbStrConst(\"\")");
            else if (p.type.base == BaseType::Float)
                args.push_back("((float)" + p.defaultText + ")");
            else
                args.push_back(cInt(int32_t(std::stol(p.defaultText))));
        }
        return sequenced(prefix, c.linkName + "(" + arguments(args) + ")");
    }
    if (e.libFunction) return libCall(e);
    return builtin(e);
}

std::string UnitEmitter::libCall(const Expr& e) {
    const LibFunction& f = *e.libFunction;
    libFunctions_.insert(&f);
    auto cKind = [](LibFunction::Kind k) -> std::string {
        switch (k) {
            case LibFunction::Kind::Int: return "int32_t";
            case LibFunction::Kind::Float: return "float";
            case LibFunction::Kind::String: return "const char*";
            case LibFunction::Kind::Address: return "void*";
            case LibFunction::Kind::Void: return "void";
        }
        return "void";
    };
    std::string signature;
    std::vector<const Expr*> operands;
    for (const ExprPtr& a : e.args) operands.push_back(a.get());
    std::vector<std::string> values, args;
    std::string prefix = ordered(operands, values);
    for (size_t i = 0; i < f.params.size(); ++i) {
        signature += (i ? ", " : "") + cKind(f.params[i]);
        std::string a = values[i];
        if (f.params[i] == LibFunction::Kind::String) a = "__tbStrToCStr(" + a + ")";
        if (f.params[i] == LibFunction::Kind::Address) a = "(void*)(uintptr_t)(uint32_t)" + a;
        args.push_back(a);
    }
    std::string callExpr = "((" + cKind(f.result) + " (*)(" + (signature.empty() ? "void" : signature) + "))(uintptr_t)" + f.slot + ")(" +
                           arguments(args) + ")";
    if (f.result == LibFunction::Kind::String) callExpr = "__tbCStrToStr(" + callExpr + ")";
    if (f.result == LibFunction::Kind::Address) callExpr = "((int32_t)(uintptr_t)" + callExpr + ")";
    return sequenced(prefix, callExpr);
}

std::string UnitEmitter::builtin(const Expr& e) {
    const Expr& arg = *e.args[0];
    std::string a = expr(arg);
    switch (e.builtin) {
        case Builtin::Str:
            switch (arg.type.base) {
                case BaseType::Int: return "__tbStrFromInt(" + a + ")";
                case BaseType::Float: return "__tbStrFromFloat(" + a + ")";
                case BaseType::String: return a;
                default: return "__tbObjToStr(TB_PTR(" + a + "))";
            }
        case Builtin::Int:
        case Builtin::Float: return a;
        case Builtin::Abs: return (arg.type.base == BaseType::Float ? "tb_fabs(" : "tb_abs(") + a + ")";
        case Builtin::Sgn: return (arg.type.base == BaseType::Float ? "tb_fsgn(" : "tb_sgn(") + a + ")";
        case Builtin::None: break;
    }
    return a;
}

std::string UnitEmitter::condition(const Expr& e) {
    std::string c = expr(e);
    return e.type.base == BaseType::Float ? "(" + c + " != 0.0f)" : c;
}

// Places.
std::string UnitEmitter::fields(const std::string& object) {
    return (options_.debug ? "tb_fields_checked(" : "tb_fields(") + object + ")";
}

std::string UnitEmitter::arrayIndex(const Expr& e) {
    const ArrayInfo& a = *e.array;
    std::string view = a.cname + "_v";
    std::string index;
    for (int k = 0; k < a.dims; ++k) {
        const Expr& indexExpr = *e.args[size_t(k)];
        std::string i = expr(indexExpr);
        bool checked = options_.boundsChecks && !(indexExpr.kind == ExprKind::Name && provenArrays_.count({&a, k, indexExpr.variable}));
        std::string term = checked ? "tb_ai(" + i + ", " + view + "[" + std::to_string(1 + k) + "])" : "(uint64_t)(uint32_t)" + i;
        if (k > 0) term += " * " + view + "[" + std::to_string(a.dims + k) + "]";
        index += (k ? " + " : "") + term;
    }
    return index;
}

UnitEmitter::Place UnitEmitter::place(const Expr& e) {
    Place p;
    p.type = e.type;
    std::string pointer = elementPointerType(e.type);
    auto vectorElement = [&](const std::string& storage, int32_t count, const Expr& index, const Variable* vector) {
        std::string i = expr(index);
        bool checked = options_.boundsChecks && !(vector && index.kind == ExprKind::Name && provenVectors_.count({vector, index.variable}));
        i = checked ? "tb_vi(" + i + ", " + std::to_string(count) + ")" : "(uint32_t)" + i;
        return "((" + pointer + ")(uintptr_t)" + storage + ")[" + i + "]";
    };
    switch (e.kind) {
        case ExprKind::Name:
            p.lvalue = variableName(e.variable);
            p.wide = e.type.base == BaseType::String;
            return p;
        case ExprKind::Call:
            arrays_.insert(e.array);
            p.lvalue = "((" + pointer + ")(uintptr_t)" + e.array->cname + "_v[0])[" + arrayIndex(e) + "]";
            return p;
        case ExprKind::VectorIndex:
            p.lvalue = vectorElement(variableName(e.variable), e.variable->vectorCount, *e.args[0], e.variable);
            return p;
        case ExprKind::Field: {
            const RecordField& f = e.record->fields[size_t(e.fieldIndex)];
            std::string word = fields(expr(*e.args[0])) + "[" + std::to_string(e.fieldIndex) + "]";
            if (f.vectorCount)
                p.lvalue = vectorElement(word, f.vectorCount, *e.args[1], nullptr);
            else
                p.lvalue = e.type.base == BaseType::Int ? "((int32_t*)" + fields(expr(*e.args[0])) + ")[" + std::to_string(e.fieldIndex) + "]"
                         : e.type.base == BaseType::Float ? "((float*)" + fields(expr(*e.args[0])) + ")[" + std::to_string(e.fieldIndex) + "]"
                         : word;
            return p;
        }
        default: return p;
    }
}

std::string UnitEmitter::load(const Place& p) {
    if (p.type.base == BaseType::String) return p.wide ? "__tbStrLoad(&" + p.lvalue + ")" : "tb_sload32(" + p.lvalue + ")";
    return p.lvalue;
}

std::string UnitEmitter::store(const Place& p, const std::string& value) {
    switch (p.type.base) {
        case BaseType::String:
            return p.wide ? "__tbStrStore(&" + p.lvalue + ", " + value + ");" : "tb_sstore32(&" + p.lvalue + ", " + value + ");";
        case BaseType::Object: return "__tbObjStore(&" + p.lvalue + ", TB_PTR(" + value + "));";
        default: return p.lvalue + " = " + value + ";";
    }
}

// Statements.
void UnitEmitter::lineDirective(const Location& at) {
    if (at.line <= 0) return;
    if (at.file != lastFile_ || at.line != lastLine_) {
        body_ << "#line " << at.line << " " << cStringLiteral(files_[at.file].path) << "\n";
        lastFile_ = at.file;
        lastLine_ = at.line;
    }
    if (options_.debug) {
        sourceFiles_.insert(at.file);
        line("__tbDebugStmt(" + std::to_string(at.line) + ", TB_ADDR(tb_file_" + std::to_string(at.file) + "));");
    }
}

void UnitEmitter::loopBody(const Block& b, const std::string& exitFixup) {
    exitFixups_.push_back(exitFixup);
    ++indent_;
    block(b);
    --indent_;
    exitFixups_.pop_back();
}

void UnitEmitter::block(const Block& b) {
    for (const StmtPtr& s : b) statement(*s);
}

void UnitEmitter::statement(const Stmt& s) {
    if (s.kind != StmtKind::Label && s.kind != StmtKind::Data && s.kind != StmtKind::Const) lineDirective(s.at);
    switch (s.kind) {
        case StmtKind::Call: {
            const Expr& c = *s.target;
            std::string text = expr(c);
            if (c.type.base == BaseType::String) line("__tbStrRelease(" + text + ");");
            else if (c.type.base == BaseType::Void) line(text + ";");
            else line("(void)" + text + ";");
            return;
        }
        case StmtKind::Assign:
            if (!appendInPlace(*s.target, *s.value)) line(store(place(*s.target), expr(*s.value)));
            return;
        case StmtKind::If:
            for (size_t i = 0; i < s.blocks.size(); ++i) {
                if (i < s.exprs.size())
                    line((i == 0 ? "if (" : "} else if (") + condition(*s.exprs[i]) + ") {");
                else
                    line("} else {");
                ++indent_;
                block(s.blocks[i]);
                --indent_;
            }
            line("}");
            return;
        case StmtKind::Select: selectStatement(s); return;
        case StmtKind::For: forStatement(s); return;
        case StmtKind::ForEach: {
            std::string var = place(*s.target).lvalue;
            records_.insert(s.record);
            if (walkNeedsCounts(s.body, s.target->variable)) {
                line("if (__tbObjEachFirst(&" + var + ", " + s.record->cname + ")) do {");
                loopBody(s.body, "");
                line("} while (__tbObjEachNext(&" + var + "));");
                return;
            }
            // The variable holds the objects uncounted while the walk runs; Exit counts
            // the object it stops at.
            // The walk follows the used list from its sentinel (descriptor word 1), skipping
            // deleted objects, the way the runtime's walk does.
            line("__tbObjStore(&" + var + ", 0);");
            line("for (" + var + " = TB_PTR(TB_REF(&" + s.record->cname + "[1]))->next; ; " + var + " = TB_PTR(" + var + ")->next) {");
            line("    if (" + var + " == TB_REF(&" + s.record->cname + "[1])) { " + var + " = 0; break; }");
            line("    if (!TB_PTR(" + var + ")->fields) continue;");
            loopBody(s.body, "{ uint32_t tb_o = " + var + "; " + var + " = 0; __tbObjStore(&" + var + ", TB_PTR(tb_o)); }");
            line("}");
            return;
        }
        case StmtKind::While:
            line("while (" + condition(*s.value) + ") {");
            loopBody(s.body, "");
            line("}");
            return;
        case StmtKind::Repeat:
            line(s.forever ? "for (;;) {" : "do {");
            loopBody(s.body, "");
            if (s.forever) {
                line("}");
            } else {
                lineDirective(s.value->at);
                line("} while (!" + condition(*s.value) + ");");
            }
            return;
        case StmtKind::Exit:
            if (!exitFixups_.back().empty()) line(exitFixups_.back());
            line("break;");
            return;
        case StmtKind::Goto: line("goto L_" + s.label + ";"); return;
        case StmtKind::Gosub: {
            std::string back = "tb_back" + std::to_string(labels_++);
            line("if (tb_gosp == 1024) tb_fail(\"Stack overflow!\");");
            line("tb_gostack[tb_gosp++] = &&" + back + ";");
            line("goto L_" + s.label + ";");
            body_ << back << ":;\n";
            return;
        }
        case StmtKind::Return:
            if (!fn_->decl) {
                line("if (tb_gosp == 0) tb_fail(\"Return without Gosub\");");
                line("goto *tb_gostack[--tb_gosp];");
            } else if (fn_->result.base == BaseType::String) {
                line("{ tbString* tb_value = " + (s.value ? expr(*s.value) : "__tbStrConst(\"\")") + "; __tbStrRelease(tb_result); tb_result = tb_value; }");
                line("goto tb_exit;");
            } else {
                if (s.value) line("tb_result = " + expr(*s.value) + ";");
                line("goto tb_exit;");
            }
            return;
        case StmtKind::End: line("_fend();"); return;
        case StmtKind::Label: body_ << "L_" << s.label << ":;\n"; return;
        case StmtKind::Dim: dimStatement(s); return;
        case StmtKind::Local:
        case StmtKind::Global:
            for (const Declarator& d : s.decls) {
                if (!d.init) continue;
                Place p;
                p.lvalue = variableName(d.variable);
                p.type = d.variable->type;
                p.wide = p.type.base == BaseType::String;
                line(store(p, expr(*d.init)));
            }
            return;
        case StmtKind::Const:
        case StmtKind::Data: return;
        case StmtKind::Read:
            for (const ExprPtr& target : s.exprs) {
                const char* read = target->type.base == BaseType::Int ? "__tbReadInt()" : target->type.base == BaseType::Float ? "__tbReadFloat()" : "__tbReadStr()";
                line(store(place(*target), read));
            }
            return;
        case StmtKind::Restore: {
            int index = s.labelInfo ? s.labelInfo->dataIndex : 0;
            usesData_ = true;
            line("__tbRestore(&tb_data[" + std::to_string(2 * index) + "]);");
            return;
        }
        case StmtKind::Delete: line("__tbObjDelete(TB_PTR(" + expr(*s.target) + "));"); return;
        case StmtKind::DeleteEach:
            records_.insert(s.record);
            line("__tbObjDeleteEach(" + s.record->cname + ");");
            return;
        case StmtKind::Insert: {
            std::string a = expr(*s.target), b = expr(*s.value);
            if (options_.debug) {
                a = "tb_nn(" + a + ")";
                b = "tb_nn(" + b + ")";
            }
            line(std::string(s.before ? "__tbObjInsBefore" : "__tbObjInsAfter") + "(TB_PTR(" + a + "), TB_PTR(" + b + "));");
            return;
        }
    }
}

// "text = text + a + b" appends to the variable's own string instead of copying it.
// The appended operands are computed first, so they still see the old value.
bool UnitEmitter::appendInPlace(const Expr& target, const Expr& value) {
    if (target.kind != ExprKind::Name || target.type.base != BaseType::String || !target.variable) return false;
    std::vector<const Expr*> chain;
    const Expr* head = &value;
    while (head->kind == ExprKind::Binary && head->op == "+" && head->type.base == BaseType::String) {
        chain.push_back(head->args[1].get());
        head = head->args[0].get();
    }
    if (chain.empty() || head->kind != ExprKind::Name || head->variable != target.variable) return false;
    std::reverse(chain.begin(), chain.end());
    bool global = target.variable->storage == Storage::Global;
    for (const Expr* operand : chain)
        if (global && hasEffects(*operand)) return false;  // a function could change the global meanwhile
    std::vector<std::string> values;
    std::string prefix = ordered(chain, values);
    std::string tail = values[0];
    for (size_t i = 1; i < values.size(); ++i) tail = "__tbStrConcat(" + tail + ", " + values[i] + ")";
    line("tb_append(&" + variableName(target.variable) + ", " + sequenced(prefix, tail) + ");");
    return true;
}

void UnitEmitter::selectStatement(const Stmt& s) {
    const Variable& subject = *s.temp;
    const Type& t = subject.type;
    line(subject.cname + " = " + expr(*s.value) + ";");
    auto match = [&](const Expr& value) {
        std::string v = expr(value);
        if (t.base == BaseType::String) return "tb_scmp(__tbStrLoad(&" + subject.cname + "), " + v + ") == 0";
        if (t.base == BaseType::Object) return "__tbObjCompare(TB_PTR(" + subject.cname + "), TB_PTR(" + v + ")) == 0";
        return subject.cname + " == " + v;
    };
    auto anyOf = [&](const std::vector<ExprPtr>& values) {
        std::string c;
        for (const ExprPtr& v : values) c += (c.empty() ? "" : " || ") + match(*v);
        return c;
    };
    size_t branches = s.blocks.size();
    if (t.base == BaseType::String) {
        // Decide the branch first, so that the subject is released before any branch runs.
        const std::string& k = s.temp2->cname;
        line(k + " = 0;");
        for (size_t i = 0; i < s.cases.size(); ++i)
            line((i ? "else if (" : "if (") + anyOf(s.cases[i]) + ") " + k + " = " + std::to_string(i + 1) + ";");
        line("__tbStrRelease(" + subject.cname + "); " + subject.cname + " = 0;");
        for (size_t i = 0; i < branches; ++i) {
            bool isDefault = i == s.cases.size();
            line((i ? "} else " : "") + std::string(isDefault ? (i ? "{" : "{") : "if (" + k + " == " + std::to_string(i + 1) + ") {"));
            ++indent_;
            block(s.blocks[i]);
            --indent_;
        }
        if (branches) line("}");
        return;
    }
    for (size_t i = 0; i < branches; ++i) {
        bool isDefault = i == s.cases.size();
        line((i ? "} else " : "") + std::string(isDefault ? "{" : "if (" + anyOf(s.cases[i]) + ") {"));
        ++indent_;
        block(s.blocks[i]);
        --indent_;
    }
    if (branches) line("}");
}

void UnitEmitter::forStatement(const Stmt& s) {
    std::string var = place(*s.target).lvalue;
    const std::string& limit = s.temp->cname;
    bool isFloat = s.target->type.base == BaseType::Float;
    bool down = isFloat ? s.stepFloat < 0 : s.stepInt < 0;
    std::string step = isFloat ? cFloat(s.stepFloat) : cInt(s.stepInt);
    line(var + " = " + expr(*s.value) + ";");
    line(limit + " = " + expr(*s.limit) + ";");
    std::string header = "for (; " + var + (down ? " >= " : " <= ") + limit + "; " + var + " += " + step + ") {";
    const Variable* v = s.target->variable;
    if (!isFloat && s.stepInt != 0 && !mayChangeVariable(s.body, v)) {
        // The trip count is known before the loop starts, which lets the C compiler
        // optimise it as a counted loop; the variable ends one step past the end.
        std::string distance = down ? "(uint32_t)" + var + " - (uint32_t)" + limit : "(uint32_t)" + limit + " - (uint32_t)" + var;
        std::string magnitude = std::to_string(down ? -int64_t(s.stepInt) : int64_t(s.stepInt));
        header = "if (" + var + (down ? " >= " : " <= ") + limit + ") for (uint64_t tb_n = (uint64_t)(" + distance + ") / " + magnitude +
                 "u + 1; tb_n != 0; --tb_n, " + var + " += " + step + ") {";
    }
    auto loop = [&] {
        line(header);
        loopBody(s.body, "");
        line("}");
    };
    LoopIndexing indexing;
    if (isFloat || !options_.boundsChecks || !hoistableIndexing(s.body, v, indexing) || indexing.empty()) {
        loop();
        return;
    }
    // Indices the loop variable gives lie between its first and last value: when both are
    // in range, the loop runs without per-element checks.
    std::string inRange;
    auto both = [&](const std::string& count) {
        for (const std::string& end : {var, limit})
            inRange += (inRange.empty() ? "" : " && ") + ("(uint64_t)(uint32_t)" + end + " < " + count);
    };
    for (const auto& [array, dim] : indexing.arrayDimensions) {
        arrays_.insert(array);
        both(array->cname + "_v[" + std::to_string(1 + dim) + "]");
    }
    for (const Variable* vector : indexing.vectors) both(std::to_string(vector->vectorCount) + "u");
    line("if (" + inRange + ") {");
    ++indent_;
    for (const auto& [array, dim] : indexing.arrayDimensions) provenArrays_.insert({array, dim, v});
    for (const Variable* vector : indexing.vectors) provenVectors_.insert({vector, v});
    loop();
    for (const auto& [array, dim] : indexing.arrayDimensions) provenArrays_.erase({array, dim, v});
    for (const Variable* vector : indexing.vectors) provenVectors_.erase({vector, v});
    --indent_;
    line("} else {");
    ++indent_;
    lastLine_ = -1;  // the copy of the body needs its line directives again
    loop();
    --indent_;
    line("}");
}

void UnitEmitter::dimStatement(const Stmt& s) {
    for (const Declarator& d : s.decls) {
        const ArrayInfo& a = *d.array;
        arrays_.insert(&a);
        std::string highest;
        for (const ExprPtr& dim : d.dims) highest += (highest.empty() ? "" : ", ") + expr(*dim);
        line("{ const int32_t tb_highest[" + std::to_string(a.dims) + "] = {" + highest + "}; tb_dim(" + a.cname + ", " + a.cname +
             "_v, " + std::to_string(a.dims) + ", tb_highest); }");
    }
}

std::string UnitEmitter::functionPrototype(const Function& f) {
    std::string params;
    for (const Variable* p : f.params)
        params += (params.empty() ? "" : ", ") + cType(p->type) + " " + (p->type.base == BaseType::Object ? "a_" + p->name : p->cname);
    return cType(f.result) + " " + f.cname + "(" + (params.empty() ? "void" : params) + ")";
}

void UnitEmitter::emitFunction(const Function& f) {
    fn_ = &f;
    lastLine_ = -1;
    body_ << "\n" << functionPrototype(f) << " {\n";
    for (const auto& v : f.locals) {
        if (v->storage == Storage::Param && v->type.base != BaseType::Object) continue;
        std::string type = v->vectorCount ? "uint32_t" : cType(v->type);
        line(type + " " + v->cname + " = 0;");
    }
    if (f.result.base != BaseType::Void) line(cType(f.result) + " tb_result = 0;");
    if (f.usesGosub) {
        line("void* tb_gostack[1024];");
        line("int tb_gosp = 0;");
    }
    body_ << startup_;
    startup_.clear();
    for (const auto& v : f.locals) {
        if (v->storage == Storage::Param && v->type.base == BaseType::Object) line("__tbObjStore(&" + v->cname + ", TB_PTR(a_" + v->name + "));");
        if (v->vectorCount) line(v->cname + " = TB_REF(__tbVecAlloc(" + vectorType(v->vectorCount, v->type) + "));");
    }
    block(*f.body);
    body_ << "tb_exit:;\n";
    for (const auto& v : f.locals) {
        if (!needsCleanup(*v)) continue;
        if (v->vectorCount) line("__tbVecFree((void*)(uintptr_t)" + v->cname + ", " + vectorType(v->vectorCount, v->type) + ");");
        else if (v->type.base == BaseType::String) line("__tbStrRelease(" + v->cname + ");");
        else line("__tbObjRelease(TB_PTR(" + v->cname + "));");
    }
    if (f.result.base == BaseType::String) line("if (!tb_result) tb_result = __tbStrConst(\"\");");
    if (f.result.base != BaseType::Void) line("return tb_result;");
    body_ << "}\n";
    fn_ = nullptr;
}

std::string UnitEmitter::declarations() {
    std::ostringstream out;
    for (int file : sourceFiles_)
        out << "static const char tb_file_" << file << "[] = " << cStringLiteral(files_[file].path) << ";\n";
    for (const Command* c : commands_) {
        std::string params;
        for (const Command::Param& p : c->params) params += (params.empty() ? "" : ", ") + cType(p.type);
        out << cType(c->result) << " " << c->linkName << "(" << (params.empty() ? "void" : params) << ");\n";
    }
    for (const Function* f : functions_) out << functionPrototype(*f) << ";\n";
    for (const Variable* v : globals_) out << "extern " << (v->vectorCount ? "uint32_t" : cType(v->type)) << " " << v->cname << ";\n";
    for (const ArrayInfo* a : arrays_)
        out << "extern uint32_t " << a->cname << "[];\nextern uint64_t " << a->cname << "_v[];\n";
    for (const RecordType* r : records_) out << "extern uint32_t " << r->cname << "[];\n";
    if (usesData_) out << "extern uint32_t tb_data[];\n";
    for (const LibFunction* f : libFunctions_) out << "extern uint32_t " << f->slot << ";\n";
    for (const auto& [name, definition] : vectorTypes_) out << "extern uint32_t " << name << "[];\n";
    if (!vectorTypes_.empty()) {
        out << "__asm__(\".section .data\\n\"\n";
        for (const auto& [name, definition] : vectorTypes_) {
            size_t start = 0;
            while (start < definition.size()) {
                size_t end = definition.find('\n', start);
                out << "    " << cStringLiteral(definition.substr(start, end - start) + "\n") << "\n";
                start = end + 1;
            }
        }
        out << "    \".text\\n\");\n";
    }
    return out.str();
}

std::string UnitEmitter::finish() {
    std::string body = body_.str();
    std::string debugHelpers = options_.debug
        ? "static inline uint32_t tb_nn(uint32_t o) { if (__builtin_expect(o == 0, 0)) __tbNullObjEx(); return o; }\n" : "";
    return std::string(cPrelude()) + debugHelpers + declarations() + topLevel_ + body;
}

}  // namespace tarsk::compiler
