#include "compiler/frontend/analyzer.h"

#include <cmath>
#include <functional>
#include <set>

#include "compiler/frontend/lexer.h"

namespace tarsk::compiler {

bool foldConstant(const Expr& e, Constant& v) {
    switch (e.kind) {
        case ExprKind::Int: v.type = Type::integer(); v.intValue = e.intValue; return true;
        case ExprKind::Float: v.type = Type::floating(); v.floatValue = e.floatValue; return true;
        case ExprKind::String: v.type = Type::string(); v.text = e.text; return true;
        case ExprKind::Name:
            if (!e.constant) return false;
            v = *e.constant;
            return true;
        case ExprKind::Convert: {
            Constant inner;
            if (!foldConstant(*e.args[0], inner)) return false;
            if (e.type.base == BaseType::Float && inner.type.base == BaseType::Int) {
                v.type = Type::floating();
                v.floatValue = float(inner.intValue);
                return true;
            }
            if (e.type.base == BaseType::Int && inner.type.base == BaseType::Float) {
                v.type = Type::integer();
                float f = std::nearbyint(inner.floatValue);
                v.intValue = std::isfinite(f) && std::fabs(f) < 2147483648.0f ? int32_t(f) : INT32_MIN;
                return true;
            }
            if (e.type.base == BaseType::String && inner.type.base == BaseType::Int) {
                v.type = Type::string();
                v.text = std::to_string(inner.intValue);
                return true;
            }
            return false;
        }
        case ExprKind::Unary: {
            Constant a;
            if (!foldConstant(*e.args[0], a)) return false;
            if (e.op == "-" && a.type.base == BaseType::Int) { v.type = a.type; v.intValue = int32_t(0u - uint32_t(a.intValue)); return true; }
            if (e.op == "-" && a.type.base == BaseType::Float) { v.type = a.type; v.floatValue = -a.floatValue; return true; }
            if (e.op == "+") { v = a; return true; }
            if (e.op == "not" && a.type.base == BaseType::Int) { v.type = a.type; v.intValue = a.intValue == 0; return true; }
            return false;
        }
        case ExprKind::Binary: {
            Constant a, b;
            if (!foldConstant(*e.args[0], a) || !foldConstant(*e.args[1], b)) return false;
            if (e.type.base == BaseType::String && e.op == "+" && a.type.base == BaseType::String && b.type.base == BaseType::String) {
                v.type = Type::string();
                v.text = a.text + b.text;
                return true;
            }
            if (a.type.base == BaseType::Int && b.type.base == BaseType::Int && e.type.base == BaseType::Int) {
                uint32_t x = uint32_t(a.intValue), y = uint32_t(b.intValue);
                v.type = Type::integer();
                if (e.op == "+") v.intValue = int32_t(x + y);
                else if (e.op == "-") v.intValue = int32_t(x - y);
                else if (e.op == "*") v.intValue = int32_t(x * y);
                else if (e.op == "and") v.intValue = int32_t(x & y);
                else if (e.op == "or") v.intValue = int32_t(x | y);
                else if (e.op == "xor") v.intValue = int32_t(x ^ y);
                else if (e.op == "shl") v.intValue = int32_t(x << (y & 31));
                else if (e.op == "shr") v.intValue = int32_t(x >> (y & 31));
                else return false;
                return true;
            }
            if (a.type.base == BaseType::Float && b.type.base == BaseType::Float && e.type.base == BaseType::Float) {
                v.type = Type::floating();
                if (e.op == "+") v.floatValue = a.floatValue + b.floatValue;
                else if (e.op == "-") v.floatValue = a.floatValue - b.floatValue;
                else if (e.op == "*") v.floatValue = a.floatValue * b.floatValue;
                else if (e.op == "/") v.floatValue = a.floatValue / b.floatValue;
                else return false;
                return true;
            }
            return false;
        }
        default: return false;
    }
}

namespace {

using Kind = TypeSpec::Kind;

bool isComparison(const std::string& op) {
    return op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=";
}

class Analyzer {
public:
    Analyzer(Program& program, const CommandTable& commands) : p_(program), commands_(commands) {}

    void run() {
        declareRecords();
        collectGlobals(p_.parsed.main);
        collectArrays();
        declareFunctions();
        p_.main.name = "main program";
        p_.main.cname = "__MAIN";
        p_.main.result = Type();
        p_.main.body = &p_.parsed.main;
        int dataCount = 0;
        collectLabels(p_.main, p_.parsed.main, &dataCount);
        for (auto& f : p_.functions) collectLabels(*f, f->decl->body, nullptr);
        analyzeFunction(p_.main);
        for (auto& f : p_.functions) analyzeFunction(*f);
    }

private:
    [[noreturn]] static void fail(const Location& at, const std::string& message) { throw CompileError(at, message); }

    // Types written in the source.
    Type resolve(const TypeSpec& annotation, Type fallback = Type::integer()) {
        switch (annotation.kind) {
            case Kind::Default: return fallback;
            case Kind::Int: return Type::integer();
            case Kind::Float: return Type::floating();
            case Kind::String: return Type::string();
            case Kind::Record: {
                auto found = p_.recordsByName.find(annotation.record);
                if (found == p_.recordsByName.end()) fail(annotation.at, "unknown type '" + annotation.recordShown + "'");
                return Type::object(found->second);
            }
        }
        return fallback;
    }

