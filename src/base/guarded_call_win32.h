// Calls into foreign code (renderer modules and the sound library of other
// makers) that can neither crash the launcher nor leave its stack pointer off.
#pragma once
#include "base/foreign_call.h"

namespace velk {

// Calls `function` as a function of the given convention with up to four
// pointer-sized arguments. Whatever the function does to the stack pointer
// (32-bit code), the registers the launcher relies on, the floating-point
// control words and the x87 stack or, through an exception it leaves
// unhandled, its own flow, the launcher goes on after this call. Only one
// foreign call runs at a time; one made while another runs on the same thread
// (from a window procedure that a module's modal loop called) is refused.
// A module that did not return cleanly may have left threads of its own
// running: keep it loaded until the process ends.
ForeignResult CallForeign(const void* function, std::initializer_list<uintptr_t> arguments,
                          ForeignConvention convention = ForeignConvention::CallerCleans);

}  // namespace velk
