#include "common.h"

void __MAIN(void) {
    char text[301];
    for (int i = 0; i < 300; ++i) text[i] = (char)('a' + i % 26);
    text[300] = 0;
    logText("before");
    _fruntimeerror(S(text));
    logText("after");
}