    void checkAnnotation(const TypeSpec& annotation, const Type& actual, const std::string& what, const Location& at) {
        if (annotation.kind == Kind::Default) return;
        Type written = resolve(annotation);
        if (!(written == actual))
            fail(at, what + " is " + describe(actual) + ", not " + describe(written));
    }

    int32_t constantInt(ExprPtr& e, const std::string& what) {
        constantMode_ = true;
        analyze(e);
        constantMode_ = false;
        Constant c;
        if (!foldConstant(*e, c) || c.type.base != BaseType::Int) fail(e->at, "expected a constant integer for " + what);
        return c.intValue;
    }

    // Declarations.
    void declareRecords() {
        for (auto& decl : p_.parsed.types) {
            if (p_.recordsByName.count(decl->name)) fail(decl->at, "type '" + decl->shown + "' is declared twice");
            auto r = std::make_unique<RecordType>();
            r->name = decl->name;
            r->shown = decl->shown;
            r->at = decl->at;
            r->cname = "_t" + decl->name;
            p_.recordsByName[r->name] = r.get();
            p_.records.push_back(std::move(r));
        }
        for (size_t i = 0; i < p_.parsed.types.size(); ++i) {
            TypeDecl& decl = *p_.parsed.types[i];
            RecordType& r = *p_.records[i];
            for (Declarator& d : decl.fields) {
                for (const RecordField& other : r.fields)
                    if (other.name == d.name) fail(d.at, "field '" + d.shown + "' is declared twice in type " + r.shown);
                RecordField f;
                f.name = d.name;
                f.shown = d.shown;
                f.type = resolve(d.annotation);
                f.at = d.at;
                if (d.vectorSize) f.vectorCount = vectorCount(d.vectorSize);
                r.fields.push_back(f);
            }
        }
    }

    int32_t vectorCount(ExprPtr& size) {
        int32_t highest = constantInt(size, "the vector size");
        if (highest < 0 || highest > (1 << 24)) fail(size->at, "the vector size must be between 0 and 16777216");
        return highest + 1;
    }

    // Globals and constants of the main program, visible everywhere.
    void collectGlobals(const Block& block) {
        for (const StmtPtr& s : block) {
            if (s->kind == StmtKind::Global) {
                for (Declarator& d : s->decls) {
                    if (p_.globalsByName.count(d.name) || p_.globalConstants.count(d.name))
                        fail(d.at, "'" + d.shown + "' is declared twice");
                    auto v = std::make_unique<Variable>();
                    v->name = d.name;
                    v->shown = d.shown;
                    v->type = resolve(d.annotation);
                    v->storage = Storage::Global;
                    v->cname = "_v" + d.name;
                    v->at = d.at;
                    if (d.vectorSize) v->vectorCount = vectorCount(d.vectorSize);
                    d.variable = v.get();
                    p_.globalsByName[d.name] = v.get();
                    p_.globals.push_back(std::move(v));
                }
            } else if (s->kind == StmtKind::Const) {
                for (Declarator& d : s->decls) {
                    if (p_.globalsByName.count(d.name) || p_.globalConstants.count(d.name))
                        fail(d.at, "'" + d.shown + "' is declared twice");
                    p_.globalConstants[d.name] = makeConstant(d);
                }
            }
            for (const Block& b : s->blocks) collectGlobals(b);
            collectGlobals(s->body);
        }
    }

    const Constant* makeConstant(Declarator& d) {
        constantMode_ = true;
        analyze(d.init);
        constantMode_ = false;
        convert(d.init, resolve(d.annotation, d.init->type), "the value of constant " + d.shown);
        auto c = std::make_unique<Constant>();
        if (!foldConstant(*d.init, *c)) fail(d.init->at, "expected a constant value for " + d.shown);
        c->name = d.name;
        c->at = d.at;
        const Constant* result = c.get();
        p_.constants.push_back(std::move(c));
        return result;
    }

    void collectArrays() {
        std::function<void(const Block&)> walk = [&](const Block& block) {
            for (const StmtPtr& s : block) {
                if (s->kind == StmtKind::Dim) {
                    for (Declarator& d : s->decls) {
                        Type element = resolve(d.annotation);
                        auto found = p_.arraysByName.find(d.name);
                        if (found == p_.arraysByName.end()) {
                            auto a = std::make_unique<ArrayInfo>();
                            a->name = d.name;
                            a->shown = d.shown;
                            a->element = element;
                            a->dims = int(d.dims.size());
                            a->cname = "_a" + d.name;
                            a->at = d.at;
                            d.array = a.get();
                            p_.arraysByName[d.name] = a.get();
                            p_.arrays.push_back(std::move(a));
                        } else {
                            ArrayInfo& a = *found->second;
                            if (d.annotation.kind != Kind::Default && !(element == a.element))
                                fail(d.at, "array " + a.shown + " holds " + describe(a.element) + ", not " + describe(element));
                            if (int(d.dims.size()) != a.dims)
                                fail(d.at, "array " + a.shown + " has " + std::to_string(a.dims) + " dimensions, not " + std::to_string(d.dims.size()));
                            d.array = &a;
                        }
                    }
                }
                for (const Block& b : s->blocks) walk(b);
                walk(s->body);
            }
        };
        walk(p_.parsed.main);
        for (auto& f : p_.parsed.functions) walk(f->body);
    }

