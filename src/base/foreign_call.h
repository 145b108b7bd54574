// The machinery of the foreign-call guard that needs no Windows API: the
// thunk that calls a foreign function, its 32-bit exception handler, and the
// rules around a call. The Windows side (guarded_call_win32.cpp) lends it
// the system's unwinder; a Linux i386 test program lends it a model of one
// and runs this very code.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace velk {

// Who removes the arguments from the stack on 32-bit Windows: the caller
// (cdecl) or the called function (__stdcall). 64-bit Windows has one convention.
enum class ForeignConvention { CallerCleans, CalleeCleans };

enum class ForeignOutcome {
    Returned,    // a normal return with the stack as the convention leaves it
    Faulted,     // an exception that the foreign code did not handle itself
    StackOff,    // it returned, but left the stack pointer elsewhere (the other convention, or broken)
    Refused,     // not called: a foreign call of this thread is still running (a modal loop called back)
};

struct ForeignResult {
    ForeignOutcome outcome = ForeignOutcome::Faulted;
    uintptr_t value = 0;     // the function's result after a normal return
    uint32_t exception = 0;  // the exception code after a fault
    bool ok() const { return outcome == ForeignOutcome::Returned; }
};

constexpr size_t kMaxForeignArguments = 4;

// What the system lends the guard.
struct ForeignSystem {
    // 32-bit: the unwinder, called as RtlUnwind(frame, target, exception record, return value), __stdcall.
    uintptr_t unwind = 0;
    // 32-bit: the processor has SSE, so MXCSR exists (64-bit processors always have it).
    bool hasSse = false;
};

// Calls `function` with up to kMaxForeignArguments pointer-sized arguments
// (see CallForeign). One call runs at a time: other threads wait, and a call
// made from inside a running one on the same thread is refused.
ForeignResult RunForeignCall(const void* function, std::initializer_list<uintptr_t> arguments,
                             ForeignConvention convention, const ForeignSystem& system);

// The state of the running call, read and written by the thunk at fixed
// offsets (one pointer-sized field each, in this order). It lives in static
// memory, never on the stack, where a callee that writes past its
// parameters could reach it.
struct ForeignCallRecord {
    uintptr_t function;
    uintptr_t arguments[kMaxForeignArguments];
    uintptr_t count;
    uintptr_t unwind;
    uintptr_t hasSse;
    uintptr_t entrySp;        // the thunk's stack pointer on entry (at its return address)
    uintptr_t returnAddress;
    uintptr_t savedRegisters[4];  // 32-bit: ebx, esi, edi, ebp
    uintptr_t previousHandler;    // 32-bit: the exception chain before the call (fs:[0])
    uintptr_t recoverySp;         // the stack pointer of the thunk's frame while the callee runs
    uintptr_t expectedSp;         // the stack pointer a caller-cleans return leaves
    uintptr_t spAfter;
    uintptr_t result;
    uintptr_t fpuControl;  // x87 control word
    uintptr_t mxcsr;
    uintptr_t faulted;
    uintptr_t exception;
};

}  // namespace velk

// The thunk's symbols carry the same names on every target (no leading
// underscore on 32-bit Windows), so one piece of assembly serves all.
extern "C" {
extern velk::ForeignCallRecord* velk_foreign_active __asm__("velk_foreign_active");
void velk_call_foreign(velk::ForeignCallRecord* call) __asm__("velk_call_foreign");
void velk_foreign_recover() __asm__("velk_foreign_recover");
}
