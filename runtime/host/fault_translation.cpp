#include "runtime/host/fault_translation.h"

#include <pthread.h>
#include <sys/mman.h>
#include <ucontext.h>
#include <xmmintrin.h>

#include <cstdint>

namespace tarsk {
namespace {

constexpr int kSignals[4] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
// The handler runs here, so that a stack overflow can still be reported.
constexpr size_t kAltStackSize = 256 * 1024;
// A fault this close to the stack pointer is taken as a stack overflow.
constexpr uintptr_t kStackOverflowReach = 64 * 1024;

pthread_t programThread;
bool translating = false;

const char* messageFor(int signal, const siginfo_t* info, const ucontext_t* context) {
    switch (signal) {
        case SIGSEGV: {
            auto address = reinterpret_cast<uintptr_t>(info->si_addr);
            auto stack = uintptr_t(context->uc_mcontext.gregs[REG_RSP]);
            if (address + kStackOverflowReach >= stack && address <= stack + kStackOverflowReach)
                return "Stack overflow!";
            return "Memory access violation";
        }
        case SIGBUS: return "Memory access violation";
        case SIGFPE:
            return info->si_code == FPE_INTDIV || info->si_code == FPE_INTOVF ? "Integer divide by zero"
                                                                              : "Unknown runtime exception";
        case SIGILL: return "Illegal instruction";
        default: return "Unknown runtime exception";
    }
}

void onFault(int signal, siginfo_t* info, void* context) {
    if (!translating || !pthread_equal(pthread_self(), programThread)) {
        // Not ours to translate: let the fault take its default course.
        struct sigaction action {};
        action.sa_handler = SIG_DFL;
        sigaction(signal, &action, nullptr);
        return;
    }
    throw ProcessorFault{messageFor(signal, info, static_cast<ucontext_t*>(context))};
}

}  // namespace

FaultTranslation::FaultTranslation() {
    programThread = pthread_self();
    translating = true;
    stack_ = mmap(nullptr, kAltStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    stack_t altStack{};
    altStack.ss_sp = stack_;
    altStack.ss_size = kAltStackSize;
    sigaltstack(&altStack, &previousStack_);

    struct sigaction action {};
    action.sa_sigaction = onFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 4; ++i) sigaction(kSignals[i], &action, &previous_[i]);

    floatControl_ = _mm_getcsr();
    _mm_setcsr((floatControl_ & ~0x6000u) | 0x1F80u);  // round to nearest, all exceptions masked
}

FaultTranslation::~FaultTranslation() {
    _mm_setcsr(floatControl_);
    for (int i = 0; i < 4; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
    sigaltstack(&previousStack_, nullptr);
    munmap(stack_, kAltStackSize);
    translating = false;
}

}  // namespace tarsk