    void declareFunctions() {
        std::set<std::string> cnames;
        for (auto& decl : p_.parsed.functions) cnames.insert("_f" + decl->name);
        for (auto& decl : p_.parsed.functions) {
            if (p_.functionsByName.count(decl->name)) fail(decl->at, "function '" + decl->shown + "' is declared twice");
            if (p_.arraysByName.count(decl->name)) fail(decl->at, "'" + decl->shown + "' is already an array");
            if (p_.libFunctionsByName.count(decl->name)) fail(decl->at, "'" + decl->shown + "' is already a library function");
            auto f = std::make_unique<Function>();
            f->decl = decl.get();
            f->name = decl->name;
            f->shown = decl->shown;
            f->result = resolve(decl->result);
            // A function named like a runtime command replaces it for this program; its C
            // name differs so that the runtime's own uses of the command stay intact.
            f->cname = "_f" + decl->name;
            if (commands_.find(decl->name)) {
                f->cname += "_user";
                while (cnames.count(f->cname)) f->cname += "_";
                cnames.insert(f->cname);
            }
            f->file = decl->at.file;
            f->at = decl->at;
            f->body = &decl->body;
            for (Declarator& d : decl->params) {
                for (Variable* other : f->params)
                    if (other->name == d.name) fail(d.at, "parameter '" + d.shown + "' is declared twice");
                Variable* v = addLocal(*f, d.name, d.shown, resolve(d.annotation), Storage::Param, d.at);
                d.variable = v;
                f->params.push_back(v);
                if (d.init) {
                    constantMode_ = true;
                    analyze(d.init);
                    constantMode_ = false;
                    convert(d.init, v->type, "the default of parameter " + d.shown);
                    Constant c;
                    if (d.init->type.base != BaseType::Object && d.init->kind != ExprKind::Null && !foldConstant(*d.init, c))
                        fail(d.init->at, "expected a constant default value for parameter " + d.shown);
                    f->defaults.push_back(d.init.get());
                } else {
                    if (!f->defaults.empty() && f->defaults.back())
                        fail(d.at, "parameter " + d.shown + " needs a default value: it follows a parameter with one");
                    f->defaults.push_back(nullptr);
                }
            }
            p_.functionsByName[f->name] = f.get();
            p_.functions.push_back(std::move(f));
        }
    }

    Variable* addLocal(Function& f, const std::string& name, const std::string& shown, Type type, Storage storage, Location at) {
        auto v = std::make_unique<Variable>();
        v->name = name;
        v->shown = shown;
        v->type = type;
        v->storage = storage;
        v->at = at;
        v->cname = storage == Storage::Temp ? "t" + std::to_string(f.locals.size()) : "l_" + name;
        Variable* result = v.get();
        f.locals.push_back(std::move(v));
        if (storage != Storage::Temp) scopes_[&f][name] = result;
        return result;
    }

    Variable* temp(Type type) { return addLocal(*fn_, "", "", type, Storage::Temp, {}); }

    void collectLabels(Function& f, const Block& block, int* dataCount) {
        for (const StmtPtr& s : block) {
            if (s->kind == StmtKind::Label) {
                LabelInfo& label = f.labels[s->label];
                if (label.defined) fail(s->at, "label ." + s->labelShown + " is defined twice");
                label.defined = true;
                label.name = s->label;
                label.shown = s->labelShown;
                label.at = s->at;
                if (dataCount) label.dataIndex = *dataCount;
            } else if (s->kind == StmtKind::Data) {
                if (!dataCount) fail(s->at, "Data is only allowed in the main program, not inside a function");
                *dataCount += int(s->exprs.size());
            }
            for (const Block& b : s->blocks) collectLabels(f, b, dataCount);
            collectLabels(f, s->body, dataCount);
        }
    }

    // Bodies.
    void analyzeFunction(Function& f) {
        fn_ = &f;
        loopDepth_ = 0;
        block(*const_cast<Block*>(f.body));
        fn_ = nullptr;
    }

    void block(Block& b) {
        for (StmtPtr& s : b) statement(*s);
    }

    Variable* findVariable(const std::string& name) {
        auto& scope = scopes_[fn_];
        auto local = scope.find(name);
        if (local != scope.end()) return local->second;
        auto global = p_.globalsByName.find(name);
        return global == p_.globalsByName.end() ? nullptr : global->second;
    }

    const Constant* findConstant(const std::string& name) {
        if (fn_) {
            auto local = fn_->constants.find(name);
            if (local != fn_->constants.end()) return local->second;
        }
        auto global = p_.globalConstants.find(name);
        return global == p_.globalConstants.end() ? nullptr : global->second;
    }

