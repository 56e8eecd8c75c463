#include "common.h"

static volatile int zero = 0;
static int* volatile nowhere = 0;

static int __attribute__((noinline)) bottomless(int n) {
    volatile char frame[256];
    frame[0] = (char)n;
    return bottomless(n + 1) + frame[0];
}

void __MAIN(void) {
    tbString* which = _fcommandline();
    int kind = __tbStrToInt(which);
    logText("faulting");
    if (kind == 1) *nowhere = 1;
    if (kind == 2) logInt("quotient=", 100 / zero);
    if (kind == 3) bottomless(0);
    logText("no fault");
}
