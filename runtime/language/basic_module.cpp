// The basic module: the language support entry points of compiled code.
#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/language/object_counters.h"
#include "runtime/language/strings.h"

using namespace tarsk;

extern "C" void _fruntimestats() {
    gxHost* host = currentHost();
    host->logText(("Active strings :" + std::to_string(liveStringCount())).c_str());
    host->logText(("Active objects :" + std::to_string(activeObjectCount)).c_str());
    host->logText(("Unreleased objs:" + std::to_string(unreleasedObjectCount)).c_str());
}

namespace tarsk {

void basic_link(Registrar add) {
    add("_tbStrLoad", reinterpret_cast<const void*>(__tbStrLoad));
    add("_tbStrRelease", reinterpret_cast<const void*>(__tbStrRelease));
    add("_tbStrStore", reinterpret_cast<const void*>(__tbStrStore));
    add("_tbStrCompare", reinterpret_cast<const void*>(__tbStrCompare));
    add("_tbStrConcat", reinterpret_cast<const void*>(__tbStrConcat));
    add("_tbStrToInt", reinterpret_cast<const void*>(__tbStrToInt));
    add("_tbStrFromInt", reinterpret_cast<const void*>(__tbStrFromInt));
    add("_tbStrToFloat", reinterpret_cast<const void*>(__tbStrToFloat));
    add("_tbStrFromFloat", reinterpret_cast<const void*>(__tbStrFromFloat));
    add("_tbStrConst", reinterpret_cast<const void*>(__tbStrConst));
    add("RuntimeStats", reinterpret_cast<const void*>(_fruntimestats));
}

bool basic_create() {
    stringsCreate();
    activeObjectCount = 0;
    unreleasedObjectCount = 0;
    return true;
}

void basic_destroy() { stringsDestroy(); }

}  // namespace tarsk
