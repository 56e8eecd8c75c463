// Integer handles of objects: handed out in increasing order, never reused in a run.
#pragma once

#include "runtime/language/objects.h"

namespace tarsk {

// Erases the object's handle entries (Delete).
void forgetHandle(const tbObject* object);
// Empties both tables and restarts the counter (basic module create).
void handlesReset();

}  // namespace tarsk
