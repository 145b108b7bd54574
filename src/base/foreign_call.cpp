// A guard around calls into foreign code, for GCC, which has no
// __try/__except.
//
// The thunk velk_call_foreign does what a __try block around the call would:
// it carries an exception handler of its own (on 32-bit Windows a
// registration record linked into the thread's chain at fs:[0]; on 64-bit
// Windows the unwind data of the thunk names the handler). Handlers that the
// foreign code installs itself lie inside the thunk's frame and see their
// exceptions first; only an exception the foreign code leaves unhandled
// reaches velk_foreign_handler. Like __except, the handler first has the
// system unwind the foreign frames (their own handlers run, so locks they
// hold are let go), then goes on at velk_foreign_recover. It never answers
// "continue": a non-continuable exception would come straight back.
//
// Whatever the callee does, the thunk comes back with the registers the
// calling convention makes the callee keep, the floating-point control words,
// an empty x87 stack (nothing called here returns a floating-point value) and
// the stack pointer it had. On 32-bit Windows it also notes the stack pointer
// below the arguments: a caller-cleans function returns with it unchanged,
// while a callee-cleans (__stdcall) one has popped its arguments.
//
// The call's state lies in static memory, and a zeroed gap separates the
// arguments from the rest of the frame: a callee declared with more
// parameters than it is given reads zeros and may scribble on them.
#include "base/foreign_call.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

extern "C" {
velk::ForeignCallRecord* velk_foreign_active = nullptr;
}

namespace velk {

namespace {

constexpr size_t kWord = sizeof(uintptr_t);
// The offsets the assembly below uses, as field numbers.
static_assert(offsetof(ForeignCallRecord, arguments) == 1 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, count) == 5 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, unwind) == 6 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, hasSse) == 7 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, entrySp) == 8 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, returnAddress) == 9 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, savedRegisters) == 10 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, previousHandler) == 14 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, recoverySp) == 15 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, expectedSp) == 16 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, spAfter) == 17 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, result) == 18 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, fpuControl) == 19 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, mxcsr) == 20 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, faulted) == 21 * kWord, "thunk offset");
static_assert(offsetof(ForeignCallRecord, exception) == 22 * kWord, "thunk offset");

}  // namespace

#if defined(__i386__)

