// The string command module: text functions, date and time texts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/string_commands.h"
#include "runtime/language/strings.h"

namespace tarsk {
namespace {

void requirePositive(int32_t value) {
    if (value < 0) runtimeError("parameter must be positive");
}

void requireAboveZero(int32_t value) {
    if (value <= 0) runtimeError("parameter must be greater than 0");
}

bool isGraphic(unsigned char c) { return c > 32 && c != 127; }

std::string digits(uint32_t value, int count, int bitsPerDigit) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text(size_t(count), '0');
    for (int i = count - 1; i >= 0; --i, value >>= bitsPerDigit) text[size_t(i)] = kDigits[value & ((1u << bitsPerDigit) - 1)];
    return text;
}

std::tm localNow() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return parts;
}

}  // namespace

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string result(text);
    if (from.empty()) return result;
    for (size_t p = 0; p < result.size();) {
        size_t found = result.find(from, p);
        if (found == std::string::npos) break;
        result.replace(found, from.size(), to);
        p = found + to.size();
    }
    return result;
}

std::string_view trimmed(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && !isGraphic(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && !isGraphic(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

}  // namespace tarsk

using namespace tarsk;

extern "C" {

tbString* _fstring(tbString* string, int32_t repeat) {
    StringArg text(string);
    std::string result;
    if (repeat > 0) {
        // A string's length must fit Len's 32-bit result.
        if (uint64_t(text.view().size()) * uint64_t(repeat) > uint64_t(INT32_MAX)) runtimeError("Out of memory");
        result.reserve(text.view().size() * size_t(repeat));
        for (int32_t i = 0; i < repeat; ++i) result += text.view();
    }
    return stringNew(result);
}

tbString* _fleft(tbString* string, int32_t count) {
    StringArg text(string);
    requirePositive(count);
    return stringNew(text.view().substr(0, size_t(count)));
}

tbString* _fright(tbString* string, int32_t count) {
    StringArg text(string);
    requirePositive(count);
    std::string_view view = text.view();
    return stringNew(view.substr(view.size() - std::min(view.size(), size_t(count))));
}

tbString* _freplace(tbString* string, tbString* from, tbString* to) {
    StringArg text(string), search(from), replacement(to);
    return stringNew(replaceAll(text.view(), search.view(), replacement.view()));
}

int32_t _finstr(tbString* string, tbString* find, int32_t from) {
    StringArg text(string), search(find);
    requireAboveZero(from);
    size_t start = size_t(from) - 1;
    if (start > text.view().size()) return 0;
    size_t found = text.view().find(search.view(), start);
    return found == std::string_view::npos ? 0 : int32_t(found + 1);
}

tbString* _fmid(tbString* string, int32_t start, int32_t count) {
    StringArg text(string);
    requireAboveZero(start);
    std::string_view view = text.view();
    size_t first = size_t(start) - 1;
    if (first >= view.size()) return stringNew();
    return stringNew(view.substr(first, count < 0 ? std::string_view::npos : size_t(count)));
}

tbString* _fupper(tbString* string) {
    std::string text = stringTake(string);
    for (char& c : text) c = char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return stringNew(text);
}

tbString* _flower(tbString* string) {
    std::string text = stringTake(string);
    for (char& c : text) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return stringNew(text);
}

tbString* _ftrim(tbString* string) {
    StringArg text(string);
    return stringNew(trimmed(text.view()));
}

tbString* _flset(tbString* string, int32_t size) {
    StringArg text(string);
    requirePositive(size);
    std::string result(text.view().substr(0, size_t(size)));
    result.resize(size_t(size), ' ');
    return stringNew(result);
}

tbString* _frset(tbString* string, int32_t size) {
    StringArg text(string);
    requirePositive(size);
    std::string_view view = text.view();
    if (view.size() >= size_t(size)) return stringNew(view.substr(view.size() - size_t(size)));
    return stringNew(std::string(size_t(size) - view.size(), ' ') + std::string(view));
}

tbString* _fchr(int32_t ascii) { return stringNew(std::string(1, char(ascii & 255))); }

int32_t _fasc(tbString* string) {
    StringArg text(string);
    return text.view().empty() ? -1 : static_cast<unsigned char>(text.view()[0]);
}

int32_t _flen(tbString* string) {
    StringArg text(string);
    return int32_t(text.view().size());
}

tbString* _fhex(int32_t value) { return stringNew(digits(uint32_t(value), 8, 4)); }

tbString* _fbin(int32_t value) { return stringNew(digits(uint32_t(value), 32, 1)); }

tbString* _fcurrentdate() {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm now = localNow();
    char text[32];
    std::snprintf(text, sizeof text, "%02d %s %04d", now.tm_mday, kMonths[now.tm_mon], now.tm_year + 1900);
    return stringNew(text);
}

tbString* _fcurrenttime() {
    std::tm now = localNow();
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &now);
    return stringNew(text);
}
}

namespace tarsk {

void string_link(Registrar add) {
    add("$String$string%repeat", reinterpret_cast<const void*>(_fstring));
    add("$Left$string%count", reinterpret_cast<const void*>(_fleft));
    add("$Right$string%count", reinterpret_cast<const void*>(_fright));
    add("$Replace$string$from$to", reinterpret_cast<const void*>(_freplace));
    add("%Instr$string$find%from=1", reinterpret_cast<const void*>(_finstr));
    add("$Mid$string%start%count=-1", reinterpret_cast<const void*>(_fmid));
    add("$Upper$string", reinterpret_cast<const void*>(_fupper));
    add("$Lower$string", reinterpret_cast<const void*>(_flower));
    add("$Trim$string", reinterpret_cast<const void*>(_ftrim));
    add("$LSet$string%size", reinterpret_cast<const void*>(_flset));
    add("$RSet$string%size", reinterpret_cast<const void*>(_frset));
    add("$Chr%ascii", reinterpret_cast<const void*>(_fchr));
    add("%Asc$string", reinterpret_cast<const void*>(_fasc));
    add("%Len$string", reinterpret_cast<const void*>(_flen));
    add("$Hex%value", reinterpret_cast<const void*>(_fhex));
    add("$Bin%value", reinterpret_cast<const void*>(_fbin));
    add("$CurrentDate", reinterpret_cast<const void*>(_fcurrentdate));
    add("$CurrentTime", reinterpret_cast<const void*>(_fcurrenttime));
}

bool string_create() { return true; }
void string_destroy() {}

}  // namespace tarsk
