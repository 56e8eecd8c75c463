/* Helpers of the language test modules: logging and access to records by their words. */
#include "../../host/modules/common.h"

#define WORDS(address) ((uint32_t*)(uintptr_t)(address))
#define FIELDS(object) WORDS(WORDS(object)[0])
#define AS_OBJECT(word) ((tbObject*)(uintptr_t)(word))
#define WORD_OF(pointer) ((uint32_t)(uintptr_t)(pointer))

static inline void logObject(const char* label, tbObject* object) { logJoin(label, __tbObjToStr(object)); }

/* String values in 32-bit words (fields, elements), through the variable entry points. */
static inline void storeString(uint32_t* word, tbString* string) {
    tbString* variable = (tbString*)(uintptr_t)*word;
    __tbStrStore(&variable, string);
    *word = WORD_OF(variable);
}

static inline tbString* loadString(const uint32_t* word) {
    tbString* variable = (tbString*)(uintptr_t)*word;
    return __tbStrLoad(&variable);
}

static inline int32_t isMode(tbString** mode, const char* name) { return __tbStrCompare(__tbStrLoad(mode), S(name)) == 0; }
