#include "compiler/frontend/parser.h"

#include <algorithm>
#include <set>

namespace tarsk::compiler {

bool isKeyword(const std::string& w) {
    static const std::set<std::string> kWords = {
        "if", "then", "else", "elseif", "endif", "end", "select", "case", "default", "for", "to", "step",
        "next", "each", "while", "wend", "repeat", "until", "forever", "exit", "goto", "gosub", "return",
        "function", "type", "field", "global", "local", "const", "dim", "data", "read", "restore", "new",
        "delete", "first", "last", "after", "before", "insert", "null", "handle", "object", "and", "or",
        "xor", "not", "mod", "shl", "shr", "sar", "true", "false", "pi", "include"};
    return kWords.count(w) != 0;
}

namespace {

std::string describe(const Token& t) {
    switch (t.kind) {
        case TokenKind::Identifier: return "'" + t.text + (t.sigil ? std::string(1, t.sigil) : "") + "'";
        case TokenKind::Integer:
        case TokenKind::Float: return "number " + t.text;
        case TokenKind::String: return "string \"" + t.text + "\"";
        case TokenKind::Symbol: return "'" + t.text + "'";
        case TokenKind::EndOfStatement: return t.text == ":" ? "':'" : t.text;
        case TokenKind::EndOfFile: return "end of file";
    }
    return "?";
}

bool isBinaryWord(const std::string& w) {
    return w == "mod" || w == "shl" || w == "shr" || w == "sar";
}

class Parser {
public:
    Parser(const SourceFiles& files, const IncludeLoader& loader) : files_(files), loader_(loader) {}

    void parseFile(int file, ParsedProgram& program) {
        std::vector<Token> saved = std::move(tokens_);
        size_t savedPos = pos_;
        tokens_ = tokenize(files_[file].text, file);
        pos_ = 0;
        while (!at(TokenKind::EndOfFile)) {
            if (skipEnd()) continue;
            if (word("function")) {
                program.functions.push_back(parseFunction());
            } else if (word("type")) {
                program.types.push_back(parseType());
            } else if (word("include")) {
                Token start = next();
                Token name = expect(TokenKind::String, "a file name in quotes after Include");
                endStatement();
                int included = loader_(name.text, start.at);
                if (included >= 0) parseFile(included, program);
            } else {
                program.main.push_back(parseStatement());
                endStatement();
            }
        }
        tokens_ = std::move(saved);
        pos_ = savedPos;
    }

private:
    // Token access.
    const Token& peek(size_t ahead = 0) const {
        size_t i = pos_ + ahead;
        return i < tokens_.size() ? tokens_[i] : tokens_.back();
    }
    Token next() {
        Token t = peek();
        if (pos_ < tokens_.size() - 1) ++pos_;
        return t;
    }
    bool at(TokenKind kind) const { return peek().kind == kind; }
    bool atSymbol(const char* s) const { return peek().is(s); }
    bool word(const char* w, size_t ahead = 0) const { return peek(ahead).isWord(w); }
    bool atEnd() const { return at(TokenKind::EndOfStatement) || at(TokenKind::EndOfFile); }
    bool atLineEnd() const { return atEnd() && peek().text != ":"; }
    bool skipEnd() {
        if (!at(TokenKind::EndOfStatement)) return false;
        next();
        return true;
    }
    bool accept(const char* symbol) {
        if (!atSymbol(symbol)) return false;
        next();
        return true;
    }
    bool acceptWord(const char* w) {
        if (!word(w)) return false;
        next();
        return true;
    }
    [[noreturn]] void fail(const Token& t, const std::string& expected) {
        throw CompileError(t.at, "expected " + expected + ", found " + describe(t));
    }
    Token expect(TokenKind kind, const std::string& what) {
        if (!at(kind)) fail(peek(), what);
        return next();
    }
    void expectSymbol(const char* s, const std::string& what) {
        if (!accept(s)) fail(peek(), what);
    }
    void expectWord(const char* w, const std::string& what) {
        if (!acceptWord(w)) fail(peek(), what);
    }
    void endStatement() {
        if (!atEnd()) fail(peek(), "end of statement");
    }

