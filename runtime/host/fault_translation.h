// Processor faults on the program thread become runtime errors.
#pragma once

#include <csignal>

namespace tarsk {

// Thrown from the fault handler; the frame around the program shows it as a runtime error.
struct ProcessorFault {
    const char* message;
};

// While alive, faults of the constructing thread throw ProcessorFault, and the
// floating-point unit rounds to nearest with every exception masked.
class FaultTranslation {
public:
    FaultTranslation();
    ~FaultTranslation();
    FaultTranslation(const FaultTranslation&) = delete;
    FaultTranslation& operator=(const FaultTranslation&) = delete;

private:
    struct sigaction previous_[4];
    stack_t previousStack_;
    void* stack_;
    unsigned floatControl_;
};

}  // namespace tarsk
