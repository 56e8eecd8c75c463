#include "compiler/frontend/lexer.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace tarsk::compiler {

std::string lowerCase(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

namespace {

bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

class Lexer {
public:
    Lexer(const std::string& text, int file) : text_(text), file_(file) {}

    std::vector<Token> run() {
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\r') {
                advance();
                space_ = true;
            } else if (c == ';') {
                while (pos_ < text_.size() && text_[pos_] != '\n') advance();
            } else if (c == '\n' || c == ':') {
                Token t = start(TokenKind::EndOfStatement);
                t.text = c == '\n' ? "end of line" : ":";
                advance();
                push(t);
            } else if (isIdentStart(c)) {
                identifier();
            } else if (isDigit(c) || (c == '.' && pos_ + 1 < text_.size() && isDigit(text_[pos_ + 1]))) {
                number();
            } else if (c == '"') {
                string();
            } else if (c == '$' && pos_ + 1 < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_ + 1]))) {
                radix(16);
            } else if (c == '%' && pos_ + 1 < text_.size() && (text_[pos_ + 1] == '0' || text_[pos_ + 1] == '1')) {
                radix(2);
            } else {
                symbol();
            }
        }
        Token end = start(TokenKind::EndOfStatement);
        end.text = "end of file";
        push(end);
        Token eof = start(TokenKind::EndOfFile);
        eof.text = "end of file";
        push(eof);
        return std::move(tokens_);
    }

private:
    Token start(TokenKind kind) const {
        Token t;
        t.kind = kind;
        t.at = {file_, line_, column_};
        t.spaceBefore = space_;
        return t;
    }
    void push(Token& t) {
        tokens_.push_back(std::move(t));
        space_ = false;
    }
    void advance() {
        if (text_[pos_] == '\n') {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
        ++pos_;
    }
    [[noreturn]] void fail(const Token& t, const std::string& message) { throw CompileError(t.at, message); }

    void identifier() {
        Token t = start(TokenKind::Identifier);
        size_t begin = pos_;
        while (pos_ < text_.size() && isIdentChar(text_[pos_])) advance();
        t.text = text_.substr(begin, pos_ - begin);
        t.lower = lowerCase(t.text);
        if (pos_ < text_.size() && (text_[pos_] == '%' || text_[pos_] == '#' || text_[pos_] == '$')) {
            t.sigil = text_[pos_];
            advance();
        }
        push(t);
    }

    void number() {
        Token t = start(TokenKind::Integer);
        size_t begin = pos_;
        bool isFloat = false;
        while (pos_ < text_.size() && isDigit(text_[pos_])) advance();
        if (pos_ < text_.size() && text_[pos_] == '.') {
            isFloat = true;
            advance();
            while (pos_ < text_.size() && isDigit(text_[pos_])) advance();
        }
        if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            size_t look = pos_ + 1;
            if (look < text_.size() && (text_[look] == '+' || text_[look] == '-')) ++look;
            if (look < text_.size() && isDigit(text_[look])) {
                isFloat = true;
                while (pos_ < look) advance();
                while (pos_ < text_.size() && isDigit(text_[pos_])) advance();
            }
        }
        t.text = text_.substr(begin, pos_ - begin);
        if (pos_ < text_.size() && isIdentStart(text_[pos_])) fail(t, "malformed number '" + t.text + text_[pos_] + "'");
        if (isFloat) {
            t.kind = TokenKind::Float;
            double value = std::strtod(t.text.c_str(), nullptr);
            if (std::isinf(float(value))) fail(t, "float literal too large: " + t.text);
            t.floatValue = float(value);
        } else {
            // 2147483648 is accepted so that -2147483648 can be written.
            if (t.text.size() > 10 || std::strtoull(t.text.c_str(), nullptr, 10) > 2147483648ull)
                fail(t, "integer literal too large: " + t.text);
            t.intValue = int32_t(uint32_t(std::strtoull(t.text.c_str(), nullptr, 10)));
        }
        push(t);
    }

    void radix(int base) {
        Token t = start(TokenKind::Integer);
        size_t begin = pos_;
        advance();
        uint64_t value = 0;
        int digits = 0;
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            int digit = base == 16 ? (std::isxdigit(static_cast<unsigned char>(c)) ? (isDigit(c) ? c - '0' : (std::tolower(c) - 'a' + 10)) : -1)
                                   : (c == '0' || c == '1' ? c - '0' : -1);
            if (digit < 0) break;
            value = value * uint64_t(base) + uint64_t(digit);
            ++digits;
            advance();
        }
        t.text = text_.substr(begin, pos_ - begin);
        if (digits > (base == 16 ? 8 : 32)) fail(t, "integer literal too large: " + t.text);
        t.intValue = int32_t(uint32_t(value));
        push(t);
    }

    void string() {
        Token t = start(TokenKind::String);
        advance();
        size_t begin = pos_;
        while (pos_ < text_.size() && text_[pos_] != '"' && text_[pos_] != '\n') advance();
        if (pos_ >= text_.size() || text_[pos_] != '"') fail(t, "string is not closed: expected '\"' before the end of the line");
        t.text = text_.substr(begin, pos_ - begin);
        advance();
        push(t);
    }

    void symbol() {
        Token t = start(TokenKind::Symbol);
        static const char* const kTwo[] = {"<>", "<=", ">=", "=<", "=>", "><"};
        for (const char* two : kTwo) {
            if (text_.compare(pos_, 2, two) == 0) {
                std::string s = two;
                t.text = s == "=<" ? "<=" : s == "=>" ? ">=" : s == "><" ? "<>" : s;
                advance();
                advance();
                push(t);
                return;
            }
        }
        char c = text_[pos_];
        static const std::string kOne = "+-*/^=<>(),\\[].#%$";
        if (kOne.find(c) == std::string::npos) {
            std::string shown = std::isprint(static_cast<unsigned char>(c)) ? std::string(1, c) : "\\x" + hex(c);
            fail(t, "unexpected character '" + shown + "'");
        }
        t.text = std::string(1, c);
        advance();
        push(t);
    }

    static std::string hex(char c) {
        static const char* digits = "0123456789abcdef";
        unsigned char u = static_cast<unsigned char>(c);
        return {digits[u >> 4], digits[u & 15]};
    }

    const std::string& text_;
    int file_;
    size_t pos_ = 0;
    int line_ = 1;
    int column_ = 1;
    bool space_ = false;
    std::vector<Token> tokens_;
};

}  // namespace

std::vector<Token> tokenize(const std::string& text, int file) { return Lexer(text, file).run(); }

}  // namespace tarsk::compiler