    void statement(Stmt& s) {
        switch (s.kind) {
            case StmtKind::Call: callStatement(s); return;
            case StmtKind::Assign: {
                assignTarget(s.target, &s.value);
                return;
            }
            case StmtKind::If:
                for (ExprPtr& c : s.exprs) condition(c);
                for (Block& b : s.blocks) block(b);
                return;
            case StmtKind::Select: selectStatement(s); return;
            case StmtKind::For: forStatement(s); return;
            case StmtKind::ForEach: forEachStatement(s); return;
            case StmtKind::While:
                condition(s.value);
                loop(s.body);
                return;
            case StmtKind::Repeat:
                loop(s.body);
                if (s.value) condition(s.value);
                return;
            case StmtKind::Exit:
                if (loopDepth_ == 0) fail(s.at, "Exit outside of a loop");
                return;
            case StmtKind::Goto:
            case StmtKind::Gosub: {
                auto found = fn_->labels.find(s.label);
                if (found == fn_->labels.end())
                    fail(s.at, "label ." + s.labelShown + " is not defined in the " + (fn_->decl ? "function " + fn_->shown : "main program"));
                if (s.kind == StmtKind::Gosub) {
                    if (fn_->decl) fail(s.at, "Gosub is only allowed in the main program");
                    found->second.gosubTarget = true;
                    fn_->usesGosub = true;
                }
                s.labelInfo = &found->second;
                return;
            }
            case StmtKind::Restore: {
                p_.readsData = true;
                if (s.label.empty()) return;
                auto found = p_.main.labels.find(s.label);
                if (found == p_.main.labels.end()) fail(s.at, "label ." + s.labelShown + " is not defined in the main program");
                found->second.restoreTarget = true;
                s.labelInfo = &found->second;
                return;
            }
            case StmtKind::Return:
                if (!fn_->decl) {
                    if (s.value) fail(s.value->at, "Return in the main program returns from Gosub and takes no value");
                    fn_->usesGosub = true;
                    return;
                }
                if (s.value) {
                    analyze(s.value);
                    convert(s.value, fn_->result, "the result of function " + fn_->shown);
                }
                return;
            case StmtKind::End:
            case StmtKind::Label: return;
            case StmtKind::Dim:
                for (Declarator& d : s.decls)
                    for (ExprPtr& dim : d.dims) {
                        analyze(dim);
                        convert(dim, Type::integer(), "a highest index of array " + d.shown);
                    }
                return;
            case StmtKind::Local:
                for (Declarator& d : s.decls) localDeclaration(d);
                return;
            case StmtKind::Global:
                if (fn_->decl) fail(s.at, "Global is only allowed in the main program, not inside a function");
                for (Declarator& d : s.decls) initialize(d);
                return;
            case StmtKind::Const:
                if (fn_->decl) {
                    for (Declarator& d : s.decls) {
                        if (fn_->constants.count(d.name) || scopes_[fn_].count(d.name)) fail(d.at, "'" + d.shown + "' is declared twice");
                        fn_->constants[d.name] = makeConstant(d);
                    }
                }
                return;
            case StmtKind::Data: dataStatement(s); return;
            case StmtKind::Read:
                p_.readsData = true;
                for (ExprPtr& target : s.exprs) {
                    assignTarget(target, nullptr);
                    if (!target->type.isNumber() && target->type.base != BaseType::String)
                        fail(target->at, "Read needs an integer, float or string variable, found " + describe(target->type));
                }
                return;
            case StmtKind::Delete:
                analyze(s.target);
                if (s.target->type.base != BaseType::Object) fail(s.target->at, "expected an object after Delete, found " + describe(s.target->type));
                return;
            case StmtKind::DeleteEach: s.record = record(s.label, s.labelShown, s.at); return;
            case StmtKind::Insert: {
                analyze(s.target);
                analyze(s.value);
                if (s.target->type.base != BaseType::Object) fail(s.target->at, "expected an object after Insert, found " + describe(s.target->type));
                if (!(s.value->type == s.target->type))
                    fail(s.value->at, "expected " + describe(s.target->type) + " to insert next to, found " + describe(s.value->type));
                return;
            }
        }
    }

    const RecordType* record(const std::string& name, const std::string& shown, const Location& at) {
        auto found = p_.recordsByName.find(name);
        if (found == p_.recordsByName.end()) fail(at, "unknown type '" + shown + "'");
        return found->second;
    }

    void loop(Block& body) {
        ++loopDepth_;
        block(body);
        --loopDepth_;
    }

    void localDeclaration(Declarator& d) {
        if (scopes_[fn_].count(d.name) || fn_->constants.count(d.name))
            fail(d.at, "'" + d.shown + "' is already declared in the " + (fn_->decl ? "function " + fn_->shown : "main program"));
        Variable* v = addLocal(*fn_, d.name, d.shown, resolve(d.annotation), Storage::Local, d.at);
        if (d.vectorSize) v->vectorCount = vectorCount(d.vectorSize);
        d.variable = v;
        initialize(d);
    }

