// The C-string bridge for user-library calls: 256 reusable NUL-terminated buffers.
#include <cstring>

#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/strings.h"

namespace tarsk {
namespace {

constexpr unsigned kRingSize = 256;

struct RingBuffer {
    char* text = nullptr;
    size_t capacity = 0;  // bytes before the terminating NUL
};

RingBuffer ring[kRingSize];
unsigned conversions = 0;

}  // namespace
}  // namespace tarsk

using namespace tarsk;

extern "C" {

const char* __tbStrToCStr(tbString* string) {
    StringArg text(string);
    RingBuffer& buffer = ring[conversions++ % kRingSize];
    size_t length = text.view().size();
    if (!buffer.text || buffer.capacity < length) {
        if (buffer.text) arenaFree(buffer.text, buffer.capacity + 1);
        buffer.text = static_cast<char*>(arenaAlloc(length + 1));
        buffer.capacity = length;
        if (!buffer.text) {
            buffer.capacity = 0;
            runtimeError("Out of memory");
        }
    }
    std::memcpy(buffer.text, text.view().data(), length);
    buffer.text[length] = 0;
    return buffer.text;
}

tbString* __tbCStrToStr(const char* text) { return stringNew(text); }
}
