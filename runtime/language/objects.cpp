#include "runtime/language/objects.h"

#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/object_counters.h"
#include "runtime/language/object_handles.h"
#include "runtime/language/strings.h"
#include "runtime/language/vectors.h"
#include "runtime/language/words.h"

extern "C" {
int32_t __tbIntType = tarsk::kIntTag;
int32_t __tbFltType = tarsk::kFloatTag;
int32_t __tbStrType = tarsk::kStringTag;
int32_t __tbCStrType = tarsk::kCStringTag;
}

namespace tarsk {
namespace {

constexpr uint32_t kBlockRecords = 512;

tbObject* nextOf(const tbObject* record) { return fromWord<tbObject>(record->next); }
tbObject* prevOf(const tbObject* record) { return fromWord<tbObject>(record->prev); }
tbObjType* typeOf(const tbObject* object) { return fromWord<tbObjType>(object->type); }
bool isSentinel(const tbObject* record) { return record->type == 0; }
uint32_t* fieldWords(tbObject* object) { return reinterpret_cast<uint32_t*>(object + 1); }
const uint32_t* fieldTypes(const tbObjType* type) { return reinterpret_cast<const uint32_t*>(type + 1); }
size_t recordSize(const tbObjType* type) { return sizeof(tbObject) + 4 * size_t(type->fieldCount); }

void unlink(tbObject* record) {
    prevOf(record)->next = record->next;
    nextOf(record)->prev = record->prev;
}

void linkBefore(tbObject* record, tbObject* position) {
    record->next = toWord(position);
    record->prev = position->prev;
    prevOf(position)->next = toWord(record);
    position->prev = toWord(record);
}

void addBlock(tbObjType* type) {
    size_t size = recordSize(type);
    auto* block = static_cast<uint8_t*>(arenaAlloc(size * kBlockRecords));
    if (!block) runtimeError("Out of memory");
    for (uint32_t i = 0; i < kBlockRecords; ++i) linkBefore(reinterpret_cast<tbObject*>(block + i * size), &type->free);
}

void requireObject(const tbObject* object) {
    if (!object) runtimeError("Object does not exist");
}

// The first record from `record` onwards (in the walk's direction) that still exists.
template <tbObject* (*step)(const tbObject*)>
tbObject* existingFrom(tbObject* record) {
    while (!isSentinel(record) && !record->fields) record = step(record);
    return isSentinel(record) ? nullptr : record;
}

void count(tbObject* object) {
    if (object) ++object->references;
}

int32_t eachStep(uint32_t* variable, tbObject* found, bool counted) {
    if (counted) {
        count(found);
        __tbObjRelease(fromWord<tbObject>(*variable));
    }
    *variable = toWord(found);
    return found ? 1 : 0;
}

tbObject* existingAfter(uint32_t variable) {
    auto* current = fromWord<tbObject>(variable);
    return current ? existingFrom<nextOf>(nextOf(current)) : nullptr;
}

}  // namespace

uint32_t tagOf(uint32_t typeWord) { return *fromWord<uint32_t>(typeWord); }

void releaseValue(uint32_t tag, uint32_t value) {
    if (tag == kStringTag) stringRelease(fromWord<tbString>(value));
    if (tag == kObjectTag) __tbObjRelease(fromWord<tbObject>(value));
}

}  // namespace tarsk

using namespace tarsk;

extern "C" {

tbObject* __tbObjNew(tbObjType* type) {
    if (type->free.next == toWord(&type->free)) addBlock(type);
    tbObject* object = nextOf(&type->free);
    unlink(object);
    uint32_t* fields = fieldWords(object);
    const uint32_t* types = fieldTypes(type);
    for (uint32_t i = 0; i < type->fieldCount; ++i) {
        fields[i] = tagOf(types[i]) == kVectorTag ? vectorAlloc(fromWord<tbVecType>(types[i])) : 0;
    }
    object->fields = toWord(fields);
    object->type = toWord(type);
    object->references = 1;
    linkBefore(object, &type->used);
    ++activeObjectCount;
    ++unreleasedObjectCount;
    return object;
}

void __tbObjDelete(tbObject* object) {
    if (!object || !object->fields) return;
    tbObjType* type = typeOf(object);
    uint32_t* fields = fieldWords(object);
    const uint32_t* types = fieldTypes(type);
    object->fields = 0;
    for (uint32_t i = 0; i < type->fieldCount; ++i) {
        uint32_t tag = tagOf(types[i]);
        uint32_t value = fields[i];
        fields[i] = 0;
        if (tag == kVectorTag)
            vectorFree(value, fromWord<tbVecType>(types[i]));
        else
            releaseValue(tag, value);
    }
    forgetHandle(object);
    --activeObjectCount;
    __tbObjRelease(object);
}

void __tbObjDeleteEach(tbObjType* type) {
    // The current record is pinned so that releases done by Delete cannot move it
    // (or its successor) to the free list while the walk stands on it.
    tbObject* record = nextOf(&type->used);
    if (!isSentinel(record)) count(record);
    while (!isSentinel(record)) {
        __tbObjDelete(record);
        tbObject* next = nextOf(record);
        if (!isSentinel(next)) count(next);
        __tbObjRelease(record);
        record = next;
    }
}

void __tbObjRelease(tbObject* object) {
    if (!object || --object->references != 0) return;
    tbObjType* type = typeOf(object);
    unlink(object);
    linkBefore(object, &type->free);
    --unreleasedObjectCount;
}

void __tbObjStore(uint32_t* variable, tbObject* object) {
    count(object);
    __tbObjRelease(fromWord<tbObject>(*variable));
    *variable = toWord(object);
}

int32_t __tbObjCompare(tbObject* a, tbObject* b) {
    uint32_t fieldsA = a ? a->fields : 0;
    uint32_t fieldsB = b ? b->fields : 0;
    return fieldsA == fieldsB ? 0 : 1;
}

tbObject* __tbObjFirst(tbObjType* type) { return existingFrom<nextOf>(nextOf(&type->used)); }
tbObject* __tbObjLast(tbObjType* type) { return existingFrom<prevOf>(prevOf(&type->used)); }

tbObject* __tbObjNext(tbObject* object) {
    requireObject(object);
    return existingFrom<nextOf>(nextOf(object));
}

tbObject* __tbObjPrev(tbObject* object) {
    requireObject(object);
    return existingFrom<prevOf>(prevOf(object));
}

tbObject* __tbObjInsBefore(tbObject* object, tbObject* target) {
    requireObject(object);
    requireObject(target);
    if (object == target) return object;
    unlink(object);
    linkBefore(object, target);
    return object;
}

tbObject* __tbObjInsAfter(tbObject* object, tbObject* target) {
    requireObject(object);
    requireObject(target);
    if (object == target) return object;
    unlink(object);
    linkBefore(object, nextOf(target));
    return object;
}

int32_t __tbObjEachFirst(uint32_t* variable, tbObjType* type) { return eachStep(variable, __tbObjFirst(type), true); }
int32_t __tbObjEachNext(uint32_t* variable) { return eachStep(variable, existingAfter(*variable), true); }
int32_t __tbObjEachFirst2(uint32_t* variable, tbObjType* type) {
    return eachStep(variable, __tbObjFirst(type), false);
}
int32_t __tbObjEachNext2(uint32_t* variable) { return eachStep(variable, existingAfter(*variable), false); }

void __tbNullObjEx() { runtimeError("Object does not exist"); }
}
