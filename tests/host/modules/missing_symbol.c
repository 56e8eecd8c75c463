#include "common.h"

void _fnosuchcommand(void);

void __MAIN(void) {
    logText("linked");
    _fnosuchcommand();
}
