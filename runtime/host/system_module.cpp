// The system commands: window title, program execution, waiting, the clock, the
// command line, properties, the environment, timers, program end and the debugger hooks.
#include <cstdlib>
#include <cstring>

#include "runtime/host/arena.h"
#include "runtime/host/debug_monitor.h"
#include "runtime/host/gx_host.h"
#include "runtime/host/host_timers.h"
#include "runtime/host/registry.h"
#include "runtime/host/runtime_error.h"
#include "runtime/language/strings.h"

using namespace tarsk;

namespace {

gxHost& host() { return *currentHost(); }

void pumpOrEnd() {
    if (!host().pumpEvents()) endProgram();
}

HostTimer* liveTimer(int32_t handle) {
    auto* timer = fromHandle<HostTimer>(handle);
    if (!host().isTimer(timer)) runtimeError("Timer does not exist");
    return timer;
}

char runtimeErrorBuffer[256];

}  // namespace

extern "C" {

void _fapptitle(tbString* title, tbString* closePrompt) {
    StringArg t(title), prompt(closePrompt);
    host().setWindowTitle(t.str(), prompt.str());
}

void _fexecfile(tbString* command) {
    {
        StringArg text(command);
        host().execFile(text.view());
    }
    pumpOrEnd();
}

void _fdelay(int32_t milliseconds) {
    if (!host().waitMillis(milliseconds)) endProgram();
}

int32_t _fmillisecs() { return systemMillis(); }

tbString* _fcommandline() { return stringNew(host().arguments()); }

tbString* _fsystemproperty(tbString* property) {
    StringArg name(property);
    return stringNew(host().systemProperty(name.view()));
}

tbString* _fgetenv(tbString* variable) {
    StringArg name(variable);
    const char* value = std::getenv(name.str().c_str());
    return stringNew(value ? value : "");
}

void _fsetenv(tbString* variable, tbString* value) {
    StringArg name(variable), text(value);
    // As with "name=value" put into the environment: the name ends at the first "=".
    std::string assignment = name.str() + "=" + text.str();
    size_t equals = assignment.find('=');
    std::string key = assignment.substr(0, equals), rest = assignment.substr(equals + 1);
    if (key.empty()) return;
    if (rest.empty())
        unsetenv(key.c_str());
    else
        setenv(key.c_str(), rest.c_str(), 1);
}

int32_t _fcreatetimer(int32_t hertz) { return handleOf(host().createTimer(hertz)); }

int32_t _fwaittimer(int32_t timer) {
    int32_t ticks = waitTimer(liveTimer(timer));
    pumpOrEnd();
    return ticks;
}

void _ffreetimer(int32_t timer) { host().freeTimer(fromHandle<HostTimer>(timer)); }

void _fend() { endProgram(); }

void _fstop() {
    host().pauseProgram();
    pumpOrEnd();
}

void _fruntimeerror(tbString* message) {
    std::string_view text = stringText(message);
    size_t length = std::min(text.size(), sizeof runtimeErrorBuffer - 1);
    std::memcpy(runtimeErrorBuffer, text.data(), length);
    runtimeErrorBuffer[length] = 0;
    stringRelease(message);
    runtimeError(runtimeErrorBuffer);
}

void _fdebuglog(tbString* text) {
    StringArg line(text);
    host().logText(line.str().c_str());
}

void __tbDebugStmt(int32_t position, int32_t file) {
    if (DebugMonitor* monitor = host().monitor()) monitor->statement(position, file);
    pumpOrEnd();
}

void __tbDebugEnter(int32_t a, int32_t b, int32_t c) {
    if (DebugMonitor* monitor = host().monitor()) monitor->enterFrame(a, b, c);
}

void __tbDebugLeave() {
    if (DebugMonitor* monitor = host().monitor()) monitor->leaveFrame();
}
}

namespace tarsk {

void linkSystemCommands(Registrar add) {
    add("AppTitle$title$close_prompt=\"\"", reinterpret_cast<const void*>(_fapptitle));
    add("ExecFile$command", reinterpret_cast<const void*>(_fexecfile));
    add("Delay%millisecs", reinterpret_cast<const void*>(_fdelay));
    add("%MilliSecs", reinterpret_cast<const void*>(_fmillisecs));
    add("$CommandLine", reinterpret_cast<const void*>(_fcommandline));
    add("$SystemProperty$property", reinterpret_cast<const void*>(_fsystemproperty));
    add("$GetEnv$env_var", reinterpret_cast<const void*>(_fgetenv));
    add("SetEnv$env_var$value", reinterpret_cast<const void*>(_fsetenv));
    add("%CreateTimer%hertz", reinterpret_cast<const void*>(_fcreatetimer));
    add("%WaitTimer%timer", reinterpret_cast<const void*>(_fwaittimer));
    add("FreeTimer%timer", reinterpret_cast<const void*>(_ffreetimer));
    add("End", reinterpret_cast<const void*>(_fend));
    add("Stop", reinterpret_cast<const void*>(_fstop));
    add("RuntimeError$message", reinterpret_cast<const void*>(_fruntimeerror));
    add("DebugLog$text", reinterpret_cast<const void*>(_fdebuglog));
    add("_tbDebugStmt", reinterpret_cast<const void*>(__tbDebugStmt));
    add("_tbDebugEnter", reinterpret_cast<const void*>(__tbDebugEnter));
    add("_tbDebugLeave", reinterpret_cast<const void*>(__tbDebugLeave));
}

}  // namespace tarsk
