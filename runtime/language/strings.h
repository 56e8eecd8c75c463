// String objects: pooled records that own a byte text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tarsk_abi.h"

struct tbString {
    std::string text;
    tbString* next;
    tbString* prev;
};

namespace tarsk {

tbString* stringNew(std::string_view text = {});
tbString* stringNew(const char* text);
void stringRelease(tbString* string);
inline std::string_view stringText(const tbString* string) {
    return string ? std::string_view(string->text) : std::string_view();
}
// Takes the text out of a string object and releases the object.
std::string stringTake(tbString* string);

// A string argument of a command: released when the command returns.
class StringArg {
public:
    explicit StringArg(tbString* string) : string_(string) {}
    ~StringArg() { stringRelease(string_); }
    StringArg(const StringArg&) = delete;
    StringArg& operator=(const StringArg&) = delete;
    std::string_view view() const { return stringText(string_); }
    std::string str() const { return std::string(view()); }

private:
    tbString* string_;
};

// Number of live string objects.
int32_t liveStringCount();
// Pool lifecycle (basic module create and destroy).
void stringsCreate();
void stringsDestroy();

}  // namespace tarsk
