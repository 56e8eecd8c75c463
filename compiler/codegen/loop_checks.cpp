#include "compiler/codegen/loop_checks.h"

namespace tarsk::compiler {
namespace {

bool isVariable(const Expr& e, const Variable* v) { return e.kind == ExprKind::Name && e.variable == v; }

bool scanExpr(const Expr& e, const Variable* v, LoopIndexing& out) {
    if (e.kind == ExprKind::Call && e.function) return false;  // program code may Dim or assign
    if (e.kind == ExprKind::Call && e.array)
        for (size_t k = 0; k < e.args.size(); ++k)
            if (isVariable(*e.args[k], v)) out.arrayDimensions.insert({e.array, int(k)});
    if (e.kind == ExprKind::VectorIndex && isVariable(*e.args[0], v)) out.vectors.insert(e.variable);
    for (const ExprPtr& a : e.args)
        if (!scanExpr(*a, v, out)) return false;
    return true;
}

bool scanBlock(const Block& body, const Variable* v, LoopIndexing& out) {
    for (const StmtPtr& s : body) {
        switch (s->kind) {
            case StmtKind::Label:
            case StmtKind::Goto:
            case StmtKind::Gosub:
            case StmtKind::Dim: return false;
            default: break;
        }
        if ((s->kind == StmtKind::Assign || s->kind == StmtKind::For || s->kind == StmtKind::ForEach) && isVariable(*s->target, v))
            return false;
        for (const ExprPtr& e : s->exprs) {
            if (s->kind == StmtKind::Read && isVariable(*e, v)) return false;
            if (!scanExpr(*e, v, out)) return false;
        }
        for (const ExprPtr* e : {&s->target, &s->value, &s->limit, &s->step})
            if (*e && !scanExpr(**e, v, out)) return false;
        for (const auto& values : s->cases)
            for (const ExprPtr& e : values)
                if (!scanExpr(*e, v, out)) return false;
        for (const Declarator& d : s->decls)
            if (d.init && !scanExpr(*d.init, v, out)) return false;
        for (const Block& b : s->blocks)
            if (!scanBlock(b, v, out)) return false;
        if (!scanBlock(s->body, v, out)) return false;
    }
    return true;
}

bool callsFunctions(const Expr& e) {
    if (e.kind == ExprKind::Call && e.function) return true;
    for (const ExprPtr& a : e.args)
        if (callsFunctions(*a)) return true;
    return false;
}

bool changes(const Block& body, const Variable* v, bool global) {
    for (const StmtPtr& s : body) {
        if ((s->kind == StmtKind::Assign || s->kind == StmtKind::For || s->kind == StmtKind::ForEach) && isVariable(*s->target, v))
            return true;
        if (s->kind == StmtKind::Label || s->kind == StmtKind::Goto || s->kind == StmtKind::Gosub) return true;
        for (const ExprPtr& e : s->exprs)
            if ((s->kind == StmtKind::Read && isVariable(*e, v)) || (global && callsFunctions(*e))) return true;
        if (global) {
            for (const ExprPtr* e : {&s->target, &s->value, &s->limit})
                if (*e && callsFunctions(**e)) return true;
            for (const auto& values : s->cases)
                for (const ExprPtr& e : values)
                    if (callsFunctions(*e)) return true;
            for (const Declarator& d : s->decls)
                if (d.init && callsFunctions(*d.init)) return true;
        }
        for (const Block& b : s->blocks)
            if (changes(b, v, global)) return true;
        if (changes(s->body, v, global)) return true;
    }
    return false;
}

bool needsCounts(const Block& body, const Variable* v) {
    for (const StmtPtr& s : body) {
        switch (s->kind) {
            case StmtKind::Delete:
            case StmtKind::DeleteEach:
            case StmtKind::Return:
            case StmtKind::Label:
            case StmtKind::Goto:
            case StmtKind::Gosub:
            case StmtKind::End: return true;
            default: break;
        }
        if ((s->kind == StmtKind::Assign || s->kind == StmtKind::For || s->kind == StmtKind::ForEach) && isVariable(*s->target, v))
            return true;
        for (const ExprPtr& e : s->exprs)
            if (callsFunctions(*e)) return true;
        for (const ExprPtr* e : {&s->target, &s->value, &s->limit})
            if (*e && callsFunctions(**e)) return true;
        for (const auto& values : s->cases)
            for (const ExprPtr& e : values)
                if (callsFunctions(*e)) return true;
        for (const Declarator& d : s->decls)
            if (d.init && callsFunctions(*d.init)) return true;
        for (const Block& b : s->blocks)
            if (needsCounts(b, v)) return true;
        if (needsCounts(s->body, v)) return true;
    }
    return false;
}

}  // namespace

bool walkNeedsCounts(const Block& body, const Variable* loopVariable) { return needsCounts(body, loopVariable); }

bool mayChangeVariable(const Block& body, const Variable* loopVariable) {
    return changes(body, loopVariable, loopVariable->storage == Storage::Global);
}

bool hoistableIndexing(const Block& body, const Variable* loopVariable, LoopIndexing& indexing) {
    return scanBlock(body, loopVariable, indexing);
}

}  // namespace tarsk::compiler
