/* User libraries end to end: a binding block, bound calls, stubs. */
#include "language.h"

uint32_t slotTwice, slotTextLength, slotGreeting, slotMissing, slotAnswer, slotNothing;

__asm__(
    ".data\n"
    "bindings:\n"
    "  .asciz \"langfixture.dll\"\n"
    "  .asciz \"Twice\"\n  .long slotTwice\n"
    "  .asciz \"TextLength\"\n  .long slotTextLength\n"
    "  .asciz \"Greeting\"\n  .long slotGreeting\n"
    "  .asciz \"NoSuchFunction\"\n  .long slotMissing\n"
    "  .byte 0\n"
    "  .asciz \"tarskonly.dll\"\n"
    "  .asciz \"Answer\"\n  .long slotAnswer\n"
    "  .byte 0\n"
    "  .asciz \"nowhere.dll\"\n"
    "  .asciz \"Nothing\"\n  .long slotNothing\n"
    "  .byte 0\n"
    "  .byte 0\n"
    ".text\n");
extern const char bindings[];

#define CALL(slot, type) ((type)(uintptr_t)(slot))


void __MAIN(void) {
    tbString* mode = _fcommandline();
    __tbLoadLibs(bindings);
    logInt("Twice(21)=", CALL(slotTwice, int32_t (*)(int32_t))(21));
    logInt("TextLength=", CALL(slotTextLength, int32_t (*)(const char*))(__tbStrToCStr(S("seven!!"))));
    logJoin("Greeting=", __tbCStrToStr(CALL(slotGreeting, const char* (*)(void))()));
    if (isMode(&mode, "missing function")) CALL(slotMissing, void (*)(int32_t))(1);
    if (isMode(&mode, "missing library")) CALL(slotNothing, void (*)(void))();
    __tbStrStore(&mode, 0);
    logInt("Answer=", CALL(slotAnswer, int32_t (*)(void))());
}
