#include "runtime/language/strings.h"

#include <memory>
#include <new>

#include "runtime/host/arena.h"
#include "runtime/language/text_conversions.h"

namespace tarsk {
namespace {

constexpr int kBlockRecords = 512;

// Circular lists with sentinels: records in use, and released records in release order.
tbString inUse;
tbString freeList;
int32_t liveCount = 0;

void unlink(tbString* record) {
    record->prev->next = record->next;
    record->next->prev = record->prev;
}

void appendTo(tbString& list, tbString* record) {
    record->prev = list.prev;
    record->next = &list;
    list.prev->next = record;
    list.prev = record;
}

void ensureLists() {
    if (!inUse.next) inUse.next = inUse.prev = &inUse;
    if (!freeList.next) freeList.next = freeList.prev = &freeList;
}

void addBlock() {
    // Blocks stay allocated until the process ends; their records are raw storage.
    auto* block = static_cast<tbString*>(arenaAlloc(sizeof(tbString) * kBlockRecords));
    if (!block) throw std::bad_alloc();
    for (int i = 0; i < kBlockRecords; ++i) appendTo(freeList, &block[i]);
}

tbString* take() {
    ensureLists();
    if (freeList.next == &freeList) addBlock();
    tbString* record = freeList.next;
    unlink(record);
    appendTo(inUse, record);
    ++liveCount;
    return record;
}

}  // namespace

tbString* stringNew(std::string_view text) {
    tbString* record = take();
    new (&record->text) std::string(text);
    return record;
}

tbString* stringNew(const char* text) { return stringNew(std::string_view(text ? text : "")); }

void stringRelease(tbString* record) {
    if (!record) return;
    std::destroy_at(&record->text);
    unlink(record);
    appendTo(freeList, record);
    --liveCount;
}

std::string stringTake(tbString* string) {
    if (!string) return {};
    std::string text = std::move(string->text);
    stringRelease(string);
    return text;
}

int32_t liveStringCount() { return liveCount; }

void stringsCreate() {
    ensureLists();
    liveCount = 0;
}

void stringsDestroy() {
    ensureLists();
    while (inUse.next != &inUse) stringRelease(inUse.next);
}

}  // namespace tarsk

using namespace tarsk;

extern "C" {

tbString* __tbStrLoad(tbString** variable) { return stringNew(stringText(*variable)); }

void __tbStrRelease(tbString* string) { stringRelease(string); }

void __tbStrStore(tbString** variable, tbString* string) {
    stringRelease(*variable);
    *variable = string;
}

int32_t __tbStrCompare(tbString* a, tbString* b) {
    int order = stringText(a).compare(stringText(b));  // char_traits<char> compares as unsigned bytes
    stringRelease(a);
    stringRelease(b);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

tbString* __tbStrConcat(tbString* a, tbString* b) {
    a->text.append(stringText(b));
    stringRelease(b);
    return a;
}

int32_t __tbStrToInt(tbString* string) {
    int32_t value = textToInt(stringText(string));
    stringRelease(string);
    return value;
}

tbString* __tbStrFromInt(int32_t value) { return stringNew(intToText(value)); }

float __tbStrToFloat(tbString* string) {
    float value = textToFloat(stringText(string));
    stringRelease(string);
    return value;
}

tbString* __tbStrFromFloat(float value) { return stringNew(floatToText(value)); }

tbString* __tbStrConst(const char* text) { return stringNew(text); }
}
