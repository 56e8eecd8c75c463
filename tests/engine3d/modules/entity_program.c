/* A compiled program building a small entity tree: floats cross the call boundary
 * both ways, the copy is left for the end of the program to free, and a command on
 * a freed child ends the program with the handle error. */
#include "../../host/modules/common.h"

static void logFloat(const char* label, float value) { logJoin(label, __tbStrFromFloat(value)); }

void __MAIN(void) {
    int32_t body = _fcreatepivot(0);
    _fnameentity(body, S("body"));
    int32_t arm = _fcreatepivot(body);
    _fnameentity(arm, S("arm"));
    _frotateentity(body, 0, 90, 0, 0);
    _fpositionentity(arm, 0, 0, 2, 0);
    logJoin("class=", _fentityclass(arm));
    logInt("found=", _ffindchild(body, S("arm")) == arm);
    logFloat("x=", _fentityx(arm, 1));
    logFloat("yaw=", _fentityyaw(arm, 1));
    int32_t copy = _fcopyentity(body, 0);
    logInt("children=", _fcountchildren(copy));
    _ffreeentity(body);
    logText("freed");
    _fentityx(arm, 0);
    logText("not reached");
}
