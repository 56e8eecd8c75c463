/* Opens a window and logs the clicks and keys it receives until Escape. */
#include "../../host/modules/common.h"

void __MAIN(void) {
    _fgraphics(320, 240, 0, 2);
    logText("window open");
    for (;;) {
        int32_t button, key;
        while ((button = _fgetmouse())) {
            logInt("button ", button);
            logInt("at x ", _fmousex());
            logInt("at y ", _fmousey());
        }
        while ((key = _fgetkey())) {
            if (key == 27) {
                logText("escape");
                return;
            }
            logInt("key ", key);
        }
        _fdelay(5);
    }
}
