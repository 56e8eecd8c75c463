/* Helpers shared by the test modules. */
#include "tarsk_commands.h"

static inline tbString* S(const char* text) { return __tbStrConst(text); }
static inline void logText(const char* text) { _fdebuglog(S(text)); }
static inline void logJoin(const char* label, tbString* value) { _fdebuglog(__tbStrConcat(S(label), value)); }
static inline void logInt(const char* label, int32_t value) { logJoin(label, __tbStrFromInt(value)); }
