#include "common.h"

/* Same link name as the runtime's CommandLine: the module's own definition is used. */
tbString* __attribute__((noinline)) _fcommandline(void) { return S("module's own"); }

void __MAIN(void) { logJoin("commandline=", _fcommandline()); }
