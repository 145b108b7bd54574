// A guard around calls into foreign code, for GCC on Windows, which has no
// __try/__except.
//
// The thunk velk_call_foreign does what a __try block around the call would:
// it carries an exception handler of its own (on 32-bit Windows a
// registration record linked into the thread's chain at fs:[0]; on 64-bit
// Windows the unwind data of the thunk names the handler). Handlers that the
// foreign code installs itself lie inside the thunk's frame and see their
// exceptions first; only an exception the foreign code leaves unhandled
// reaches velk_foreign_handler. The handler points the faulting context at
// velk_foreign_recover with the stack pointer the thunk had before the call,
// and lets the thread go on there. The foreign frames are dropped without
// their own clean-up: the module is unloaded right after.
//
// The thunk saves and restores every register the calling convention makes
// the callee keep, and the floating-point control words, so a broken module
// cannot leave them changed. On 32-bit Windows it also notes the stack
// pointer below the arguments: a caller-cleans function returns with it
// unchanged, while a callee-cleans (__stdcall) one has popped its arguments.
// The thunk restores its own value either way and reports the difference.
#include "base/guarded_call_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <mutex>

namespace velk {

namespace {

constexpr size_t kMaxArguments = 4;

// Read and written by the thunk: one pointer-sized field each, in this order.
struct ForeignCallRecord {
    uintptr_t function;
    const uintptr_t* arguments;  // kMaxArguments of them
    uintptr_t count;
    uintptr_t savedSp;     // where the recovery puts the stack pointer back
    uintptr_t expectedSp;  // the stack pointer a caller-cleans return leaves
    uintptr_t spAfter;
    uintptr_t result;
    uintptr_t floatControl;  // x87 control word; and MXCSR on 64-bit
    uintptr_t faulted;
    uintptr_t exception;
};
constexpr size_t kField = sizeof(uintptr_t);
static_assert(offsetof(ForeignCallRecord, savedSp) == 3 * kField, "thunk offset");
static_assert(offsetof(ForeignCallRecord, floatControl) == 7 * kField, "thunk offset");
static_assert(sizeof(ForeignCallRecord) == 10 * kField, "thunk offsets");

}  // namespace

extern "C" {
void velk_call_foreign(ForeignCallRecord* call);
void velk_foreign_recover();
EXCEPTION_DISPOSITION __cdecl velk_foreign_handler(EXCEPTION_RECORD* exception, void* establisher, CONTEXT* context,
                                                    void* dispatcher);
}

#if defined(__i386__)

// Registration record on the stack: previous, handler, then the call record.
asm(R"(
    .text
    .globl _velk_call_foreign
    .globl _velk_foreign_recover
_velk_call_foreign:
    pushl %ebp
    movl  %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl  8(%ebp), %ebx             # the call record
    pushl %ebx
    pushl $_velk_foreign_handler
    pushl %fs:0
    movl  %esp, %fs:0
    movl  %esp, 12(%ebx)            # savedSp
    fnstcw 28(%ebx)                 # floatControl
    movl  8(%ebx), %ecx             # push the arguments, last first
    movl  4(%ebx), %esi
1:  testl %ecx, %ecx
    jz    2f
    decl  %ecx
    pushl (%esi,%ecx,4)
    jmp   1b
2:  movl  %esp, 16(%ebx)            # expectedSp
    call  *(%ebx)
    # Any register but EAX may be broken now; the registration record, found
    # through fs:[0], leads back to the call record.
    movl  %fs:0, %ecx
    movl  8(%ecx), %ebx
    movl  %eax, 24(%ebx)            # result
    movl  %esp, 20(%ebx)            # spAfter
    jmp   3f
_velk_foreign_recover:              # from the handler, with ESP = savedSp
    movl  8(%esp), %ebx
    fninit                          # drop what the fault left on the x87 stack
3:  fldcw 28(%ebx)
    cld
    movl  12(%ebx), %esp
    popl  %eax
    movl  %eax, %fs:0               # unlink the registration record
    addl  $8, %esp
    popl  %edi
    popl  %esi
    popl  %ebx
    popl  %ebp
    ret
)");

void ResumeAtRecovery(CONTEXT* context, void* establisher) {
    context->Esp = reinterpret_cast<DWORD>(establisher);  // = savedSp
    context->Eip = reinterpret_cast<DWORD>(&velk_foreign_recover);
}

ForeignCallRecord* CallOf(void* establisher) { return static_cast<ForeignCallRecord**>(establisher)[2]; }

#elif defined(__x86_64__)

// Frame after the prologue (RSP = savedSp = the establisher frame): 32 bytes
// of argument home space, xmm6-xmm15 at 32, the call record at 192, then the
// pushed registers and the return address.
asm(R"(
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
    subq  $200, %rsp
    .seh_stackalloc 200
    movdqa %xmm6, 32(%rsp)
    .seh_savexmm %xmm6, 32
    movdqa %xmm7, 48(%rsp)
    .seh_savexmm %xmm7, 48
    movdqa %xmm8, 64(%rsp)
    .seh_savexmm %xmm8, 64
    movdqa %xmm9, 80(%rsp)
    .seh_savexmm %xmm9, 80
    movdqa %xmm10, 96(%rsp)
    .seh_savexmm %xmm10, 96
    movdqa %xmm11, 112(%rsp)
    .seh_savexmm %xmm11, 112
    movdqa %xmm12, 128(%rsp)
    .seh_savexmm %xmm12, 128
    movdqa %xmm13, 144(%rsp)
    .seh_savexmm %xmm13, 144
    movdqa %xmm14, 160(%rsp)
    .seh_savexmm %xmm14, 160
    movdqa %xmm15, 176(%rsp)
    .seh_savexmm %xmm15, 176
    .seh_endprologue
    .seh_handler velk_foreign_handler, @except
    movq  %rcx, 192(%rsp)           # the call record
    movq  %rsp, 24(%rcx)            # savedSp
    movq  %rsp, 32(%rcx)            # expectedSp
    fnstcw 56(%rcx)                 # floatControl: x87 control word,
    stmxcsr 60(%rcx)                # then MXCSR
    movq  (%rcx), %rax
    movq  8(%rcx), %r10
    movq  (%r10), %rcx              # the four register arguments
    movq  8(%r10), %rdx
    movq  16(%r10), %r8
    movq  24(%r10), %r9
    call  *%rax
    movq  192(%rsp), %rbx
    movq  %rax, 48(%rbx)            # result
    movq  %rsp, 40(%rbx)            # spAfter
    jmp   3f
velk_foreign_recover:               # from the handler, with RSP = savedSp
    movq  192(%rsp), %rbx
    fninit
3:  fldcw 56(%rbx)
    ldmxcsr 60(%rbx)
    cld
    movq  24(%rbx), %rsp
    movdqa 32(%rsp), %xmm6
    movdqa 48(%rsp), %xmm7
    movdqa 64(%rsp), %xmm8
    movdqa 80(%rsp), %xmm9
    movdqa 96(%rsp), %xmm10
    movdqa 112(%rsp), %xmm11
    movdqa 128(%rsp), %xmm12
    movdqa 144(%rsp), %xmm13
    movdqa 160(%rsp), %xmm14
    movdqa 176(%rsp), %xmm15
    addq  $200, %rsp
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

void ResumeAtRecovery(CONTEXT* context, void* establisher) {
    context->Rsp = reinterpret_cast<DWORD64>(establisher);  // = savedSp
    context->Rip = reinterpret_cast<DWORD64>(&velk_foreign_recover);
}

ForeignCallRecord* CallOf(void* establisher) {
    return *reinterpret_cast<ForeignCallRecord**>(static_cast<char*>(establisher) + 192);
}

#else
#error "the foreign-call guard knows 32-bit and 64-bit x86 only"
#endif

EXCEPTION_DISPOSITION __cdecl velk_foreign_handler(EXCEPTION_RECORD* exception, void* establisher, CONTEXT* context,
                                                    void*) {
    // Unwinds pass through; only the exception itself is taken.
    if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    ForeignCallRecord* call = CallOf(establisher);
    call->faulted = 1;
    call->exception = exception->ExceptionCode;
    ResumeAtRecovery(context, establisher);
    return ExceptionContinueExecution;
}

ForeignResult CallForeign(const void* function, std::initializer_list<uintptr_t> arguments,
                          ForeignConvention convention) {
    ForeignResult result;
    if (!function || arguments.size() > kMaxArguments) return result;

    // Foreign modules are not made to be entered from two threads at once.
    static std::mutex oneAtATime;
    std::lock_guard<std::mutex> hold(oneAtATime);

    uintptr_t slots[kMaxArguments] = {};
    std::copy(arguments.begin(), arguments.end(), slots);
    ForeignCallRecord call = {};
    call.function = reinterpret_cast<uintptr_t>(function);
    call.arguments = slots;
    call.count = arguments.size();
    velk_call_foreign(&call);

    if (call.faulted) {
        result.outcome = ForeignOutcome::Faulted;
        result.exception = static_cast<uint32_t>(call.exception);
    } else {
        uintptr_t expected = call.expectedSp;
#ifndef _WIN64
        // A callee-cleans function returns with its arguments popped.
        if (convention == ForeignConvention::CalleeCleans) expected += arguments.size() * sizeof(uintptr_t);
#else
        (void)convention;
#endif
        result.outcome = call.spAfter == expected ? ForeignOutcome::Returned : ForeignOutcome::StackOff;
        result.value = call.result;
    }
    return result;
}

}  // namespace velk