    // A name that is not a keyword.
    Token name(const std::string& what) {
        const Token& t = peek();
        if (t.kind != TokenKind::Identifier) fail(t, what);
        if (isKeyword(t.lower)) throw CompileError(t.at, "expected " + what + ", found keyword '" + t.text + "'");
        return next();
    }

    // The type written on a name: its sigil, or "." and a type name directly after it.
    TypeSpec typeSpec(const Token& nameToken) {
        TypeSpec annotation;
        annotation.at = nameToken.at;
        switch (nameToken.sigil) {
            case '%': annotation.kind = TypeSpec::Kind::Int; return annotation;
            case '#': annotation.kind = TypeSpec::Kind::Float; return annotation;
            case '$': annotation.kind = TypeSpec::Kind::String; return annotation;
            default: break;
        }
        if (atSymbol(".") && !peek().spaceBefore && peek(1).kind == TokenKind::Identifier) {
            next();
            Token type = name("a type name after '.'");
            annotation.kind = TypeSpec::Kind::Record;
            annotation.record = type.lower;
            annotation.recordShown = type.text;
            annotation.at = type.at;
        }
        return annotation;
    }

    Declarator declarator(const std::string& what, bool allowVector) {
        Token t = name(what);
        Declarator d;
        d.at = t.at;
        d.name = t.lower;
        d.shown = t.text;
        d.annotation = typeSpec(t);
        if (allowVector && accept("[")) {
            d.vectorSize = expression();
            expectSymbol("]", "']' after the vector size");
        }
        return d;
    }

    // Top level.
    std::unique_ptr<FunctionDecl> parseFunction() {
        Token start = next();
        auto f = std::make_unique<FunctionDecl>();
        Token t = name("a function name after Function");
        f->at = t.at;
        f->name = t.lower;
        f->shown = t.text;
        f->result = typeSpec(t);
        expectSymbol("(", "'(' after the function name");
        if (!atSymbol(")")) {
            do {
                Declarator p = declarator("a parameter name", false);
                if (accept("=")) p.init = expression();
                f->params.push_back(std::move(p));
            } while (accept(","));
        }
        expectSymbol(")", "',' or ')' in the parameter list");
        endStatement();
        f->body = block({"end function"}, "End Function", start);
        next();
        next();
        return f;
    }

    std::unique_ptr<TypeDecl> parseType() {
        Token start = next();
        auto type = std::make_unique<TypeDecl>();
        Token t = name("a type name after Type");
        type->at = t.at;
        type->name = t.lower;
        type->shown = t.text;
        endStatement();
        for (;;) {
            if (skipEnd()) continue;
            if (at(TokenKind::EndOfFile)) throw CompileError(start.at, "Type " + t.text + " has no End Type");
            if (word("end") && word("type", 1)) {
                next();
                next();
                endStatement();
                return type;
            }
            expectWord("field", "Field or End Type");
            do type->fields.push_back(declarator("a field name", true));
            while (accept(","));
            endStatement();
        }
    }

    // Blocks end at one of `ends` ("endif", "end if", "else", ...) at the start of a statement;
    // the terminator is left unread.
    bool atTerminator(const std::vector<std::string>& ends) const {
        for (const std::string& e : ends) {
            size_t space = e.find(' ');
            if (space == std::string::npos) {
                if (word(e.c_str())) return true;
            } else if (word(e.substr(0, space).c_str()) && word(e.substr(space + 1).c_str(), 1)) {
                return true;
            }
        }
        return false;
    }

    Block block(const std::vector<std::string>& ends, const std::string& shownEnd, const Token& opener) {
        Block body;
        for (;;) {
            if (skipEnd()) continue;
            if (at(TokenKind::EndOfFile))
                throw CompileError(opener.at, "'" + opener.text + "' has no " + shownEnd);
            if (atTerminator(ends)) return body;
            if (word("function") || word("type") || word("include"))
                throw CompileError(peek().at, "expected " + shownEnd + " before " + describe(peek()));
            body.push_back(parseStatement());
            endStatement();
        }
    }

