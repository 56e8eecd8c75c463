// The basic module: the language support entry points of compiled code.
#include "runtime/host/gx_host.h"
#include "runtime/host/registry.h"
#include "runtime/language/object_counters.h"
#include "runtime/language/object_handles.h"
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
#define TARSK_ENTRY(name) add(#name, reinterpret_cast<const void*>(&_##name))
    TARSK_ENTRY(_tbStrLoad);
    TARSK_ENTRY(_tbStrRelease);
    TARSK_ENTRY(_tbStrStore);
    TARSK_ENTRY(_tbStrCompare);
    TARSK_ENTRY(_tbStrConcat);
    TARSK_ENTRY(_tbStrToInt);
    TARSK_ENTRY(_tbStrFromInt);
    TARSK_ENTRY(_tbStrToFloat);
    TARSK_ENTRY(_tbStrFromFloat);
    TARSK_ENTRY(_tbStrConst);

    TARSK_ENTRY(_tbIntType);
    TARSK_ENTRY(_tbFltType);
    TARSK_ENTRY(_tbStrType);
    TARSK_ENTRY(_tbCStrType);
    TARSK_ENTRY(_tbObjNew);
    TARSK_ENTRY(_tbObjDelete);
    TARSK_ENTRY(_tbObjDeleteEach);
    TARSK_ENTRY(_tbObjRelease);
    TARSK_ENTRY(_tbObjStore);
    TARSK_ENTRY(_tbObjCompare);
    TARSK_ENTRY(_tbObjFirst);
    TARSK_ENTRY(_tbObjLast);
    TARSK_ENTRY(_tbObjNext);
    TARSK_ENTRY(_tbObjPrev);
    TARSK_ENTRY(_tbObjInsBefore);
    TARSK_ENTRY(_tbObjInsAfter);
    TARSK_ENTRY(_tbObjEachFirst);
    TARSK_ENTRY(_tbObjEachNext);
    TARSK_ENTRY(_tbObjEachFirst2);
    TARSK_ENTRY(_tbObjEachNext2);
    TARSK_ENTRY(_tbObjToStr);
    TARSK_ENTRY(_tbObjToHandle);
    TARSK_ENTRY(_tbObjFromHandle);
    TARSK_ENTRY(_tbNullObjEx);

    TARSK_ENTRY(_tbDimArray);
    TARSK_ENTRY(_tbUndimArray);
    TARSK_ENTRY(_tbArrayBoundsEx);
    TARSK_ENTRY(_tbVecAlloc);
    TARSK_ENTRY(_tbVecFree);
    TARSK_ENTRY(_tbVecBoundsEx);
    TARSK_ENTRY(_tbRestore);
    TARSK_ENTRY(_tbReadInt);
    TARSK_ENTRY(_tbReadFloat);
    TARSK_ENTRY(_tbReadStr);

    TARSK_ENTRY(_tbAbs);
    TARSK_ENTRY(_tbSgn);
    TARSK_ENTRY(_tbMod);
    TARSK_ENTRY(_tbFAbs);
    TARSK_ENTRY(_tbFSgn);
    TARSK_ENTRY(_tbFMod);
    TARSK_ENTRY(_tbFPow);
#undef TARSK_ENTRY
    add("RuntimeStats", reinterpret_cast<const void*>(_fruntimestats));
}

bool basic_create() {
    stringsCreate();
    handlesReset();
    activeObjectCount = 0;
    unreleasedObjectCount = 0;
    return true;
}

void basic_destroy() { stringsDestroy(); }

}  // namespace tarsk
