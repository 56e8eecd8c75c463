/* Mode commands from compiled code; ends with an illegal mode argument. */
#include "../../host/modules/common.h"

void __MAIN(void) {
    logInt("start width=", _fgraphicswidth());
    logInt("start height=", _fgraphicsheight());
    _fgraphics(640, 480, 16, 2);
    logInt("windowed depth=", _fgraphicsdepth());
    _fgraphics(640, 480, 0, 1);
    logInt("full screen depth=", _fgraphicsdepth());
    _fsetgamma(10, 10, 10, 300.0f, 0.0f, 0.0f);
    logInt("gamma red=", (int32_t)(_fgammared(10) * 1000.0f));
    _fflip(1);
    _fvwait(5);
    _fendgraphics();
    logInt("back to width=", _fgraphicswidth());
    _fgraphics(640, 480, 0, 4);
    logText("not reached");
}