    void initialize(Declarator& d) {
        if (!d.init) return;
        analyze(d.init);
        convert(d.init, d.variable->type, "the initial value of " + d.shown);
    }

    void dataStatement(Stmt& s) {
        for (ExprPtr& value : s.exprs) {
            constantMode_ = true;
            analyze(value);
            constantMode_ = false;
            Constant c;
            if (!foldConstant(*value, c)) fail(value->at, "expected a constant value in Data");
            DataEntry entry;
            if (c.type.base == BaseType::Int) {
                entry.kind = DataEntry::Kind::Int;
                entry.intValue = c.intValue;
            } else if (c.type.base == BaseType::Float) {
                entry.kind = DataEntry::Kind::Float;
                entry.floatValue = c.floatValue;
            } else if (c.type.base == BaseType::String) {
                entry.kind = DataEntry::Kind::String;
                entry.text = c.text;
            } else {
                fail(value->at, "expected an integer, float or string in Data");
            }
            p_.data.push_back(entry);
        }
    }

    void callStatement(Stmt& s) {
        Expr& call = *s.target;
        if (call.kind == ExprKind::Call && call.args.empty() && findVariable(call.name) && !findCallable(call.name))
            fail(call.at, "expected a statement: '" + call.text + "' is a variable; assign it with '='");
        analyzeCall(s.target, true);
    }

    bool findCallable(const std::string& name) {
        return p_.functionsByName.count(name) || p_.libFunctionsByName.count(name) || commands_.find(name) ||
               p_.arraysByName.count(name) || builtin(name) != Builtin::None;
    }

    void condition(ExprPtr& e) {
        analyze(e);
        if (e->type.base == BaseType::Object || e->type.base == BaseType::Null) {
            // An object is true when it exists.
            auto compare = std::make_unique<Expr>(ExprKind::Binary, e->at);
            compare->op = "<>";
            compare->args.push_back(std::move(e));
            compare->args.push_back(std::make_unique<Expr>(ExprKind::Null, compare->at));
            compare->args[1]->type = Type::null();
            compare->type = Type::integer();
            e = std::move(compare);
            return;
        }
        if (!e->type.isNumber()) fail(e->at, "expected a condition (a number or an object), found " + describe(e->type));
    }

    void selectStatement(Stmt& s) {
        analyze(s.value);
        if (s.value->type.base == BaseType::Void) fail(s.value->at, "expected a value after Select");
        if (s.value->type.base == BaseType::Null) fail(s.value->at, "expected a value after Select, found Null");
        s.temp = temp(s.value->type);
        if (s.value->type.base == BaseType::String) s.temp2 = temp(Type::integer());
        for (auto& values : s.cases)
            for (ExprPtr& v : values) {
                analyze(v);
                convert(v, s.value->type, "a Case value");
            }
        for (Block& b : s.blocks) block(b);
    }

    void forStatement(Stmt& s) {
        assignTarget(s.target, nullptr);
        if (s.target->kind != ExprKind::Name || !s.target->variable)
            fail(s.target->at, "expected a variable after For");
        Type t = s.target->type;
        if (!t.isNumber()) fail(s.target->at, "the For variable must be an integer or a float, not " + describe(t));
        analyze(s.value);
        convert(s.value, t, "the start of the For loop");
        analyze(s.limit);
        convert(s.limit, t, "the end of the For loop");
        s.temp = temp(t);
        if (s.step) {
            constantMode_ = true;
            analyze(s.step);
            constantMode_ = false;
            convert(s.step, t, "the Step");
            Constant c;
            if (!foldConstant(*s.step, c)) fail(s.step->at, "expected a constant Step");
            s.stepInt = c.intValue;
            s.stepFloat = c.floatValue;
        }
        loop(s.body);
    }

    void forEachStatement(Stmt& s) {
        s.record = record(s.label, s.labelShown, s.at);
        Expr& var = *s.target;
        if (var.annotation.kind == Kind::Default) {
            var.annotation.kind = Kind::Record;
            var.annotation.record = s.record->name;
            var.annotation.recordShown = s.record->shown;
        }
        analyze(s.target);
        if (!s.target->variable || s.target->kind != ExprKind::Name) fail(var.at, "expected a variable after For");
        if (!(s.target->type == Type::object(s.record)))
            fail(var.at, "the loop variable '" + var.text + "' is " + describe(s.target->type) + ", not " + describe(Type::object(s.record)));
        if (s.target->variable->vectorCount) fail(var.at, "a vector cannot be a loop variable");
        loop(s.body);
    }