    // Statements.
    StmtPtr parseStatement() {
        Nesting guard(*this, peek());
        const Token& t = peek();
        if (t.is(".") && peek(1).kind == TokenKind::Identifier) {
            Token dot = next();
            Token label = name("a label name after '.'");
            auto s = std::make_unique<Stmt>(StmtKind::Label, dot.at);
            s->label = label.lower;
            s->labelShown = label.text;
            return s;
        }
        if (t.kind != TokenKind::Identifier) fail(t, "a statement");
        const std::string& w = t.lower;
        if (w == "if") return parseIf();
        if (w == "select") return parseSelect();
        if (w == "for") return parseFor();
        if (w == "while") return parseWhile();
        if (w == "repeat") return parseRepeat();
        if (w == "exit") return simple(StmtKind::Exit);
        if (w == "end") return simple(StmtKind::End);
        if (w == "goto" || w == "gosub" || w == "restore") return parseJump();
        if (w == "return") {
            auto s = simple(StmtKind::Return);
            if (!atEnd() && !word("else")) s->value = expression();
            return s;
        }
        if (w == "dim") return parseDim();
        if (w == "local" || w == "global" || w == "const") return parseDeclaration();
        if (w == "data") return parseData();
        if (w == "read") return parseRead();
        if (w == "delete") return parseDelete();
        if (w == "insert") return parseInsert();
        if (w == "function" || w == "type" || w == "include")
            throw CompileError(t.at, t.text + " is only allowed outside of blocks and functions");
        if (isKeyword(w)) throw CompileError(t.at, "expected a statement, found keyword '" + t.text + "'");
        return parseCallOrAssignment();
    }

    StmtPtr simple(StmtKind kind) {
        Token t = next();
        return std::make_unique<Stmt>(kind, t.at);
    }

    StmtPtr parseCallOrAssignment() {
        size_t start = pos_;
        Token first = peek();
        ExprPtr target = postfix();
        if (accept("=")) {
            auto s = std::make_unique<Stmt>(StmtKind::Assign, first.at);
            s->target = std::move(target);
            s->value = expression();
            return s;
        }
        auto s = std::make_unique<Stmt>(StmtKind::Call, first.at);
        bool plainCall = target->kind == ExprKind::Call && target->name == first.lower;
        if (atEnd() || word("else")) {
            if (target->kind == ExprKind::Name) target->kind = ExprKind::Call;
            if (target->kind != ExprKind::Call) fail(peek(), "'=' after " + describe(first));
            s->target = std::move(target);
            return s;
        }
        if (target->kind != ExprKind::Name && !plainCall) fail(peek(), "'=' or end of statement");
        // A command or function called without parentheses around its arguments.
        pos_ = start;
        Token callee = next();
        auto call = std::make_unique<Expr>(ExprKind::Call, callee.at);
        call->name = callee.lower;
        call->text = callee.text;
        call->annotation = typeSpec(callee);
        do call->args.push_back(expression());
        while (accept(","));
        s->target = std::move(call);
        return s;
    }

    StmtPtr parseIf() {
        Token start = next();
        auto s = std::make_unique<Stmt>(StmtKind::If, start.at);
        s->exprs.push_back(expression());
        acceptWord("then");
        if (!atLineEnd()) {
            // Single-line If: statements up to the end of the line, optionally split by Else.
            if (atEnd()) next();
            s->blocks.push_back(lineBlock());
            if (acceptWord("else")) {
                s->hasElse = true;
                s->blocks.push_back(lineBlock());
            }
            return s;
        }
        s->blocks.push_back(block({"elseif", "else", "endif", "end if"}, "EndIf", start));
        for (;;) {
            if (acceptWord("elseif") || (word("else") && word("if", 1) && (next(), next(), true))) {
                s->exprs.push_back(expression());
                acceptWord("then");
                endStatement();
                s->blocks.push_back(block({"elseif", "else", "endif", "end if"}, "EndIf", start));
            } else if (acceptWord("else")) {
                s->hasElse = true;
                s->blocks.push_back(block({"endif", "end if"}, "EndIf", start));
            } else {
                if (acceptWord("endif")) return s;
                next();
                next();
                return s;
            }
        }
    }

