// Splitting Basic source text into tokens.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/frontend/source_files.h"

namespace tarsk::compiler {

enum class TokenKind { Identifier, Integer, Float, String, Symbol, EndOfStatement, EndOfFile };

struct Token {
    TokenKind kind = TokenKind::EndOfFile;
    Location at;
    std::string text;   // identifier (without sigil) in its own case, string contents, or the symbol
    std::string lower;  // identifier lower-cased
    char sigil = 0;     // '%', '#' or '$' written directly after an identifier
    int32_t intValue = 0;
    float floatValue = 0;
    bool spaceBefore = false;

    bool is(const char* symbol) const { return kind == TokenKind::Symbol && text == symbol; }
    bool isWord(const char* lowerWord) const { return kind == TokenKind::Identifier && lower == lowerWord; }
};

// Newlines and ":" give EndOfStatement tokens; comments run from ";" to the end of the
// line. Throws CompileError for a character or literal that cannot start a token.
std::vector<Token> tokenize(const std::string& text, int file);

std::string lowerCase(std::string text);

}  // namespace tarsk::compiler
