// CallForeign against foreign functions of the test's own, each doing one of
// the things a broken renderer module or sound library may do. On 32-bit
// code the Linux i386 harness (tests/i386) runs the same thunk through more
// of these; here the system's own dispatcher and unwinder take part.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/guarded_call_win32.h"

extern "C" {
int g_unwoundFrames = 0;
// The handler of a foreign frame: counts the unwinds that pass through it.
EXCEPTION_DISPOSITION CountUnwinds(EXCEPTION_RECORD* exception, void*, CONTEXT*, void*) {
    if (exception->ExceptionFlags & EXCEPTION_UNWINDING) ++g_unwoundFrames;
    return ExceptionContinueSearch;
}
uintptr_t CallUnderUnwindHandler(uintptr_t (*inner)());
uintptr_t ScribblePastParameters();
uintptr_t ScribbleAndFault();
#if defined(__x86_64__)
uintptr_t BreakXmm();
bool XmmKeptBy(void (*function)());
#endif
}

#if defined(__x86_64__)
asm(R"(
    .text
    .globl CallUnderUnwindHandler
    .def   CallUnderUnwindHandler; .scl 2; .type 32; .endef
    .seh_proc CallUnderUnwindHandler
CallUnderUnwindHandler:
    subq  $40, %rsp
    .seh_stackalloc 40
    .seh_endprologue
    .seh_handler CountUnwinds, @unwind
    call  *%rcx
    nop
    addq  $40, %rsp
    ret
    .seh_endproc

# Given no arguments, write the stack slots of parameters 5 to 12.
    .macro SCRIBBLE
    movq  $0x4141414141414141, %rax
    .irp slot, 40,48,56,64,72,80,88,96
    movq  %rax, \slot(%rsp)
    .endr
    .endm
    .globl ScribblePastParameters
ScribblePastParameters:
    SCRIBBLE
    ret
    .globl ScribbleAndFault
ScribbleAndFault:
    SCRIBBLE
    xorl  %eax, %eax
    movl  %eax, (%rax)
    ret

    .globl BreakXmm
BreakXmm:
    .irp n, 6,7,8,9,10,11,12,13,14,15
    pxor  %xmm\n, %xmm\n
    .endr
    ret

# Whether xmm6-xmm15, which a function must keep, come back from `function`.
    .globl XmmKeptBy
XmmKeptBy:
    subq  $200, %rsp
    .irp n, 6,7,8,9,10,11,12,13,14,15
    movdqu %xmm\n, (\n-6)*16+32(%rsp)
    pcmpeqd %xmm\n, %xmm\n
    .endr
    call  *%rcx
    pcmpeqd %xmm0, %xmm0
    .irp n, 6,7,8,9,10,11,12,13,14,15
    pand  %xmm\n, %xmm0
    movdqu (\n-6)*16+32(%rsp), %xmm\n
    .endr
    pcmpeqd %xmm1, %xmm1
    pcmpeqd %xmm1, %xmm0
    pmovmskb %xmm0, %eax
    cmpl  $0xFFFF, %eax
    sete  %al
    addq  $200, %rsp
    ret
)");
#else
asm(R"(
    .text
    .globl _CallUnderUnwindHandler
_CallUnderUnwindHandler:            # a registration record of its own in the chain at fs:[0]
    pushl $_CountUnwinds
    pushl %fs:0
    movl  %esp, %fs:0
    call  *12(%esp)
    popl  %ecx
    movl  %ecx, %fs:0
    popl  %ecx
    ret

# Given no arguments, write the stack slots of parameters 1 to 8.
    .macro SCRIBBLE
    movl  $0x41414141, %eax
    .irp slot, 4,8,12,16,20,24,28,32
    movl  %eax, \slot(%esp)
    .endr
    .endm
    .globl _ScribblePastParameters
_ScribblePastParameters:
    SCRIBBLE
    ret
    .globl _ScribbleAndFault
_ScribbleAndFault:
    SCRIBBLE
    xorl  %eax, %eax
    movl  %eax, (%eax)
    ret
)");
#endif