    Block lineBlock() {
        Block body;
        while (!atLineEnd() && !word("else")) {
            if (skipEnd()) continue;
            body.push_back(parseStatement());
            if (!atEnd() && !word("else")) fail(peek(), "end of statement");
        }
        return body;
    }

    StmtPtr parseSelect() {
        Token start = next();
        auto s = std::make_unique<Stmt>(StmtKind::Select, start.at);
        s->value = expression();
        endStatement();
        for (;;) {
            if (skipEnd()) continue;
            if (at(TokenKind::EndOfFile)) throw CompileError(start.at, "'Select' has no End Select");
            if (word("end") && word("select", 1)) {
                next();
                next();
                return s;
            }
            if (acceptWord("case")) {
                if (s->hasElse) throw CompileError(peek().at, "Case after Default: Default must be the last branch");
                std::vector<ExprPtr> values;
                do values.push_back(expression());
                while (accept(","));
                s->cases.push_back(std::move(values));
            } else if (word("default")) {
                Token d = next();
                if (s->hasElse) throw CompileError(d.at, "a second Default in the same Select");
                s->hasElse = true;
            } else {
                fail(peek(), "Case, Default or End Select");
            }
            endStatement();
            s->blocks.push_back(block({"case", "default", "end select"}, "End Select", start));
        }
    }

    StmtPtr parseFor() {
        Token start = next();
        Token var = name("a loop variable after For");
        auto target = std::make_unique<Expr>(ExprKind::Name, var.at);
        target->name = var.lower;
        target->text = var.text;
        target->annotation = typeSpec(var);
        expectSymbol("=", "'=' after the loop variable");
        std::unique_ptr<Stmt> s;
        if (word("each")) {
            next();
            Token type = name("a type name after Each");
            s = std::make_unique<Stmt>(StmtKind::ForEach, start.at);
            s->label = type.lower;
            s->labelShown = type.text;
        } else {
            s = std::make_unique<Stmt>(StmtKind::For, start.at);
            s->value = expression();
            expectWord("to", "To");
            s->limit = expression();
            if (acceptWord("step")) s->step = expression();
        }
        s->target = std::move(target);
        endStatement();
        s->body = block({"next"}, "Next", start);
        next();
        if (at(TokenKind::Identifier) && !isKeyword(peek().lower)) {
            Token named = next();
            if (named.lower != var.lower)
                throw CompileError(named.at, "Next " + named.text + " does not match For " + var.text);
        }
        return s;
    }

    StmtPtr parseWhile() {
        Token start = next();
        auto s = std::make_unique<Stmt>(StmtKind::While, start.at);
        s->value = expression();
        endStatement();
        s->body = block({"wend"}, "Wend", start);
        next();
        return s;
    }

    StmtPtr parseRepeat() {
        Token start = next();
        auto s = std::make_unique<Stmt>(StmtKind::Repeat, start.at);
        s->body = block({"until", "forever"}, "Until or Forever", start);
        if (acceptWord("forever")) {
            s->forever = true;
        } else {
            next();
            s->value = expression();
        }
        return s;
    }

    StmtPtr parseJump() {
        Token start = next();
        StmtKind kind = start.lower == "goto" ? StmtKind::Goto : start.lower == "gosub" ? StmtKind::Gosub : StmtKind::Restore;
        auto s = std::make_unique<Stmt>(kind, start.at);
        if (kind == StmtKind::Restore && atEnd()) return s;
        accept(".");
        Token label = name("a label name after " + start.text);
        s->label = label.lower;
        s->labelShown = label.text;
        s->at = label.at;
        return s;
    }

