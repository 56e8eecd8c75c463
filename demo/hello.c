/* A small program of the runtime, written against its C interface: it greets,
 * shows what it was given and where it runs, and counts timer ticks for a second. */
#include "tarsk_commands.h"

static tbString* text(const char* s) { return __tbStrConst(s); }
static tbString* join(const char* label, tbString* value) { return __tbStrConcat(text(label), value); }

void __MAIN(void) {
    _fapptitle(text("Tarsk demo"), text(""));
    _fdebuglog(text("Hello from a Tarsk Basic module image."));
    _fdebuglog(join("Arguments: ", _fcommandline()));
    _fdebuglog(join("Operating system: ", _fsystemproperty(text("os"))));
    _fdebuglog(join("Program folder: ", _fsystemproperty(text("AppDir"))));
    int32_t timer = _fcreatetimer(10);
    int32_t ticks = 0, start = _fmillisecs();
    while (ticks < 10) ticks += _fwaittimer(timer);
    _ffreetimer(timer);
    _fdebuglog(join("Ten ticks of a 10 Hz timer took (ms): ", __tbStrFromInt(_fmillisecs() - start)));
    _fdebuglog(join("Pi: ", __tbStrFromFloat(3.14159265f)));
    _fruntimestats();
}
