// Calls into foreign code (renderer modules and the sound library of other
// makers) that can neither crash the launcher nor leave its stack pointer off.
#pragma once
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
};

struct ForeignResult {
    ForeignOutcome outcome = ForeignOutcome::Faulted;
    uintptr_t value = 0;     // the function's result after a normal return
    uint32_t exception = 0;  // the exception code after a fault
    bool ok() const { return outcome == ForeignOutcome::Returned; }
};

// Calls `function` as a function of the given convention with up to four
// pointer-sized arguments. Whatever the function does to the stack pointer
// (32-bit code), the registers the launcher relies on, the floating-point
// control words or, through an unhandled exception, its own flow, the
// launcher goes on after this call. Only one foreign call runs at a time.
ForeignResult CallForeign(const void* function, std::initializer_list<uintptr_t> arguments,
                          ForeignConvention convention = ForeignConvention::CallerCleans);

}  // namespace velk
