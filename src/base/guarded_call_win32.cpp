// The Windows side of the foreign-call guard (the thunk is in foreign_call.cpp):
// the system's unwinder, the processor's SSE, the 64-bit exception handler,
// and the stack's guard page after an overflow.
#include "base/guarded_call_win32.h"

#include <windows.h>

namespace velk {

namespace {

// After a stack overflow the system has used up the stack's guard page, and
// the next overflow on this thread would end the process without a word. The
// system last had the guard on the lowest committed page of the stack that
// can be used (Wine keeps a no-access page below it): arm that page again,
// unless it is the one in use.
void RearmStackGuard() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const uintptr_t page = system.dwPageSize;
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(&region, &region, sizeof(region)) != sizeof(region)) return;
    const uintptr_t inUse = reinterpret_cast<uintptr_t>(&region) & ~(page - 1);
    void* const stack = region.AllocationBase;
    for (char* at = static_cast<char*>(stack); VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
         at += region.RegionSize) {
        if (region.AllocationBase != stack) return;
        if (region.State != MEM_COMMIT || region.Protect == PAGE_NOACCESS) continue;
        const uintptr_t lowest = reinterpret_cast<uintptr_t>(region.BaseAddress);
        if ((region.Protect & PAGE_GUARD) || lowest + page >= inUse) return;
        DWORD previous = 0;
        VirtualProtect(region.BaseAddress, page, PAGE_READWRITE | PAGE_GUARD, &previous);
        return;
    }
}

}  // namespace

#if defined(__x86_64__)

// Like __except: have the system unwind the foreign frames (their own
// handlers run) and go on at the recovery point, with the stack pointer of
// the thunk's frame. The unwind does not come back here.
extern "C" EXCEPTION_DISPOSITION velk_foreign_handler(EXCEPTION_RECORD* exception, void* establisher, CONTEXT* context,
                                                       DISPATCHER_CONTEXT* dispatcher) {
    if (exception->ExceptionFlags & EXCEPTION_UNWIND) return ExceptionContinueSearch;
    velk_foreign_active->faulted = 1;
    velk_foreign_active->exception = exception->ExceptionCode;
    RtlUnwindEx(establisher, reinterpret_cast<void*>(&velk_foreign_recover), exception, nullptr, context,
                dispatcher->HistoryTable);
    return ExceptionContinueSearch;
}

#endif

ForeignResult CallForeign(const void* function, std::initializer_list<uintptr_t> arguments,
                          ForeignConvention convention) {
    static const ForeignSystem system = [] {
        ForeignSystem s;
#if defined(__i386__)
        s.unwind = reinterpret_cast<uintptr_t>(&RtlUnwind);
        s.hasSse = IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE) != 0;
#else
        s.hasSse = true;
#endif
        return s;
    }();
    ForeignResult result = RunForeignCall(function, arguments, convention, system);
    if (result.outcome == ForeignOutcome::Faulted && result.exception == EXCEPTION_STACK_OVERFLOW) RearmStackGuard();
    return result;
}

}  // namespace velk
