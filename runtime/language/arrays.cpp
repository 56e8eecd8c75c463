// Dim arrays: descriptors in the module image, storage below 4 GiB.
#include <cstdint>

#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/objects.h"
#include "runtime/language/words.h"

struct tbArray {
    uint32_t data;  // elements, or 0 when not dimensioned
    uint32_t kind;  // element type tag: 1, 2, 3 or 5
    uint32_t dimensionCount;
    // followed by the dimension words: highest indices before Dim, running counts after
};

namespace tarsk {
namespace {

constexpr uint64_t kMaxElements = uint64_t(1) << 28;  // 1 GiB of elements

uint32_t* dimensionWords(tbArray* array) { return reinterpret_cast<uint32_t*>(array + 1); }

}  // namespace
}  // namespace tarsk

using namespace tarsk;

extern "C" {

void __tbDimArray(tbArray* array) {
    uint32_t* dimensions = dimensionWords(array);
    uint64_t elements = 1;
    for (uint32_t k = 0; k < array->dimensionCount; ++k) {
        int64_t size = int64_t(int32_t(dimensions[k])) + 1;
        if (size < 0) runtimeError("Array index out of bounds");
        elements *= uint64_t(size);
        if (elements > kMaxElements) runtimeError("Out of memory");
    }
    void* storage = arenaAlloc(elements * 4);
    if (!storage) runtimeError("Out of memory");
    elements = 1;
    for (uint32_t k = 0; k < array->dimensionCount; ++k) {
        elements *= uint64_t(int32_t(dimensions[k]) + 1);
        dimensions[k] = uint32_t(elements);
    }
    array->data = toWord(storage);
}

void __tbUndimArray(tbArray* array) {
    if (!array->data) return;
    uint32_t count = array->dimensionCount ? dimensionWords(array)[array->dimensionCount - 1] : 1;
    auto* elements = fromWord<uint32_t>(array->data);
    for (uint32_t i = 0; i < count; ++i) releaseValue(array->kind, elements[i]);
    arenaFree(elements, size_t(count) * 4);
    array->data = 0;
}

void __tbArrayBoundsEx() { runtimeError("Array index out of bounds"); }
}