// The frame while the callee runs, from the top: the return address, the
// registration record (previous, handler), a zeroed gap of 64 words, the
// arguments. The handler is called by the system's dispatcher as
// handler(exception record, registration, context, dispatcher context).
asm(R"(
    .set W, 4
    .set FUNCTION, 0
    .set ARGUMENTS, 1*W
    .set COUNT, 5*W
    .set UNWIND, 6*W
    .set HAS_SSE, 7*W
    .set ENTRY_SP, 8*W
    .set RETURN_ADDRESS, 9*W
    .set SAVED_EBX, 10*W
    .set SAVED_ESI, 11*W
    .set SAVED_EDI, 12*W
    .set SAVED_EBP, 13*W
    .set PREVIOUS_HANDLER, 14*W
    .set RECOVERY_SP, 15*W
    .set EXPECTED_SP, 16*W
    .set SP_AFTER, 17*W
    .set RESULT, 18*W
    .set FPU_CONTROL, 19*W
    .set MXCSR, 20*W
    .set FAULTED, 21*W
    .set EXCEPTION, 22*W
    .set GAP_WORDS, 64

    .text
    .globl velk_call_foreign
    .globl velk_foreign_recover
velk_call_foreign:
    movl  4(%esp), %eax
    movl  %eax, velk_foreign_active
    movl  %esp, ENTRY_SP(%eax)
    movl  (%esp), %ecx
    movl  %ecx, RETURN_ADDRESS(%eax)
    movl  %ebx, SAVED_EBX(%eax)
    movl  %esi, SAVED_ESI(%eax)
    movl  %edi, SAVED_EDI(%eax)
    movl  %ebp, SAVED_EBP(%eax)
    movl  %eax, %ebx
    fnstcw FPU_CONTROL(%ebx)
    cmpl  $0, HAS_SSE(%ebx)
    je    1f
    stmxcsr MXCSR(%ebx)
1:  movl  %fs:0, %ecx
    movl  %ecx, PREVIOUS_HANDLER(%ebx)
    pushl $velk_foreign_handler
    pushl %ecx
    movl  %esp, %fs:0
    movl  %esp, RECOVERY_SP(%ebx)
    subl  $GAP_WORDS*W, %esp
    movl  %esp, %edi
    movl  $GAP_WORDS, %ecx
    xorl  %eax, %eax
    cld
    rep stosl
    movl  COUNT(%ebx), %ecx         # push the arguments, last first
2:  testl %ecx, %ecx
    jz    3f
    decl  %ecx
    pushl ARGUMENTS(%ebx,%ecx,4)
    jmp   2b
3:  movl  %esp, EXPECTED_SP(%ebx)
    call  *FUNCTION(%ebx)
    # Any register but EAX and ESP may be broken now, and anything on the stack.
    movl  velk_foreign_active, %ecx
    movl  %eax, RESULT(%ecx)
    movl  %esp, SP_AFTER(%ecx)
    jmp   4f
velk_foreign_recover:               # from the handler, after the unwind
    movl  velk_foreign_active, %ecx
4:  fninit
    fldcw FPU_CONTROL(%ecx)
    cmpl  $0, HAS_SSE(%ecx)
    je    5f
    ldmxcsr MXCSR(%ecx)
5:  cld
    movl  PREVIOUS_HANDLER(%ecx), %eax
    movl  %eax, %fs:0               # unlink the registration record
    movl  SAVED_EBX(%ecx), %ebx
    movl  SAVED_ESI(%ecx), %esi
    movl  SAVED_EDI(%ecx), %edi
    movl  SAVED_EBP(%ecx), %ebp
    movl  ENTRY_SP(%ecx), %esp
    movl  RETURN_ADDRESS(%ecx), %eax
    movl  %eax, (%esp)
    ret

velk_foreign_handler:
    movl  4(%esp), %eax             # the exception record
    testl $6, 4(%eax)               # EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND: pass through
    jz    6f
    movl  $1, %eax                  # ExceptionContinueSearch
    ret
6:  movl  velk_foreign_active, %ecx
    movl  (%eax), %edx
    movl  %edx, EXCEPTION(%ecx)
    movl  $1, FAULTED(%ecx)
    pushl $0
    pushl %eax
    pushl $velk_foreign_recover
    pushl 20(%esp)                  # the registration record: the frames above it go
    call  *UNWIND(%ecx)
    jmp   velk_foreign_recover
)");

#elif defined(__x86_64__) && defined(_WIN32)