    StmtPtr parseDim() {
        Token start = next();
        auto s = std::make_unique<Stmt>(StmtKind::Dim, start.at);
        do {
            Declarator d = declarator("an array name after Dim", false);
            expectSymbol("(", "'(' and the highest indices after the array name");
            do d.dims.push_back(expression());
            while (accept(","));
            expectSymbol(")", "',' or ')' after the highest index");
            s->decls.push_back(std::move(d));
        } while (accept(","));
        return s;
    }

    StmtPtr parseDeclaration() {
        Token start = next();
        StmtKind kind = start.lower == "local" ? StmtKind::Local : start.lower == "global" ? StmtKind::Global : StmtKind::Const;
        auto s = std::make_unique<Stmt>(kind, start.at);
        do {
            Declarator d = declarator("a name after " + start.text, kind != StmtKind::Const);
            if (accept("=")) {
                if (d.vectorSize) throw CompileError(d.at, "a vector cannot have an initial value");
                d.init = expression();
            } else if (kind == StmtKind::Const) {
                fail(peek(), "'=' and a value for the constant");
            }
            s->decls.push_back(std::move(d));
        } while (accept(","));
        return s;
    }

    StmtPtr parseData() {
        Token start = next();
        auto s = std::make_unique<Stmt>(StmtKind::Data, start.at);
        do s->exprs.push_back(expression());
        while (accept(","));
        return s;
    }

    StmtPtr parseRead() {
        Token start = next();
        auto s = std::make_unique<Stmt>(StmtKind::Read, start.at);
        do s->exprs.push_back(postfix());
        while (accept(","));
        return s;
    }

    StmtPtr parseDelete() {
        Token start = next();
        if (acceptWord("each")) {
            auto s = std::make_unique<Stmt>(StmtKind::DeleteEach, start.at);
            Token type = name("a type name after Delete Each");
            s->label = type.lower;
            s->labelShown = type.text;
            s->at = type.at;
            return s;
        }
        auto s = std::make_unique<Stmt>(StmtKind::Delete, start.at);
        s->target = expression();
        return s;
    }

    StmtPtr parseInsert() {
        Token start = next();
        auto s = std::make_unique<Stmt>(StmtKind::Insert, start.at);
        s->target = unary();
        if (acceptWord("before"))
            s->before = true;
        else
            expectWord("after", "Before or After");
        s->value = expression();
        return s;
    }

    // Expressions, lowest precedence first.
    // Nesting is bounded so that no later pass can run out of stack.
    static constexpr int kMaxNesting = 400;  // parentheses, unary operators, blocks
    static constexpr int kMaxDepth = 2000;   // operand chains such as a + b + c ...
    struct Nesting {
        Nesting(Parser& p, const Token& at) : parser(p) {
            if (++parser.nesting_ > kMaxNesting) throw CompileError(at.at, "nested too deeply (more than 400 levels)");
        }
        ~Nesting() { --parser.nesting_; }
        Parser& parser;
    };

    // Records how deeply operands nest below a new node; refuses trees that are too deep.
    static ExprPtr finish(ExprPtr e) {
        int depth = 0;
        for (const ExprPtr& a : e->args) depth = std::max(depth, a->depth + 1);
        e->depth = depth;
        if (depth > kMaxDepth) throw CompileError(e->at, "expression nested too deeply (more than 2000 levels)");
        return e;
    }

    ExprPtr binary(const Token& op, std::string name, ExprPtr left, ExprPtr right) {
        int depth = std::max(left->depth, right->depth) + 1;
        if (depth > kMaxDepth) throw CompileError(op.at, "expression nested too deeply (more than 2000 levels)");
        auto e = std::make_unique<Expr>(ExprKind::Binary, op.at);
        e->depth = depth;
        e->op = std::move(name);
        e->args.push_back(std::move(left));
        e->args.push_back(std::move(right));
        return e;
    }

