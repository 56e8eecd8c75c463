#include "runtime/language/vectors.h"

#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/words.h"

namespace tarsk {
namespace {

size_t storageBytes(const tbVecType* type) { return size_t(type->count) * 4; }

}  // namespace

uint32_t vectorAlloc(const tbVecType* type) {
    void* storage = arenaAlloc(storageBytes(type));
    if (!storage) runtimeError("Out of memory");
    return toWord(storage);
}

void vectorFree(uint32_t storage, const tbVecType* type) {
    if (!storage) return;
    auto* elements = fromWord<uint32_t>(storage);
    uint32_t tag = tagOf(type->elementType);
    for (uint32_t i = 0; i < type->count; ++i) releaseValue(tag, elements[i]);
    arenaFree(elements, storageBytes(type));
}

}  // namespace tarsk

using namespace tarsk;

extern "C" {

void* __tbVecAlloc(tbVecType* type) { return fromWord<void>(vectorAlloc(type)); }
void __tbVecFree(void* storage, tbVecType* type) { vectorFree(toWord(storage), type); }
void __tbVecBoundsEx() { runtimeError("Tarsk array index out of bounds"); }
}
