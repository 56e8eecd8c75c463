#include "common.h"

void __MAIN(void) {
    logJoin("args=[", __tbStrConcat(_fcommandline(), S("]")));
    _fsetenv(S("TARSK_TEST_VARIABLE"), S("forty two"));
    logJoin("env=", _fgetenv(S("TARSK_TEST_VARIABLE")));
    _fsetenv(S("TARSK_TEST_VARIABLE"), S(""));
    logJoin("removed=", _fgetenv(S("TARSK_TEST_VARIABLE")));
    logJoin("cpu=", _fsystemproperty(S("cpu")));
    logInt("same appdir=", __tbStrCompare(_fsystemproperty(S("AppDir")), _fsystemproperty(S("appdir"))) == 0);
    logJoin("unknown=", _fsystemproperty(S("no such property")));
    logJoin("tempdir=", _fsystemproperty(S("TempDir")));
    logInt("os named=", __tbStrCompare(_fsystemproperty(S("os")), S("")) != 0);
    logInt("clock runs=", _fmillisecs() != 0);
    _fdelay(0);
    _fruntimestats();
}