    ExprPtr expression() {
        Nesting guard(*this, peek());
        ExprPtr left = andLevel();
        while (word("or") || word("xor")) {
            Token op = next();
            left = binary(op, op.lower, std::move(left), andLevel());
        }
        return left;
    }

    ExprPtr andLevel() {
        ExprPtr left = notLevel();
        while (word("and")) {
            Token op = next();
            left = binary(op, "and", std::move(left), notLevel());
        }
        return left;
    }

    ExprPtr notLevel() {
        Nesting guard(*this, peek());
        if (word("not")) {
            Token op = next();
            auto e = std::make_unique<Expr>(ExprKind::Unary, op.at);
            e->op = "not";
            e->args.push_back(notLevel());
            return finish(std::move(e));
        }
        return comparison();
    }

    ExprPtr comparison() {
        ExprPtr left = additive();
        for (;;) {
            const Token& t = peek();
            if (!(t.is("=") || t.is("<>") || t.is("<") || t.is(">") || t.is("<=") || t.is(">="))) return left;
            Token op = next();
            left = binary(op, op.text, std::move(left), additive());
        }
    }

    ExprPtr additive() {
        ExprPtr left = multiplicative();
        while (atSymbol("+") || atSymbol("-")) {
            Token op = next();
            left = binary(op, op.text, std::move(left), multiplicative());
        }
        return left;
    }

    ExprPtr multiplicative() {
        ExprPtr left = unary();
        for (;;) {
            const Token& t = peek();
            if (!(t.is("*") || t.is("/") || (t.kind == TokenKind::Identifier && isBinaryWord(t.lower)))) return left;
            Token op = next();
            left = binary(op, op.kind == TokenKind::Identifier ? op.lower : op.text, std::move(left), unary());
        }
    }

    ExprPtr unary() {
        Nesting guard(*this, peek());
        if (atSymbol("-") || atSymbol("+")) {
            Token op = next();
            auto e = std::make_unique<Expr>(ExprKind::Unary, op.at);
            e->op = op.text;
            e->args.push_back(unary());
            return finish(std::move(e));
        }
        ExprPtr base = postfix();
        if (atSymbol("^")) {
            Token op = next();
            return binary(op, "^", std::move(base), unary());
        }
        return base;
    }

    std::vector<ExprPtr> argumentList() {
        std::vector<ExprPtr> args;
        if (accept(")")) return args;
        do args.push_back(expression());
        while (accept(","));
        expectSymbol(")", "',' or ')' in the argument list");
        return args;
    }

    ExprPtr postfix() {
        ExprPtr e = primary();
        while (atSymbol("\\")) {
            next();
            Token field = name("a field name after '\\'");
            auto f = std::make_unique<Expr>(ExprKind::Field, field.at);
            f->name = field.lower;
            f->text = field.text;
            f->annotation = typeSpec(field);
            f->args.push_back(std::move(e));
            if (accept("[")) {
                f->hasIndex = true;
                f->args.push_back(expression());
                expectSymbol("]", "']' after the index");
            }
            e = finish(std::move(f));
        }
        return e;
    }

    ExprPtr typed(ExprKind kind, const Token& at, const std::string& what) {
        auto e = std::make_unique<Expr>(kind, at.at);
        Token type = name(what);
        e->annotation.kind = TypeSpec::Kind::Record;
        e->annotation.record = type.lower;
        e->annotation.recordShown = type.text;
        e->annotation.at = type.at;
        return e;
    }

    ExprPtr operand(ExprKind kind, const Token& at) {
        auto e = std::make_unique<Expr>(kind, at.at);
        // "After p\x" is the field x of the object after p, as with "First T\x".
        e->args.push_back(atSymbol("(") ? (next(), parenthesized()) : primary());
        return finish(std::move(e));
    }

    ExprPtr parenthesized() {
        ExprPtr inner = expression();
        expectSymbol(")", "')'");
        return inner;
    }

