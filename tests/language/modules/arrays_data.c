/* Dim arrays, vectors and data statements end to end, with hand-written descriptors. */
#include "language.h"

__asm__(
    ".data\n.balign 4\n"
    "Grid: .long 0, 1, 2, 10, 20\n"             /* Dim Grid%(10, 20) */
    "Names: .long 0, 3, 1, 4\n"                 /* Dim Names$(4) */
    "Items: .long 0, 5, 1, 1\n"                 /* Dim Items.Item(1) */
    "Item: .long 5\n"
    "  .long 0, Item+4, Item+4, 0, -1\n"
    "  .long 0, Item+24, Item+24, 0, -1\n"
    "  .long 1, __tbIntType\n"
    "Words4: .long 6, 4, __tbStrType\n"
    "Values: .long 1, 1\n"
    "  .long 2, 0x40200000\n"                  /* 2.5 */
    "  .long 4, seven\n"
    "  .long 2, 0xC0600000\n"                  /* -3.5 */
    "  .long 0, 0\n"
    "BadValues: .long 3, 0\n"
    "seven: .asciz \"7\"\n"
    ".text\n");
extern tbArray Grid, Names, Items;
extern tbObjType Item;
extern tbVecType Words4;
extern tbDataEntry Values, BadValues;

static void dimArrays(void) {
    __tbDimArray(&Grid);
    logInt("grid dimension words=", (int32_t)WORDS(&Grid)[3] * 1000 + (int32_t)WORDS(&Grid)[4]);
    uint32_t* grid = WORDS(WORDS(&Grid)[0]);
    int32_t zero = 1;
    for (int32_t i = 0; i < 231; ++i) zero &= grid[i] == 0;
    logInt("grid zeroed=", zero);
    grid[3 + 4 * 11] = 34;
    __tbUndimArray(&Grid);
    logInt("undimensioned=", WORDS(&Grid)[0] == 0);
    __tbUndimArray(&Grid);

    __tbDimArray(&Names);
    uint32_t* names = WORDS(WORDS(&Names)[0]);
    for (int32_t i = 0; i < 5; ++i) storeString(&names[i], __tbStrFromInt(i));
    _fruntimestats();
    __tbUndimArray(&Names);
    WORDS(&Names)[3] = 2; /* Dim Names$(2) again */
    __tbDimArray(&Names);
    names = WORDS(WORDS(&Names)[0]);
    logInt("new elements empty=", names[0] == 0 && names[1] == 0 && names[2] == 0);
    logJoin("empty loads as=[", __tbStrConcat(loadString(&names[1]), S("]")));
    _fruntimestats();
    __tbUndimArray(&Names);

    __tbDimArray(&Items);
    uint32_t* items = WORDS(WORDS(&Items)[0]);
    tbObject* item = __tbObjNew(&Item);
    __tbObjStore(&items[0], item);
    __tbObjStore(&items[1], item);
    __tbObjDelete(item);
    _fruntimestats(); /* one zombie held by the array */
    __tbUndimArray(&Items);
    _fruntimestats();
}

static void vectors(void) {
    uint32_t* words = (uint32_t*)__tbVecAlloc(&Words4);
    logInt("vector zeroed=", words[0] == 0 && words[3] == 0);
    storeString(&words[1], S("one"));
    storeString(&words[3], S("three"));
    __tbVecFree(words, &Words4);
    __tbVecFree(0, &Words4);
    _fruntimestats();
}

static void readData(void) {
    __tbRestore(&Values);
    int32_t a = __tbReadInt(), b = __tbReadInt(), c = __tbReadInt(), d = __tbReadInt();
    logInt("ReadInt 1, 2.5, \"7\", -3.5: ", a * 1000 + b * 100 + c * 10 - d);
    __tbRestore(&Values);
    tbString* text = S("ReadStr:");
    for (int32_t i = 0; i < 4; ++i) text = __tbStrConcat(__tbStrConcat(text, S(" ")), __tbReadStr());
    _fdebuglog(text);
    __tbRestore(&Values);
    text = S("ReadFloat:");
    for (int32_t i = 0; i < 4; ++i) text = __tbStrConcat(__tbStrConcat(text, S(" ")), __tbStrFromFloat(__tbReadFloat()));
    _fdebuglog(text);
}


void __MAIN(void) {
    tbString* mode = _fcommandline();
    if (isMode(&mode, "past")) {
        __tbRestore(&Values);
        for (int32_t i = 0; i < 4; ++i) __tbReadFloat();
        logText("read all four");
        __tbReadInt();
    }
    if (isMode(&mode, "again")) {
        __tbRestore(&Values);
        for (int32_t i = 0; i < 4; ++i) __tbReadInt();
        __tbRestore(&Values);
        logInt("after Restore reads start again: ", __tbReadInt());
        return;
    }
    if (isMode(&mode, "bad")) {
        __tbRestore(&BadValues);
        __tbReadStr();
    }
    if (isMode(&mode, "unrestored")) __tbReadInt();
    if (isMode(&mode, "negative dim")) {
        WORDS(&Grid)[3] = (uint32_t)-2;
        __tbDimArray(&Grid);
    }
    if (isMode(&mode, "huge dim")) {
        WORDS(&Grid)[3] = 100000;
        WORDS(&Grid)[4] = 100000;
        __tbDimArray(&Grid);
    }
    if (isMode(&mode, "bounds")) __tbArrayBoundsEx();
    if (isMode(&mode, "vector bounds")) __tbVecBoundsEx();
    __tbStrStore(&mode, 0);
    dimArrays();
    vectors();
    readData();
    _fruntimestats();
}