    // Assignment targets; `value` (when given) is converted to the target's type.
    void assignTarget(ExprPtr& target, ExprPtr* value) {
        Expr& t = *target;
        if (t.kind == ExprKind::Name) {
            if (findConstant(t.name) && !findVariable(t.name)) fail(t.at, "cannot assign to constant '" + t.text + "'");
            analyze(target);
            if (target->variable && target->variable->vectorCount)
                fail(t.at, "cannot assign to the vector '" + t.text + "' itself; assign its elements");
        } else if (t.kind == ExprKind::Call) {
            if (!p_.arraysByName.count(t.name)) fail(t.at, "cannot assign to '" + t.text + "': it is not an array");
            analyze(target);
        } else if (t.kind == ExprKind::VectorIndex || t.kind == ExprKind::Field) {
            analyze(target);
            if (t.kind == ExprKind::Field && target->record && target->record->fields[size_t(target->fieldIndex)].vectorCount && !target->hasIndex)
                fail(t.at, "cannot assign to the vector field '" + t.text + "' itself; assign its elements");
        } else {
            fail(t.at, "expected a variable, array element or field to assign to");
        }
        if (value) {
            analyze(*value);
            convert(*value, target->type, "the value assigned to '" + t.text + "'");
        }
    }

    // Expressions.
    static Builtin builtin(const std::string& name) {
        if (name == "str") return Builtin::Str;
        if (name == "int") return Builtin::Int;
        if (name == "float") return Builtin::Float;
        if (name == "abs") return Builtin::Abs;
        if (name == "sgn") return Builtin::Sgn;
        return Builtin::None;
    }

    void convert(ExprPtr& e, const Type& to, const std::string& what) {
        const Type& from = e->type;
        if (from == to) return;
        if (from.base == BaseType::Void) fail(e->at, describeCallee(*e) + " gives no result, but " + what + " needs " + describe(to));
        bool ok = false;
        switch (to.base) {
            case BaseType::Int:
            case BaseType::Float:
            case BaseType::String: ok = from.isNumber() || from.base == BaseType::String; break;
            case BaseType::Object: ok = from.base == BaseType::Null; break;
            default: break;
        }
        if (!ok) {
            std::string hint = to.base == BaseType::String && from.base == BaseType::Object ? " (Str converts an object to text)" : "";
            fail(e->at, "expected " + describe(to) + " for " + what + ", found " + describe(from) + hint);
        }
        if (to.base == BaseType::Object) {
            e->type = to;
            return;
        }
        auto c = std::make_unique<Expr>(ExprKind::Convert, e->at);
        c->type = to;
        c->args.push_back(std::move(e));
        e = std::move(c);
    }

    static std::string describeCallee(const Expr& e) {
        if (e.kind == ExprKind::Call) return "'" + e.text + "'";
        return "the expression";
    }

    void analyze(ExprPtr& e) {
        switch (e->kind) {
            case ExprKind::Int: e->type = Type::integer(); return;
            case ExprKind::Float: e->type = Type::floating(); return;
            case ExprKind::String: e->type = Type::string(); return;
            case ExprKind::Null: e->type = Type::null(); return;
            case ExprKind::Convert: return;
            case ExprKind::Name: name(*e); return;
            case ExprKind::Call: analyzeCall(e, false); return;
            case ExprKind::VectorIndex: vectorIndex(*e); return;
            case ExprKind::Field: field(*e); return;
            case ExprKind::Unary: unary(*e); return;
            case ExprKind::Binary: binary(*e); return;
            case ExprKind::New:
            case ExprKind::First:
            case ExprKind::Last:
                e->record = record(e->annotation.record, e->annotation.recordShown, e->annotation.at);
                e->type = Type::object(e->record);
                return;
            case ExprKind::After:
            case ExprKind::Before:
                analyze(e->args[0]);
                if (e->args[0]->type.base != BaseType::Object)
                    fail(e->args[0]->at, "expected an object after " + std::string(e->kind == ExprKind::After ? "After" : "Before") + ", found " + describe(e->args[0]->type));
                e->type = e->args[0]->type;
                return;
            case ExprKind::Handle:
                analyze(e->args[0]);
                if (!e->args[0]->type.isObjectLike()) fail(e->args[0]->at, "expected an object for Handle, found " + describe(e->args[0]->type));
                e->type = Type::integer();
                return;
            case ExprKind::ObjectCast:
                e->record = record(e->annotation.record, e->annotation.recordShown, e->annotation.at);
                analyze(e->args[0]);
                convert(e->args[0], Type::integer(), "the handle");
                e->type = Type::object(e->record);
                return;
        }
    }

    void name(Expr& e) {
        if (Variable* v = findVariable(e.name)) {
            checkAnnotation(e.annotation, v->type, "'" + e.text + "'", e.at);
            e.variable = v;
            e.type = v->type;
            return;
        }
        if (const Constant* c = findConstant(e.name)) {
            checkAnnotation(e.annotation, c->type, "constant '" + e.text + "'", e.at);
            e.constant = c;
            e.type = c->type;
            return;
        }
        if (constantMode_) fail(e.at, "'" + e.text + "' is not a constant");
        if (p_.functionsByName.count(e.name) || commands_.find(e.name) || p_.libFunctionsByName.count(e.name))
            fail(e.at, "'" + e.text + "' is a function: call it with parentheses, as " + e.text + "()");
        if (p_.arraysByName.count(e.name)) fail(e.at, "'" + e.text + "' is an array: give its indices, as " + e.text + "(...)");
        // First use of a name declares a local variable of the main program or the function.
        Variable* v = addLocal(*fn_, e.name, e.text, resolve(e.annotation), Storage::Local, e.at);
        e.variable = v;
        e.type = v->type;
    }

