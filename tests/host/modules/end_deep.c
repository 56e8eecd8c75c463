#include "common.h"

static int __attribute__((noinline)) descend(int depth) {
    if (depth == 0) _fend();
    return descend(depth - 1) + 1;
}

void __MAIN(void) {
    logText("descending");
    descend(200);
    logText("not reached");
}
