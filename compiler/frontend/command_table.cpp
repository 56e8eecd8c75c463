#include "compiler/frontend/command_table.h"

#include <cctype>

#include "compiler/frontend/lexer.h"

namespace tarsk::compiler {
namespace {

bool isSigil(char c) { return c == '%' || c == '#' || c == '$'; }

Type sigilType(char c) {
    switch (c) {
        case '%': return Type::integer();
        case '#': return Type::floating();
        default: return Type::string();
    }
}

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

}  // namespace

std::string commandLinkName(std::string_view s) {
    if (!s.empty() && s[0] == '_') return "_" + std::string(s);
    if (!s.empty() && s[0] == '!') s.remove_prefix(1);
    if (!s.empty() && !std::isalnum(static_cast<unsigned char>(s[0]))) s.remove_prefix(1);
    size_t end = 0;
    while (end < s.size() && isNameChar(s[end])) ++end;
    return "_f" + lowerCase(std::string(s.substr(0, end)));
}

bool CommandTable::add(std::string_view signature) {
    if (signature.empty() || signature[0] == '_') return true;
    Command c;
    c.signature = std::string(signature);
    c.linkName = commandLinkName(signature);
    std::string_view s = signature;
    if (s[0] == '!') s.remove_prefix(1);
    c.result = Type();
    if (!s.empty() && isSigil(s[0])) {
        c.result = sigilType(s[0]);
        s.remove_prefix(1);
    }
    size_t pos = 0;
    while (pos < s.size() && isNameChar(s[pos])) ++pos;
    if (pos == 0) return false;
    c.shown = std::string(s.substr(0, pos));
    c.name = lowerCase(c.shown);
    bool defaults = false;
    while (pos < s.size()) {
        if (!isSigil(s[pos])) return false;
        Command::Param p;
        p.type = sigilType(s[pos++]);
        size_t start = pos;
        while (pos < s.size() && isNameChar(s[pos])) ++pos;
        if (pos == start) return false;
        p.name = std::string(s.substr(start, pos - start));
        if (pos < s.size() && s[pos] == '=') {
            ++pos;
            start = pos;
            if (pos < s.size() && s[pos] == '"') {
                if (pos + 1 >= s.size() || s[pos + 1] != '"') return false;
                pos += 2;
            } else {
                if (pos < s.size() && s[pos] == '-') ++pos;
                size_t digits = pos;
                while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) ++pos;
                if (pos == digits) return false;
            }
            p.hasDefault = true;
            p.defaultText = std::string(s.substr(start, pos - start));
            if (p.defaultText == "\"\"") p.defaultText.clear();
            defaults = true;
        } else if (defaults) {
            return false;  // parameters with defaults are trailing
        }
        c.params.push_back(std::move(p));
    }
    std::string key = c.name;
    commands_[key] = std::move(c);
    return true;
}

const Command* CommandTable::find(const std::string& lowerName) const {
    auto found = commands_.find(lowerName);
    return found == commands_.end() ? nullptr : &found->second;
}

}  // namespace tarsk::compiler