    void vectorIndex(Expr& e) {
        Variable* v = findVariable(e.name);
        if (!v || !v->vectorCount) fail(e.at, "'" + e.text + "' is not a vector");
        checkAnnotation(e.annotation, v->type, "vector '" + e.text + "'", e.at);
        e.variable = v;
        e.type = v->type;
        analyze(e.args[0]);
        convert(e.args[0], Type::integer(), "the index of vector " + e.text);
    }

    void field(Expr& e) {
        analyze(e.args[0]);
        const Type& object = e.args[0]->type;
        if (object.base != BaseType::Object)
            fail(e.args[0]->at, "expected an object before '\\" + e.text + "', found " + describe(object));
        const RecordType& r = *object.record;
        for (size_t i = 0; i < r.fields.size(); ++i) {
            if (r.fields[i].name != e.name) continue;
            const RecordField& f = r.fields[i];
            e.record = &r;
            e.fieldIndex = int(i);
            e.type = f.type;
            checkAnnotation(e.annotation, f.type, "field '" + e.text + "'", e.at);
            if (e.hasIndex) {
                if (!f.vectorCount) fail(e.at, "field '" + e.text + "' of type " + r.shown + " is not a vector");
                analyze(e.args[1]);
                convert(e.args[1], Type::integer(), "the index of field " + e.text);
            } else if (f.vectorCount) {
                fail(e.at, "field '" + e.text + "' is a vector: give an index, as " + e.text + "[0]");
            }
            return;
        }
        fail(e.at, "type " + r.shown + " has no field '" + e.text + "'");
    }

    void unary(Expr& e) {
        analyze(e.args[0]);
        Type t = e.args[0]->type;
        if (e.op == "not") {
            if (t.isObjectLike()) {
                condition(e.args[0]);
            } else if (!t.isNumber()) {
                fail(e.args[0]->at, "expected a number after Not, found " + describe(t));
            }
            e.type = Type::integer();
            return;
        }
        if (!t.isNumber()) fail(e.args[0]->at, "expected a number after unary '" + e.op + "', found " + describe(t));
        e.type = t;
    }

    void binary(Expr& e) {
        analyze(e.args[0]);
        analyze(e.args[1]);
        Type a = e.args[0]->type, b = e.args[1]->type;
        for (ExprPtr& operand : e.args)
            if (operand->type.base == BaseType::Void) fail(operand->at, describeCallee(*operand) + " gives no result");
        const std::string& op = e.op;
        if (isComparison(op)) {
            e.type = Type::integer();
            if (a.isObjectLike() || b.isObjectLike()) {
                if (op != "=" && op != "<>") fail(e.at, "objects can only be compared with '=' and '<>'");
                if (!a.isObjectLike() || !b.isObjectLike() || (a.base == BaseType::Object && b.base == BaseType::Object && a.record != b.record))
                    fail(e.at, "cannot compare " + describe(a) + " with " + describe(b));
                return;
            }
            Type common = a.base == BaseType::String || b.base == BaseType::String ? Type::string()
                        : a.base == BaseType::Float || b.base == BaseType::Float ? Type::floating() : Type::integer();
            convert(e.args[0], common, "the comparison");
            convert(e.args[1], common, "the comparison");
            return;
        }
        if (op == "+" && (a.base == BaseType::String || b.base == BaseType::String)) {
            e.type = Type::string();
            convert(e.args[0], Type::string(), "the concatenation");
            convert(e.args[1], Type::string(), "the concatenation");
            return;
        }
        for (ExprPtr& operand : e.args) {
            if (operand->type.base == BaseType::String) {
                // A string operand of arithmetic is read as a number.
                bool isFloat = a.base == BaseType::Float || b.base == BaseType::Float;
                convert(operand, isFloat ? Type::floating() : Type::integer(), "'" + op + "'");
            }
            if (!operand->type.isNumber())
                fail(operand->at, "expected a number for '" + op + "', found " + describe(operand->type));
        }
        a = e.args[0]->type;
        b = e.args[1]->type;
        bool integerOnly = op == "and" || op == "or" || op == "xor" || op == "shl" || op == "shr" || op == "sar";
        Type result;
        if (integerOnly) result = Type::integer();
        else if (op == "^") result = Type::floating();
        else result = a.base == BaseType::Float || b.base == BaseType::Float ? Type::floating() : Type::integer();
        convert(e.args[0], result, "'" + op + "'");
        convert(e.args[1], result, "'" + op + "'");
        e.type = result;
    }