// Frame after the prologue (RSP = recoverySp = the establisher frame): 32
// bytes of argument home space, a zeroed gap of 256 bytes, xmm6-xmm15 at
// 288, then the pushed registers and the return address. The handler is in
// guarded_call_win32.cpp.
asm(R"(
    .set COUNT, 40
    .set RECOVERY_SP, 120
    .set EXPECTED_SP, 128
    .set SP_AFTER, 136
    .set RESULT, 144
    .set FPU_CONTROL, 152
    .set MXCSR, 160
    .set GAP_BYTES, 256
    .set XMM, 32+GAP_BYTES

    .text
    .globl velk_call_foreign
    .globl velk_foreign_recover
    .def   velk_call_foreign; .scl 2; .type 32; .endef
    .seh_proc velk_call_foreign
velk_call_foreign:
    pushq %rbp
    .seh_pushreg %rbp
    pushq %rbx
    .seh_pushreg %rbx
    pushq %rsi
    .seh_pushreg %rsi
    pushq %rdi
    .seh_pushreg %rdi
    pushq %r12
    .seh_pushreg %r12
    pushq %r13
    .seh_pushreg %r13
    pushq %r14
    .seh_pushreg %r14
    pushq %r15
    .seh_pushreg %r15
    subq  $XMM+168, %rsp
    .seh_stackalloc XMM+168
    movdqa %xmm6, XMM(%rsp)
    .seh_savexmm %xmm6, XMM
    movdqa %xmm7, XMM+16(%rsp)
    .seh_savexmm %xmm7, XMM+16
    movdqa %xmm8, XMM+32(%rsp)
    .seh_savexmm %xmm8, XMM+32
    movdqa %xmm9, XMM+48(%rsp)
    .seh_savexmm %xmm9, XMM+48
    movdqa %xmm10, XMM+64(%rsp)
    .seh_savexmm %xmm10, XMM+64
    movdqa %xmm11, XMM+80(%rsp)
    .seh_savexmm %xmm11, XMM+80
    movdqa %xmm12, XMM+96(%rsp)
    .seh_savexmm %xmm12, XMM+96
    movdqa %xmm13, XMM+112(%rsp)
    .seh_savexmm %xmm13, XMM+112
    movdqa %xmm14, XMM+128(%rsp)
    .seh_savexmm %xmm14, XMM+128
    movdqa %xmm15, XMM+144(%rsp)
    .seh_savexmm %xmm15, XMM+144
    .seh_endprologue
    .seh_handler velk_foreign_handler, @except
    movq  %rcx, velk_foreign_active(%rip)
    movq  %rcx, %rbx
    movq  %rsp, RECOVERY_SP(%rbx)
    fnstcw FPU_CONTROL(%rbx)
    stmxcsr MXCSR(%rbx)
    leaq  32(%rsp), %rdi            # the gap
    movl  $GAP_BYTES/8, %ecx
    xorl  %eax, %eax
    cld
    rep stosq
    movq  %rsp, EXPECTED_SP(%rbx)
    movq  8(%rbx), %rcx             # the four register arguments
    movq  16(%rbx), %rdx
    movq  24(%rbx), %r8
    movq  32(%rbx), %r9
    call  *(%rbx)
    movq  velk_foreign_active(%rip), %rbx
    movq  %rax, RESULT(%rbx)
    movq  %rsp, SP_AFTER(%rbx)
    jmp   1f
velk_foreign_recover:               # from the handler's unwind
    movq  velk_foreign_active(%rip), %rbx
1:  fninit
    fldcw FPU_CONTROL(%rbx)
    ldmxcsr MXCSR(%rbx)
    cld
    movq  RECOVERY_SP(%rbx), %rsp
    movdqa XMM(%rsp), %xmm6
    movdqa XMM+16(%rsp), %xmm7
    movdqa XMM+32(%rsp), %xmm8
    movdqa XMM+48(%rsp), %xmm9
    movdqa XMM+64(%rsp), %xmm10
    movdqa XMM+80(%rsp), %xmm11
    movdqa XMM+96(%rsp), %xmm12
    movdqa XMM+112(%rsp), %xmm13
    movdqa XMM+128(%rsp), %xmm14
    movdqa XMM+144(%rsp), %xmm15
    addq  $XMM+168, %rsp
    popq  %r15
    popq  %r14
    popq  %r13
    popq  %r12
    popq  %rdi
    popq  %rsi
    popq  %rbx
    popq  %rbp
    ret
    .seh_endproc
)");

#else
#error "the foreign-call guard knows 32-bit x86 and 64-bit Windows only"
#endif

ForeignResult RunForeignCall(const void* function, std::initializer_list<uintptr_t> arguments,
                             ForeignConvention convention, const ForeignSystem& system) {
    ForeignResult result;
    if (!function || arguments.size() > kMaxForeignArguments) return result;

    // A module that runs a modal loop may have a launcher window procedure
    // call foreign code again. The call's state is one per process, and the
    // lock is held by this very thread: refuse instead of waiting for ever.
    static std::atomic<std::thread::id> runningOn{std::thread::id()};
    if (runningOn.load() == std::this_thread::get_id()) {
        result.outcome = ForeignOutcome::Refused;
        return result;
    }
    // Foreign modules are not made to be entered from two threads at once.
    static std::mutex oneAtATime;
    std::lock_guard<std::mutex> hold(oneAtATime);
    runningOn = std::this_thread::get_id();

    static ForeignCallRecord call;
    call = ForeignCallRecord{};
    call.function = reinterpret_cast<uintptr_t>(function);
    std::copy(arguments.begin(), arguments.end(), call.arguments);
    call.count = arguments.size();
    call.unwind = system.unwind;
    call.hasSse = system.hasSse;
    velk_call_foreign(&call);
    velk_foreign_active = nullptr;
    runningOn = std::thread::id();

    if (call.faulted) {
        result.outcome = ForeignOutcome::Faulted;
        result.exception = static_cast<uint32_t>(call.exception);
    } else {
        uintptr_t expected = call.expectedSp;
#ifdef __i386__
        // A callee-cleans function returns with its arguments popped.
        if (convention == ForeignConvention::CalleeCleans) expected += arguments.size() * kWord;
#else
        (void)convention;
#endif
        result.outcome = call.spAfter == expected ? ForeignOutcome::Returned : ForeignOutcome::StackOff;
        result.value = call.result;
    }
    return result;
}

}  // namespace velk
