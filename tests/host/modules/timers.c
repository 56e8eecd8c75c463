#include "common.h"

void __MAIN(void) {
    int32_t timer = _fcreatetimer(50); /* 20 ms period */
    int32_t first = _fwaittimer(timer);
    logInt("first wait=", first);
    _fdelay(110);
    int32_t late = _fwaittimer(timer);
    logInt("after 110 ms between 4 and 7=", late >= 4 && late <= 7);
    logInt("next=", _fwaittimer(timer));
    _ffreetimer(timer);
    _ffreetimer(timer); /* freeing twice is ignored */
    logText("done");
}