    // Calls: arrays, functions, library functions, builtins and commands, in that order.
    void analyzeCall(ExprPtr& ep, bool statement) {
        Expr& e = *ep;
        if (constantMode_) fail(e.at, "'" + e.text + "' is not a constant");
        if (auto a = p_.arraysByName.find(e.name); a != p_.arraysByName.end()) {
            if (statement) fail(e.at, "expected a statement: '" + e.text + "' is an array");
            ArrayInfo& array = *a->second;
            checkAnnotation(e.annotation, array.element, "array '" + e.text + "'", e.at);
            if (int(e.args.size()) != array.dims)
                fail(e.at, "array " + array.shown + " has " + std::to_string(array.dims) + " dimensions, but " + std::to_string(e.args.size()) + " indices are given");
            for (ExprPtr& index : e.args) {
                analyze(index);
                convert(index, Type::integer(), "an index of array " + array.shown);
            }
            e.array = &array;
            e.type = array.element;
            return;
        }
        if (auto f = p_.functionsByName.find(e.name); f != p_.functionsByName.end()) {
            Function& fn = *f->second;
            checkAnnotation(e.annotation, fn.result, "function '" + e.text + "'", e.at);
            size_t required = 0;
            while (required < fn.params.size() && !fn.defaults[required]) ++required;
            checkArgumentCount(e, required, fn.params.size(), "function " + fn.shown);
            for (size_t i = 0; i < e.args.size(); ++i) {
                analyze(e.args[i]);
                convert(e.args[i], fn.params[i]->type, "parameter " + fn.params[i]->shown + " of " + fn.shown);
            }
            e.function = &fn;
            e.type = fn.result;
            return;
        }
        if (auto l = p_.libFunctionsByName.find(e.name); l != p_.libFunctionsByName.end()) {
            const LibFunction& lf = *l->second;
            const_cast<LibFunction&>(lf).used = true;
            checkArgumentCount(e, lf.params.size(), lf.params.size(), "library function " + lf.shown);
            for (size_t i = 0; i < e.args.size(); ++i) {
                analyze(e.args[i]);
                Type want = lf.params[i] == LibFunction::Kind::Float ? Type::floating()
                          : lf.params[i] == LibFunction::Kind::String ? Type::string() : Type::integer();
                convert(e.args[i], want, "parameter " + std::to_string(i + 1) + " of " + lf.shown);
            }
            e.libFunction = &lf;
            e.type = lf.result == LibFunction::Kind::Float ? Type::floating() : lf.result == LibFunction::Kind::String ? Type::string()
                   : lf.result == LibFunction::Kind::Void ? Type() : Type::integer();
            return;
        }
        if (Builtin b = builtin(e.name); b != Builtin::None) {
            builtinCall(e, b);
            return;
        }
        if (const Command* c = commands_.find(e.name)) {
            size_t required = 0;
            while (required < c->params.size() && !c->params[required].hasDefault) ++required;
            checkArgumentCount(e, required, c->params.size(), "command " + c->shown);
            for (size_t i = 0; i < e.args.size(); ++i) {
                analyze(e.args[i]);
                convert(e.args[i], c->params[i].type, "parameter " + c->params[i].name + " of " + c->shown);
            }
            e.command = c;
            e.type = c->result;
            return;
        }
        if (findVariable(e.name)) fail(e.at, "'" + e.text + "' is a variable, not a function or an array");
        if (statement && e.args.empty())
            fail(e.at, "expected a statement, found '" + e.text + "': not a command or function (assign a variable with '=')");
        fail(e.at, "unknown function, array or command '" + e.text + "'");
    }

    void checkArgumentCount(const Expr& e, size_t required, size_t all, const std::string& what) {
        if (e.args.size() > all)
            fail(e.args[all]->at, "too many arguments for " + what + ": it takes " + std::to_string(all));
        if (e.args.size() < required)
            fail(e.at, "too few arguments for " + what + ": expected " + (required == all ? "" : "at least ") + std::to_string(required) + ", found " + std::to_string(e.args.size()));
    }

    void builtinCall(Expr& e, Builtin b) {
        if (e.args.size() != 1) fail(e.at, e.text + " takes exactly one argument");
        analyze(e.args[0]);
        Type t = e.args[0]->type;
        e.builtin = b;
        switch (b) {
            case Builtin::Str:
                if (t.base == BaseType::Null) t = e.args[0]->type = Type::object(nullptr);
                if (t.base == BaseType::Void) fail(e.args[0]->at, describeCallee(*e.args[0]) + " gives no result");
                e.type = Type::string();
                return;
            case Builtin::Int:
            case Builtin::Float:
                e.type = b == Builtin::Int ? Type::integer() : Type::floating();
                convert(e.args[0], e.type, e.text);
                return;
            case Builtin::Abs:
            case Builtin::Sgn:
                if (t.base == BaseType::String) convert(e.args[0], Type::floating(), e.text);
                if (!e.args[0]->type.isNumber()) fail(e.args[0]->at, "expected a number for " + e.text + ", found " + describe(t));
                e.type = e.args[0]->type;
                return;
            case Builtin::None: return;
        }
    }

    Program& p_;
    const CommandTable& commands_;
    Function* fn_ = nullptr;
    int loopDepth_ = 0;
    bool constantMode_ = false;
    std::map<const Function*, std::map<std::string, Variable*>> scopes_;
};

}  // namespace

void analyzeProgram(Program& program, const CommandTable& commands) { Analyzer(program, commands).run(); }

}  // namespace tarsk::compiler
