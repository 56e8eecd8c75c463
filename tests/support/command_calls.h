// Calling commands from tests: string arguments and results, and the runtime error a
// call raises.
#pragma once

#include <string>
#include <string_view>

#include "runtime/host/runtime_error.h"
#include "runtime/language/strings.h"

namespace tarsk::test {

inline tbString* S(std::string_view text) { return stringNew(text); }
inline std::string text(tbString* string) { return stringTake(string); }

// The message of the runtime error the call raises, "(silent)" for an end without a
// message, "(none)" when it raises nothing.
template <class Call>
std::string errorOf(Call call) {
    try {
        call();
    } catch (const tbEx& error) {
        return error.message ? error.message : "(silent)";
    }
    return "(none)";
}

}  // namespace tarsk::test
