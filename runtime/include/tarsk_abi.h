/* Internal entry points that compiled code calls (C calling convention).
 *
 * String objects are opaque; every entry point consumes the string objects it
 * receives unless noted, and every string it returns is a new object owned by the
 * caller. Commands are declared from their registration signatures instead
 * (`tarsk commands --c-header`).
 *
 * Every record a program holds lies below 4 GiB, so object fields and array elements
 * hold string and object addresses in 32-bit words. String variables are pointers;
 * the object "variable" arguments below are addresses of 32-bit words. Type
 * descriptors, array descriptors, data entries and the binding block are static data
 * of the module image. */
#ifndef TARSK_ABI_H
#define TARSK_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct tbString tbString;
typedef struct tbObject tbObject;   /* words: fields, next, prev, type, reference count, field values */
typedef struct tbObjType tbObjType; /* words: tag 5, used-list sentinel (5), free-list sentinel (5), F, F field types */
typedef struct tbVecType tbVecType; /* words: tag 6, element count, element type */
typedef struct tbArray tbArray;     /* words: data, element kind, D, D dimension words */
typedef struct tbDataEntry tbDataEntry; /* words: kind (0 end, 1 int, 2 float, 4 text), value */

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

/* Type tags: one-word data objects holding 1 (int), 2 (float), 3 (string), 4 (C string) */
extern int32_t __tbIntType, __tbFltType, __tbStrType, __tbCStrType;

/* Objects; "variable" is the address of a 32-bit word holding an object address or 0 */
tbObject* __tbObjNew(tbObjType* type);
void __tbObjDelete(tbObject* object);              /* null and deleted objects are ignored */
void __tbObjDeleteEach(tbObjType* type);
void __tbObjRelease(tbObject* object);
void __tbObjStore(uint32_t* variable, tbObject* object);
int32_t __tbObjCompare(tbObject* a, tbObject* b);  /* 0 when both give the same fields (null equals deleted) */
tbObject* __tbObjFirst(tbObjType* type);
tbObject* __tbObjLast(tbObjType* type);
tbObject* __tbObjNext(tbObject* object);           /* also from a deleted object */
tbObject* __tbObjPrev(tbObject* object);
tbObject* __tbObjInsBefore(tbObject* object, tbObject* target);
tbObject* __tbObjInsAfter(tbObject* object, tbObject* target);
int32_t __tbObjEachFirst(uint32_t* variable, tbObjType* type);   /* counts the loop variable */
int32_t __tbObjEachNext(uint32_t* variable);
int32_t __tbObjEachFirst2(uint32_t* variable, tbObjType* type);  /* uncounted */
int32_t __tbObjEachNext2(uint32_t* variable);
tbString* __tbObjToStr(tbObject* object);
int32_t __tbObjToHandle(tbObject* object);
tbObject* __tbObjFromHandle(int32_t handle, tbObjType* type);
void __tbNullObjEx(void);                          /* "Object does not exist" */

/* Arrays, vectors and data statements */
void __tbDimArray(tbArray* array);
void __tbUndimArray(tbArray* array);
void __tbArrayBoundsEx(void);                      /* "Array index out of bounds" */
void* __tbVecAlloc(tbVecType* type);
void __tbVecFree(void* storage, tbVecType* type);
void __tbVecBoundsEx(void);                        /* "Tarsk array index out of bounds" */
void __tbRestore(const tbDataEntry* entry);
int32_t __tbReadInt(void);
float __tbReadFloat(void);
tbString* __tbReadStr(void);

/* Arithmetic */
int32_t __tbAbs(int32_t value);
int32_t __tbSgn(int32_t value);
int32_t __tbMod(int32_t a, int32_t b);             /* b = 0 raises "Integer divide by zero" */
float __tbFAbs(float value);
float __tbFSgn(float value);
float __tbFMod(float a, float b);
float __tbFPow(float a, float b);

/* User libraries */
void __tbLoadLibs(const char* bindingBlock);
const char* __tbStrToCStr(tbString* string);       /* valid for the next 256 conversions */
tbString* __tbCStrToStr(const char* text);

/* Debugger hooks */
void __tbDebugStmt(int32_t position, int32_t file);
void __tbDebugEnter(int32_t a, int32_t b, int32_t c);
void __tbDebugLeave(void);

#ifdef __cplusplus
}
#endif

#endif
