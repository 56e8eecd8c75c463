#include "compiler/codegen/c_prelude.h"

namespace tarsk::compiler {

const char* cPrelude() {
    return R"PRELUDE(#include <stdint.h>
typedef struct tbString tbString;
typedef struct tbObj { uint32_t fields, next, prev, type; int32_t refs; } tbObj;
#define TB_NORETURN __attribute__((noreturn))
#define TB_PTR(r) ((tbObj*)(uintptr_t)(r))
#define TB_REF(p) ((uint32_t)(uintptr_t)(p))
#define TB_ADDR(x) ((int32_t)(uintptr_t)(x))
tbString* __tbStrLoad(tbString** variable);
void __tbStrRelease(tbString* s);
void __tbStrStore(tbString** variable, tbString* s);
int32_t __tbStrCompare(tbString* a, tbString* b);
tbString* __tbStrConcat(tbString* a, tbString* b);
int32_t __tbStrToInt(tbString* s);
tbString* __tbStrFromInt(int32_t v);
float __tbStrToFloat(tbString* s);
tbString* __tbStrFromFloat(float v);
tbString* __tbStrConst(const char* text);
void __tbDebugStmt(int32_t line, int32_t file);
tbObj* __tbObjNew(void* type);
void __tbObjDelete(tbObj* o);
void __tbObjDeleteEach(void* type);
void __tbObjRelease(tbObj* o);
void __tbObjStore(uint32_t* variable, tbObj* o);
int32_t __tbObjCompare(tbObj* a, tbObj* b);
tbObj* __tbObjFirst(void* type);
tbObj* __tbObjLast(void* type);
tbObj* __tbObjNext(tbObj* o);
tbObj* __tbObjPrev(tbObj* o);
tbObj* __tbObjInsBefore(tbObj* o, tbObj* target);
tbObj* __tbObjInsAfter(tbObj* o, tbObj* target);
int32_t __tbObjEachFirst(uint32_t* variable, void* type);
int32_t __tbObjEachNext(uint32_t* variable);
tbString* __tbObjToStr(tbObj* o);
int32_t __tbObjToHandle(tbObj* o);
tbObj* __tbObjFromHandle(int32_t handle, void* type);
TB_NORETURN void __tbNullObjEx(void);
void __tbDimArray(void* array);
void __tbUndimArray(void* array);
TB_NORETURN void __tbArrayBoundsEx(void);
void* __tbVecAlloc(void* vectorType);
void __tbVecFree(void* storage, void* vectorType);
TB_NORETURN void __tbVecBoundsEx(void);
void __tbRestore(void* entry);
int32_t __tbReadInt(void);
float __tbReadFloat(void);
tbString* __tbReadStr(void);
void __tbLoadLibs(void* block);
const char* __tbStrToCStr(tbString* s);
tbString* __tbCStrToStr(const char* text);
float __tbFMod(float a, float b);
float __tbFPow(float a, float b);
void _fruntimeerror(tbString* message);
void _fend(void);
extern uint32_t __tbIntType[], __tbFltType[], __tbStrType[];

/* Float to integer rounds to nearest, ties to even; out of range gives INT32_MIN. */
static inline int32_t tb_f2i(float f) { int32_t r; __asm__("cvtss2si %1, %0" : "=r"(r) : "x"(f)); return r; }
/* The processor's own division fault, which the runtime reports. */
static void __attribute__((noinline, noreturn, cold)) tb_divzero(void) {
    __asm__ volatile("xorl %%ecx, %%ecx\n\tcltd\n\tidivl %%ecx" ::: "eax", "ecx", "edx", "memory");
    __builtin_unreachable();
}
static inline int32_t tb_div(int32_t a, int32_t b) {
    if (__builtin_expect(b == 0, 0)) tb_divzero();
    if (b == -1) return (int32_t)(0u - (uint32_t)a);
    return a / b;
}
static inline int32_t tb_mod(int32_t a, int32_t b) {
    if (__builtin_expect(b == 0, 0)) tb_divzero();
    if (b == -1) return 0;
    return a % b;
}
static inline int32_t tb_abs(int32_t a) { return a < 0 ? (int32_t)(0u - (uint32_t)a) : a; }
static inline int32_t tb_sgn(int32_t a) { return (a > 0) - (a < 0); }
static inline float tb_fabs(float a) { return __builtin_fabsf(a); }
static inline float tb_fsgn(float a) { return a > 0 ? 1.0f : a == 0 ? 0.0f : -1.0f; }
static inline int32_t tb_shl(int32_t a, int32_t b) { return (int32_t)((uint32_t)a << (b & 31)); }
static inline int32_t tb_shr(int32_t a, int32_t b) { return (int32_t)((uint32_t)a >> (b & 31)); }
static inline int32_t tb_sar(int32_t a, int32_t b) { return a >> (b & 31); }
static inline int32_t tb_scmp(tbString* a, tbString* b) { return __tbStrCompare(a, b); }
/* String slots of records, arrays and vectors are 32-bit words. */
static inline tbString* tb_sload32(uint32_t word) { tbString* s = (tbString*)(uintptr_t)word; return __tbStrLoad(&s); }
static inline void tb_sstore32(uint32_t* word, tbString* s) {
    tbString* old = (tbString*)(uintptr_t)*word;
    *word = (uint32_t)(uintptr_t)s;
    __tbStrRelease(old);
}
/* Appends to a string variable's own object; the variable owns the result. */
static inline void tb_append(tbString** variable, tbString* tail) {
    tbString* head = *variable;
    *variable = 0;
    *variable = __tbStrConcat(head ? head : __tbStrConst(""), tail);
}
static inline uint32_t* tb_fields(uint32_t o) { return (uint32_t*)(uintptr_t)TB_PTR(o)->fields; }
static inline uint32_t* tb_fields_checked(uint32_t o) {
    if (__builtin_expect(o == 0, 0) || __builtin_expect(TB_PTR(o)->fields == 0, 0)) __tbNullObjEx();
    return (uint32_t*)(uintptr_t)TB_PTR(o)->fields;
}
static inline uint64_t tb_ai(int32_t i, uint64_t count) {
    if (__builtin_expect((uint64_t)(uint32_t)i >= count, 0)) __tbArrayBoundsEx();
    return (uint32_t)i;
}
static inline uint32_t tb_vi(int32_t i, uint32_t count) {
    if (__builtin_expect((uint32_t)i >= count, 0)) __tbVecBoundsEx();
    return (uint32_t)i;
}
static TB_NORETURN void __attribute__((noinline, cold)) tb_fail(const char* message) {
    _fruntimeerror(__tbStrConst(message));
    __builtin_unreachable();
}
/* Re-dimensions an array: descriptor words, then the compiled code's view of it
   (view[0] the elements, view[1..D] the counts, view[D+1..2D-1] the strides). */
static void __attribute__((noinline)) tb_dim(uint32_t* desc, uint64_t* view, int32_t dims, const int32_t* highest) {
    uint64_t total = 1;
    int32_t k;
    for (k = 0; k < dims; ++k) {
        if (highest[k] < -1) tb_fail("Array size out of range");
        total *= (uint64_t)(highest[k] + 1);
        if (total > 0x10000000u) tb_fail("Array size out of range");
    }
    __tbUndimArray(desc);
    for (k = 0; k < dims; ++k) desc[3 + k] = (uint32_t)highest[k];
    __tbDimArray(desc);
    view[0] = desc[0];
    uint64_t stride = 1;
    for (k = 0; k < dims; ++k) {
        view[1 + k] = (uint64_t)(highest[k] + 1);
        if (k > 0) view[dims + k] = stride;
        stride *= view[1 + k];
    }
}
)PRELUDE";
}

}  // namespace tarsk::compiler