namespace velk {
namespace {

constexpr DWORD kCppException = 0xE06D7363;  // what a C++ throw raises

template <typename F>
const void* Fn(F* function) {
    return reinterpret_cast<const void*>(function);
}

uintptr_t Sum(uintptr_t a, uintptr_t b, uintptr_t c, uintptr_t d) { return a + b + c + d; }
uintptr_t __stdcall SumCalleeCleans(uintptr_t a, uintptr_t b, uintptr_t c, uintptr_t d) { return a + b + c + d; }
uintptr_t Fault() {
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
uintptr_t RaiseNoncontinuable() {
    RaiseException(kCppException, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    return 0;
}
uintptr_t FaultUnderUnwindHandler() { return CallUnderUnwindHandler(Fault); }

// The stack's guard page: its lowest committed page that can be used.
MEMORY_BASIC_INFORMATION LowestStackPage() {
    MEMORY_BASIC_INFORMATION region;
    VirtualQuery(&region, &region, sizeof(region));
    void* const stack = region.AllocationBase;
    for (char* at = static_cast<char*>(stack); VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
         at += region.RegionSize)
        if (region.State == MEM_COMMIT && region.Protect != PAGE_NOACCESS) break;
    return region;
}
// What the system does on a stack overflow, without one: the guard page is
// used up, and the exception raised. (A real one is left to luck under 64-bit
// Wine: it ends the process when the handlers need more than the rest of the
// guard page.)
uintptr_t OverflowLikeTheSystem() {
    DWORD previous = 0;
    VirtualProtect(LowestStackPage().BaseAddress, 1, PAGE_READWRITE, &previous);
    RaiseException(EXCEPTION_STACK_OVERFLOW, 0, 0, nullptr);
    return 0;
}

uintptr_t LeaveX87Values() {
    asm volatile("fld1; fld1; fld1; fld1; fld1; fld1; fld1; fld1");
    return 0;
}
uintptr_t UnmaskEverything() {
    const uint32_t zero = 0;
    asm volatile("ldmxcsr %0; fldcw %0" : : "m"(zero));
    return 0;
}

ForeignResult g_inner;
uintptr_t CallsBack() {  // as a window procedure that a module's modal loop reached would
    g_inner = CallForeign(Fn(Sum), {1, 2, 3, 4});
    return 7;
}

uint16_t X87Tags() {  // 0xFFFF: the x87 stack is empty
    uint32_t environment[7];
    asm volatile("fnstenv %0; fldenv %0" : "=m"(environment));
    return static_cast<uint16_t>(environment[2]);
}
uint16_t X87Control() {
    uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word;
}
uint32_t Mxcsr() {
    uint32_t word;
    asm volatile("stmxcsr %0" : "=m"(word));
    return word;
}

TEST(ForeignCall, ReturnsTheValueAndChecksTheConvention) {
    const ForeignConvention caller = ForeignConvention::CallerCleans, callee = ForeignConvention::CalleeCleans;
#ifdef _WIN64
    const ForeignOutcome mistaken = ForeignOutcome::Returned;  // one convention: nothing to mistake
#else
    const ForeignOutcome mistaken = ForeignOutcome::StackOff;
#endif
    struct Row {
        const void* function;
        ForeignConvention convention;
        ForeignOutcome outcome;
    } const rows[] = {
        {Fn(Sum), caller, ForeignOutcome::Returned},
        {Fn(SumCalleeCleans), callee, ForeignOutcome::Returned},
        {Fn(Sum), callee, mistaken},
        {Fn(SumCalleeCleans), caller, mistaken},
    };
    for (const Row& row : rows) {
        ForeignResult result = CallForeign(row.function, {1, 2, 3, 4}, row.convention);
        EXPECT_EQ(result.outcome, row.outcome);
        EXPECT_EQ(result.value, 10u);
    }
    EXPECT_EQ(CallForeign(nullptr, {}).outcome, ForeignOutcome::Faulted);
    EXPECT_EQ(CallForeign(Fn(Sum), {1, 2, 3, 4, 5}).outcome, ForeignOutcome::Faulted);  // too many: not called
}

// Each exception ends the call, not the launcher, and the frames it skips are
// unwound first (on 32-bit Windows the loader lets go of its lock this way,
// after a fault in a DLL's start-up code).
TEST(ForeignCall, ExceptionsEndTheCallAfterTheFramesAboveAreUnwound) {
    struct Row {
        const char* what;
        const void* function;
        DWORD exception;
        int unwound;
    } const rows[] = {
        {"access violation", Fn(Fault), EXCEPTION_ACCESS_VIOLATION, 0},
        {"non-continuable exception", Fn(RaiseNoncontinuable), kCppException, 0},
        {"fault below a frame with a handler", Fn(FaultUnderUnwindHandler), EXCEPTION_ACCESS_VIOLATION, 1},
        {"writes past its parameters, then faults", Fn(ScribbleAndFault), EXCEPTION_ACCESS_VIOLATION, 0},
    };
    const uint16_t control = X87Control();
    const uint32_t mxcsr = Mxcsr();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        g_unwoundFrames = 0;
        ForeignResult result = CallForeign(row.function, {});
        EXPECT_EQ(result.outcome, ForeignOutcome::Faulted);
        EXPECT_EQ(result.exception, row.exception);
        EXPECT_EQ(g_unwoundFrames, row.unwound);
        EXPECT_EQ(X87Control(), control);
        EXPECT_EQ(Mxcsr(), mxcsr);
    }
    EXPECT_EQ(CallForeign(Fn(Sum), {1, 2, 3, 4}).value, 10u);
}

TEST(ForeignCall, StackGuardPageIsArmedAgainAfterAnOverflow) {
    ASSERT_TRUE(LowestStackPage().Protect & PAGE_GUARD);
    ForeignResult result = CallForeign(Fn(OverflowLikeTheSystem), {});
    EXPECT_EQ(result.outcome, ForeignOutcome::Faulted);
    EXPECT_EQ(result.exception, EXCEPTION_STACK_OVERFLOW);
    EXPECT_TRUE(LowestStackPage().Protect & PAGE_GUARD);
}

TEST(ForeignCall, FloatingPointStateComesBack) {
    const uint16_t control = X87Control();
    const uint32_t mxcsr = Mxcsr();
    volatile long double reverb = 0.25L;  // x87 arithmetic on either build
    for (const void* function : {Fn(LeaveX87Values), Fn(UnmaskEverything)}) {
        EXPECT_EQ(CallForeign(function, {}).outcome, ForeignOutcome::Returned);
        EXPECT_EQ(X87Tags(), 0xFFFF);
        EXPECT_EQ(X87Control(), control);
        EXPECT_EQ(Mxcsr(), mxcsr);
        EXPECT_EQ(static_cast<int>(reverb * 40.0L + 0.5L), 10);
    }
}

// 64-bit code keeps xmm6-xmm15 across calls; a callee with more parameters
// than it is given writes its slots of them, which must not reach the thunk's
// copies of those registers.
TEST(ForeignCall, XmmRegistersComeBack) {
#ifdef _WIN64
    auto breaks = [] { CallForeign(Fn(BreakXmm), {}); };
    auto scribbles = [] { CallForeign(Fn(ScribblePastParameters), {}); };
    EXPECT_TRUE(XmmKeptBy([] {}));
    EXPECT_TRUE(XmmKeptBy(breaks));
    EXPECT_TRUE(XmmKeptBy(scribbles));
#else
    GTEST_SKIP() << "32-bit code keeps no xmm register across calls";
#endif
}

TEST(ForeignCall, CallMadeDuringACallOnTheSameThreadIsRefused) {
    ForeignResult outer = CallForeign(Fn(CallsBack), {});
    EXPECT_EQ(outer.outcome, ForeignOutcome::Returned);
    EXPECT_EQ(outer.value, 7u);
    EXPECT_EQ(g_inner.outcome, ForeignOutcome::Refused);
    EXPECT_EQ(CallForeign(Fn(Sum), {1, 2, 3, 4}).value, 10u);  // the guard is free again
}

}  // namespace
}  // namespace velk
