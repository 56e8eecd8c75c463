// Data statements: 8-byte entries (kind, value) read from one process-wide position.
#include <cmath>
#include <cstdint>
#include <bit>

#include "runtime/host/runtime_error.h"
#include "runtime/language/strings.h"
#include "runtime/language/text_conversions.h"
#include "runtime/language/words.h"

struct tbDataEntry {
    int32_t kind;  // 0 end of data, 1 integer, 2 float, 4 address of a NUL-terminated text
    uint32_t value;
};

namespace tarsk {
namespace {

enum DataKind : int32_t { kEnd = 0, kInt = 1, kFloat = 2, kText = 4 };

const tbDataEntry* position = nullptr;

// The entry to read; raises the data errors without moving the position.
const tbDataEntry& current() {
    if (!position || position->kind == kEnd) runtimeError("Out of data");
    if (position->kind != kInt && position->kind != kFloat && position->kind != kText) runtimeError("Bad data type");
    return *position;
}

float floatValue(const tbDataEntry& entry) { return std::bit_cast<float>(entry.value); }
const char* textValue(const tbDataEntry& entry) { return fromWord<const char>(entry.value); }

// Truncation toward zero; NaN and values out of range give the most negative integer,
// as the processor's conversion does.
int32_t truncated(float value) {
    if (!(value > -2147483904.0f && value < 2147483648.0f)) return INT32_MIN;
    return int32_t(value);
}

}  // namespace
}  // namespace tarsk

using namespace tarsk;

extern "C" {

void __tbRestore(const tbDataEntry* entry) { position = entry; }

int32_t __tbReadInt() {
    const tbDataEntry& entry = current();
    int32_t value = entry.kind == kInt     ? int32_t(entry.value)
                    : entry.kind == kFloat ? truncated(floatValue(entry))
                                           : textToInt(textValue(entry));
    ++position;
    return value;
}

float __tbReadFloat() {
    const tbDataEntry& entry = current();
    float value = entry.kind == kInt     ? float(int32_t(entry.value))
                  : entry.kind == kFloat ? floatValue(entry)
                                         : textToFloat(textValue(entry));
    ++position;
    return value;
}

tbString* __tbReadStr() {
    const tbDataEntry& entry = current();
    tbString* value = entry.kind == kInt     ? stringNew(intToText(int32_t(entry.value)))
                      : entry.kind == kFloat ? stringNew(floatToText(floatValue(entry)))
                                             : stringNew(textValue(entry));
    ++position;
    return value;
}
}
