// Runtime errors and program end: one exception, thrown and caught once around the program.
#pragma once

namespace tarsk {

// Thrown by value; a null message ends the program silently.
struct tbEx {
    const char* message;
};

// Shows the message through the host's monitor (ending the program), then throws.
[[noreturn]] void runtimeError(const char* message);
// Ends the program without any message.
[[noreturn]] void endProgram();

// True exactly when a debug monitor was given to runProgram: commands then check
// handles and ranges beyond the checks that guard memory, which are always on.
extern bool debugChecks;

}  // namespace tarsk
