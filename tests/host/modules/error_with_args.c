#include "common.h"

/* Reports the argument text the only way a program without a monitor can: as an error. */
void __MAIN(void) { _fruntimeerror(__tbStrConcat(S("args="), _fcommandline())); }