    ExprPtr primary() {
        const Token& t = peek();
        switch (t.kind) {
            case TokenKind::Integer: {
                Token n = next();
                auto e = std::make_unique<Expr>(ExprKind::Int, n.at);
                e->intValue = n.intValue;
                e->text = n.text;
                return e;
            }
            case TokenKind::Float: {
                Token n = next();
                auto e = std::make_unique<Expr>(ExprKind::Float, n.at);
                e->floatValue = n.floatValue;
                e->text = n.text;
                return e;
            }
            case TokenKind::String: {
                Token n = next();
                auto e = std::make_unique<Expr>(ExprKind::String, n.at);
                e->text = n.text;
                return e;
            }
            case TokenKind::Symbol:
                if (t.is("(")) {
                    next();
                    return parenthesized();
                }
                fail(t, "an expression");
            case TokenKind::EndOfStatement:
            case TokenKind::EndOfFile: fail(t, "an expression");
            case TokenKind::Identifier: break;
        }
        const std::string& w = t.lower;
        if (w == "true" || w == "false") {
            Token n = next();
            auto e = std::make_unique<Expr>(ExprKind::Int, n.at);
            e->intValue = w == "true";
            return e;
        }
        if (w == "pi") {
            Token n = next();
            auto e = std::make_unique<Expr>(ExprKind::Float, n.at);
            e->floatValue = 3.14159265f;
            return e;
        }
        if (w == "null") return std::make_unique<Expr>(ExprKind::Null, next().at);
        if (w == "new") {
            Token n = next();
            return typed(ExprKind::New, n, "a type name after New");
        }
        if (w == "first" || w == "last") {
            Token n = next();
            return typed(w == "first" ? ExprKind::First : ExprKind::Last, n, "a type name after " + n.text);
        }
        if (w == "after" || w == "before") {
            Token n = next();
            return operand(w == "after" ? ExprKind::After : ExprKind::Before, n);
        }
        if (w == "handle") {
            Token n = next();
            return operand(ExprKind::Handle, n);
        }
        if (w == "object") {
            Token n = next();
            expectSymbol(".", "'.' and a type name after Object");
            auto e = typed(ExprKind::ObjectCast, n, "a type name after Object.");
            expectSymbol("(", "'(' and a handle after the type name");
            e->args.push_back(parenthesized());
            return finish(std::move(e));
        }
        Token n = name("an expression");
        ExprPtr e;
        if (atSymbol("[")) {
            next();
            e = std::make_unique<Expr>(ExprKind::VectorIndex, n.at);
            e->args.push_back(expression());
            expectSymbol("]", "']' after the index");
        } else if (atSymbol("(")) {
            next();
            e = std::make_unique<Expr>(ExprKind::Call, n.at);
            e->args = argumentList();
        } else {
            e = std::make_unique<Expr>(ExprKind::Name, n.at);
        }
        e->name = n.lower;
        e->text = n.text;
        if (e->kind == ExprKind::Name || e->kind == ExprKind::VectorIndex || e->kind == ExprKind::Call) {
            e->annotation = specFromSigil(n);
            if (e->kind == ExprKind::Name) {
                TypeSpec annotated = typeSpec(n);
                if (annotated.kind == TypeSpec::Kind::Record) e->annotation = annotated;
            }
        }
        return finish(std::move(e));
    }

    static TypeSpec specFromSigil(const Token& n) {
        TypeSpec annotation;
        annotation.at = n.at;
        annotation.kind = n.sigil == '%' ? TypeSpec::Kind::Int : n.sigil == '#' ? TypeSpec::Kind::Float
                  : n.sigil == '$' ? TypeSpec::Kind::String : TypeSpec::Kind::Default;
        return annotation;
    }

    const SourceFiles& files_;
    const IncludeLoader& loader_;
    std::vector<Token> tokens_;
    size_t pos_ = 0;
    int nesting_ = 0;
};

}  // namespace

ParsedProgram parseProgram(const SourceFiles& files, int file, const IncludeLoader& loader) {
    ParsedProgram program;
    Parser(files, loader).parseFile(file, program);
    return program;
}

}  // namespace tarsk::compiler
