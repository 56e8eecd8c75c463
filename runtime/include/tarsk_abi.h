/* Internal entry points that compiled code calls (C calling convention).
 *
 * String objects are opaque; every entry point consumes the string objects it
 * receives unless noted, and every string it returns is a new object owned by the
 * caller. Commands are declared from their registration signatures instead
 * (`tarsk commands --c-header`). */
#ifndef TARSK_ABI_H
#define TARSK_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct tbString tbString;

/* Strings */
tbString* __tbStrLoad(tbString** variable);          /* copy; empty when the variable is null; keeps the variable */
void __tbStrRelease(tbString* string);               /* null is ignored */
void __tbStrStore(tbString** variable, tbString* string); /* releases the old value, takes ownership */
int32_t __tbStrCompare(tbString* a, tbString* b);   /* -1, 0, 1; releases both */
tbString* __tbStrConcat(tbString* a, tbString* b);  /* appends b to a in place, releases b, returns a */
int32_t __tbStrToInt(tbString* string);
tbString* __tbStrFromInt(int32_t value);
float __tbStrToFloat(tbString* string);
tbString* __tbStrFromFloat(float value);
tbString* __tbStrConst(const char* text);           /* new object holding a copy */

/* Debugger hooks */
void __tbDebugStmt(int32_t position, int32_t file);
void __tbDebugEnter(int32_t a, int32_t b, int32_t c);
void __tbDebugLeave(void);

#ifdef __cplusplus
}
#endif

#endif
