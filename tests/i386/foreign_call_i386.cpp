// The foreign-call guard's 32-bit code (src/base/foreign_call.cpp, compiled
// as it is for the launcher) run as a Linux i386 program, natively or under
// qemu-i386, around a model of what 32-bit Windows does with an exception.
//
// The model: fs points at a thread block whose first word heads the exception
// chain, as on Windows. A fault becomes what the kernel hands to the user-mode
// dispatcher: the exception record and the context are put on the faulting
// stack and the thread goes on in the model's dispatcher. That walks the chain
// from fs:[0] like RtlDispatchException: a record of its own around each
// handler call for nested exceptions; a record outside the stack is a broken
// chain, which ends the process; "continue" resumes the context, and for a
// non-continuable exception raises STATUS_NONCONTINUABLE_EXCEPTION instead. The
// model's RtlUnwind calls the handlers above the target with
// EXCEPTION_UNWINDING, unlinks them and returns, as 32-bit Windows' does.
//
// What it cannot show: the real dispatcher and unwinder (their checks of the
// handler addresses and of the stack bounds the system keeps), the system
// loader and its lock (a foreign frame whose handler lets a lock go when it is
// unwound stands in for it), stack overflow and the stack's guard page, the
// system's answer whether the processor has SSE. Those are left to reading
// the compiled i686 code and to the tests on 64-bit Windows.
//
// Each case runs in a child process of its own, with a time limit, so that a
// crash or a hang fails that case only.
#include <asm/ldt.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <ucontext.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/foreign_call.h"

using namespace velk;

namespace {

constexpr uint32_t kAccessViolation = 0xC0000005;
constexpr uint32_t kNoncontinuable = 0xC0000025;  // STATUS_NONCONTINUABLE_EXCEPTION
constexpr uint32_t kCppException = 0xE06D7363;    // what a C++ throw raises
constexpr uint32_t kFlagNoncontinuable = 1, kFlagUnwinding = 2;
enum Disposition { kContinueExecution = 0, kContinueSearch = 1 };

struct ExceptionRecord {
    uint32_t code, flags;
    ExceptionRecord* nested;
    uintptr_t address;
    uint32_t parameterCount;
    uintptr_t parameters[15];
};

// The 32-bit CONTEXT, with the fields a handler may read or change.
struct Context {
    uint32_t flags, debug[6];
    uint8_t floatSave[112];
    uint32_t gs, fs, es, ds, edi, esi, ebx, edx, ecx, eax, ebp, eip, cs, eflags, esp, ss;
    uint8_t extended[512];
};
static_assert(offsetof(Context, edi) == 0x9C && offsetof(Context, eip) == 0xB8 && offsetof(Context, esp) == 0xC4 &&
                  sizeof(Context) == 0x2CC,
              "the 32-bit CONTEXT");

struct Registration;
using Handler = int (*)(ExceptionRecord*, Registration*, Context*, void*);
struct Registration {
    Registration* next;
    Handler handler;
};
Registration* const kChainEnd = reinterpret_cast<Registration*>(-1);

struct ThreadBlock {
    Registration* volatile chain;  // fs:[0]
    uintptr_t stackBase, stackLimit;
} g_thread;

[[noreturn]] void Fail(const char* what, uint32_t number = 0) {
    std::printf(number ? "    %s (%08x)\n" : "    %s\n", what, number);
    std::fflush(stdout);
    _exit(2);
}

bool OnStack(const Registration* record) {
    uintptr_t at = reinterpret_cast<uintptr_t>(record);
    return at % 4 == 0 && at >= g_thread.stackLimit && at + sizeof(Registration) <= g_thread.stackBase;
}

// ---- the model of the system ----

extern "C" [[noreturn]] void ResumeContext(Context* context);  // NtContinue: below, in assembly

int NestedExceptionHandler(ExceptionRecord*, Registration*, Context*, void*) { return kContinueSearch; }

// Calls the handlers from fs:[0] on until one answers "continue".
void CallHandlers(ExceptionRecord* exception, Context* context) {
    for (Registration* record = g_thread.chain; record != kChainEnd; record = record->next) {
        if (!OnStack(record)) Fail("broken exception chain: the process ends", reinterpret_cast<uintptr_t>(record));
        Registration nested = {g_thread.chain, NestedExceptionHandler};
        g_thread.chain = &nested;
        int disposition = record->handler(exception, record, context, nullptr);
        g_thread.chain = nested.next;
        if (disposition == kContinueExecution) return;
        if (disposition != kContinueSearch) Fail("a handler answered neither continue nor search", disposition);
    }
    Fail("unhandled exception: the process ends", exception->code);
}

[[noreturn]] void Dispatch(ExceptionRecord* exception, Context* context) {
    ExceptionRecord raised[8];
    for (ExceptionRecord& again : raised) {
        CallHandlers(exception, context);
        if (!(exception->flags & kFlagNoncontinuable)) ResumeContext(context);
        again = {kNoncontinuable, kFlagNoncontinuable, exception, 0, 0, {}};
        exception = &again;
    }
    Fail("the dispatcher raises STATUS_NONCONTINUABLE_EXCEPTION until the stack overflows");
}

extern "C" [[noreturn]] void UserDispatcher(ExceptionRecord* exception, Context* context) {
    Dispatch(exception, context);
    Fail("the dispatcher came back");
}

int g_unwinds = 0;

__attribute__((stdcall)) void UnwindModel(Registration* target, void*, ExceptionRecord* exception, void*) {
    ++g_unwinds;
    ExceptionRecord own = {0xC0000027, 0, nullptr, 0, 0, {}};  // STATUS_UNWIND
    if (!exception) exception = &own;
    exception->flags |= kFlagUnwinding;
    Context context = {};
    for (Registration* record = g_thread.chain; record != target; record = g_thread.chain) {
        if (record == kChainEnd || !OnStack(record) || record > target) Fail("bad unwind target");
        record->handler(exception, record, &context, nullptr);
        g_thread.chain = record->next;
    }
}

void RaiseModel(uint32_t code, uint32_t flags) {
    ExceptionRecord exception = {code, flags, nullptr, 0, 0, {}};
    Context context = {};
    Dispatch(&exception, &context);
}

// A fault: the record and the context go onto the faulting stack, and the
// thread goes on in UserDispatcher, as it would in the system's.
void OnFault(int, siginfo_t* info, void* raw) {
    greg_t* r = static_cast<ucontext_t*>(raw)->uc_mcontext.gregs;
    uintptr_t sp = static_cast<uintptr_t>(r[REG_ESP]) - 256;
    auto* context = reinterpret_cast<Context*>(sp -= sizeof(Context));
    *context = Context{};
    context->edi = r[REG_EDI], context->esi = r[REG_ESI], context->ebx = r[REG_EBX], context->edx = r[REG_EDX];
    context->ecx = r[REG_ECX], context->eax = r[REG_EAX], context->ebp = r[REG_EBP], context->eip = r[REG_EIP];
    context->eflags = r[REG_EFL], context->esp = r[REG_ESP];
    auto* exception = reinterpret_cast<ExceptionRecord*>(sp -= sizeof(ExceptionRecord));
    *exception = {kAccessViolation, 0, nullptr, static_cast<uintptr_t>(r[REG_EIP]), 2,
                  {1, reinterpret_cast<uintptr_t>(info->si_addr)}};
    sp = (sp & ~uintptr_t(15)) - 8;
    auto* frame = reinterpret_cast<uintptr_t*>(sp -= 12);
    frame[0] = 0, frame[1] = reinterpret_cast<uintptr_t>(exception), frame[2] = reinterpret_cast<uintptr_t>(context);
    r[REG_ESP] = static_cast<greg_t>(sp);
    r[REG_EIP] = reinterpret_cast<greg_t>(&UserDispatcher);
}

void SetUpThread() {
    static char signalStack[64 * 1024];
    stack_t alternate = {};
    alternate.ss_sp = signalStack;
    alternate.ss_size = sizeof(signalStack);
    struct sigaction action = {};
    action.sa_sigaction = OnFault;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    user_desc segment = {};
    segment.entry_number = static_cast<unsigned>(-1);
    segment.base_addr = reinterpret_cast<uintptr_t>(&g_thread);
    segment.limit = sizeof(g_thread) - 1;
    segment.seg_32bit = 1;
    segment.useable = 1;
    if (sigaltstack(&alternate, nullptr) != 0 || sigaction(SIGSEGV, &action, nullptr) != 0 ||
        syscall(SYS_set_thread_area, &segment) != 0)
        Fail("cannot set up the model");
    uint16_t selector = static_cast<uint16_t>(segment.entry_number * 8 + 3);
    asm volatile("movw %0, %%fs" : : "r"(selector));
    int here = 0;
    g_thread.stackBase = reinterpret_cast<uintptr_t>(&here) + 4096;
    g_thread.stackLimit = g_thread.stackBase - 8 * 1024 * 1024;
    g_thread.chain = kChainEnd;
}

ForeignSystem Model() {
    ForeignSystem system;
    system.unwind = reinterpret_cast<uintptr_t>(&UnwindModel);
    system.hasSse = true;
    return system;
}

ForeignResult Call(const void* function, std::initializer_list<uintptr_t> arguments,
                   ForeignConvention convention = ForeignConvention::CallerCleans, ForeignSystem system = Model()) {
    return RunForeignCall(function, arguments, convention, system);
}

// ---- checks ----

int g_failures = 0;
#define CHECK_EQ(actual, expected)                                                                           \
    do {                                                                                                     \
        auto a_ = (actual);                                                                                  \
        auto e_ = (expected);                                                                                \
        if (!(a_ == e_)) {                                                                                   \
            std::printf("    %s:%d: %s is %#llx, not %#llx\n", __FILE__, __LINE__, #actual,                  \
                        static_cast<unsigned long long>(a_), static_cast<unsigned long long>(e_));           \
            ++g_failures;                                                                                    \
        }                                                                                                    \
    } while (0)

uint16_t X87Control() {
    uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word;
}
uint16_t X87Tags() {  // 0xFFFF: the x87 stack is empty
    uint32_t environment[7];
    asm volatile("fnstenv %0; fldenv %0" : "=m"(environment));
    return static_cast<uint16_t>(environment[2]);
}
uint32_t Mxcsr() {
    uint32_t word;
    asm volatile("stmxcsr %0" : "=m"(word));
    return word;
}

// What every case must leave as it found it.
struct ThreadState {
    uintptr_t chain = reinterpret_cast<uintptr_t>(g_thread.chain);
    uint16_t control = X87Control(), tags = X87Tags();
    uint32_t mxcsr = Mxcsr();
};
void CheckStateKept(const ThreadState& before) {
    ThreadState after;
    CHECK_EQ(after.chain, before.chain);
    CHECK_EQ(after.control, before.control);
    CHECK_EQ(after.tags, before.tags);
    CHECK_EQ(after.mxcsr, before.mxcsr);
}

// ---- foreign functions ----

extern "C" {
// Assembly, so that they do exactly this: see below.
void BreakRegisters();
void BreakRegistersAndFault();
uint32_t KeptRegisters(ForeignCallRecord* call);
void LeaveX87Values();
void UnmaskEverything();
void UnmaskAndFault();
void ScribblePastParameters(uintptr_t);
void ScribbleAndFault(uintptr_t);
}

uintptr_t SumCdecl(uintptr_t a, uintptr_t b, uintptr_t c, uintptr_t d) { return a + b + c + d; }
__attribute__((stdcall)) uintptr_t SumStdcall(uintptr_t a, uintptr_t b, uintptr_t c, uintptr_t d) {
    return a + b + c + d;
}
__attribute__((stdcall)) uintptr_t FortyTwo() { return 42; }
uintptr_t Fault() {
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
    return 0;
}

// Stands in for the loader: a lock taken under a handler of its own that lets
// it go when the frame is unwound, and a fault in a DLL's start-up code.
volatile bool g_lockHeld = false;
int LetGoOnUnwind(ExceptionRecord* exception, Registration*, Context*, void*) {
    if (exception->flags & kFlagUnwinding) g_lockHeld = false;
    return kContinueSearch;
}
uintptr_t FaultHoldingLock() {
    Registration frame = {g_thread.chain, LetGoOnUnwind};
    g_thread.chain = &frame;
    g_lockHeld = true;
    asm volatile("" : : : "memory");  // the record and the lock are in memory before the fault
    Fault();
    g_lockHeld = false;
    g_thread.chain = frame.next;
    return 0;
}

uintptr_t ThrowCpp() {
    RaiseModel(kCppException, kFlagNoncontinuable);
    return 0;
}

ForeignResult g_inner;
uintptr_t CallsBack() {  // as a window procedure that a module's modal loop reached would
    g_inner = Call(reinterpret_cast<const void*>(&FortyTwo), {}, ForeignConvention::CalleeCleans);
    return 7;
}

template <typename F>
const void* Fn(F* f) { return reinterpret_cast<const void*>(f); }

// ---- cases ----

void Conventions() {
    const ForeignConvention caller = ForeignConvention::CallerCleans, callee = ForeignConvention::CalleeCleans;
    struct Row {
        const void* function;
        ForeignConvention convention;
        ForeignOutcome outcome;
    } const rows[] = {
        {Fn(SumCdecl), caller, ForeignOutcome::Returned},
        {Fn(SumStdcall), callee, ForeignOutcome::Returned},
        {Fn(SumCdecl), callee, ForeignOutcome::StackOff},    // declared __stdcall, is cdecl
        {Fn(SumStdcall), caller, ForeignOutcome::StackOff},  // declared cdecl, is __stdcall
    };
    for (const Row& row : rows) {
        ForeignResult result = Call(row.function, {1, 2, 3, 4}, row.convention);
        CHECK_EQ(result.outcome, row.outcome);
        CHECK_EQ(result.value, 10u);
    }
    CHECK_EQ(Call(Fn(FortyTwo), {}).value, 42u);  // no arguments: either convention fits
    CHECK_EQ(Call(Fn(SumCdecl), {1, 2, 3, 4, 5}).outcome, ForeignOutcome::Faulted);  // too many: not called
}

void RegistersKept() {
    for (void (*callee)() : {BreakRegisters, BreakRegistersAndFault}) {
        static ForeignCallRecord call;
        call = ForeignCallRecord{};
        call.function = reinterpret_cast<uintptr_t>(callee);
        call.unwind = Model().unwind;
        call.hasSse = 1;
        CHECK_EQ(KeptRegisters(&call), 0u);  // a bit for each of ebx, esi, edi, ebp, esp that came back changed
        CHECK_EQ(call.faulted, callee == BreakRegistersAndFault ? 1u : 0u);
    }
}

void FaultRecovered() {
    for (int round = 0; round < 2; ++round) {
        ForeignResult result = Call(Fn(Fault), {});
        CHECK_EQ(result.outcome, ForeignOutcome::Faulted);
        CHECK_EQ(result.exception, kAccessViolation);
    }
    CHECK_EQ(g_unwinds, 2);
    CHECK_EQ(Call(Fn(SumCdecl), {1, 1, 1, 1}).value, 4u);
}

void X87StackEmptied() {
    volatile double reverb = 0.25;
    CHECK_EQ(Call(Fn(LeaveX87Values), {}).outcome, ForeignOutcome::Returned);
    CHECK_EQ(X87Tags(), 0xFFFF);
    CHECK_EQ(static_cast<int>(reverb * 40.0 + 0.5), 10);  // no NaN from a full x87 stack
}

void ControlWordsRestored() {
    CHECK_EQ(Call(Fn(UnmaskEverything), {}).outcome, ForeignOutcome::Returned);
    CHECK_EQ(Call(Fn(UnmaskAndFault), {}).outcome, ForeignOutcome::Faulted);
    // Told there is no SSE, the thunk keeps its hands off MXCSR (an old processor would fault on it).
    ForeignSystem noSse = Model();
    noSse.hasSse = false;
    uint32_t mxcsr = Mxcsr();
    CHECK_EQ(Call(Fn(UnmaskEverything), {}, ForeignConvention::CallerCleans, noSse).outcome, ForeignOutcome::Returned);
    CHECK_EQ(Mxcsr(), 0u);
    asm volatile("ldmxcsr %0" : : "m"(mxcsr));
}

void WritesPastParameters() {
    CHECK_EQ(Call(Fn(ScribblePastParameters), {1}).outcome, ForeignOutcome::Returned);
    ForeignResult result = Call(Fn(ScribbleAndFault), {1});
    CHECK_EQ(result.outcome, ForeignOutcome::Faulted);
    CHECK_EQ(result.exception, kAccessViolation);
}

void NoncontinuableException() {
    ForeignResult result = Call(Fn(ThrowCpp), {});
    CHECK_EQ(result.outcome, ForeignOutcome::Faulted);
    CHECK_EQ(result.exception, kCppException);
}

void SkippedFramesUnwound() {
    ForeignResult result = Call(Fn(FaultHoldingLock), {});
    CHECK_EQ(result.outcome, ForeignOutcome::Faulted);
    CHECK_EQ(g_lockHeld, false);
}

void NestedCallRefused() {
    ForeignResult outer = Call(Fn(CallsBack), {});
    CHECK_EQ(outer.outcome, ForeignOutcome::Returned);
    CHECK_EQ(outer.value, 7u);
    CHECK_EQ(g_inner.outcome, ForeignOutcome::Refused);
    CHECK_EQ(Call(Fn(FortyTwo), {}, ForeignConvention::CalleeCleans).value, 42u);  // and the guard is free again
}

struct Case {
    const char* name;
    void (*run)();
} const kCases[] = {
    {"both conventions, and each mistaken for the other", Conventions},
    {"callee-saved registers and the stack pointer come back", RegistersKept},
    {"a fault is recovered, twice", FaultRecovered},
    {"values left on the x87 stack are dropped", X87StackEmptied},
    {"x87 control word and MXCSR come back", ControlWordsRestored},
    {"a callee that writes past its parameters", WritesPastParameters},
    {"a non-continuable exception (a C++ throw)", NoncontinuableException},
    {"the skipped frames are unwound (the loader lock)", SkippedFramesUnwound},
    {"a nested call on the same thread is refused", NestedCallRefused},
};

}  // namespace

// Foreign functions that do exactly what their names say.
asm(R"(
    .text
BreakRegisters:
    movl  $0xBAD0, %ebx
    movl  $0xBAD1, %esi
    movl  $0xBAD2, %edi
    movl  $0xBAD3, %ebp
    ret
BreakRegistersAndFault:
    call  BreakRegisters
    movl  $0, (%ebx)
    ret

# Returns a bit for each of ebx, esi, edi, ebp and esp that the thunk did not keep.
KeptRegisters:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl  20(%esp), %eax
    movl  %esp, %ecx
    movl  $0x1111, %ebx
    movl  $0x2222, %esi
    movl  $0x3333, %edi
    movl  %ecx, %ebp
    pushl %eax
    call  velk_call_foreign
    addl  $4, %esp
    xorl  %eax, %eax
    cmpl  $0x1111, %ebx
    je    1f
    orl   $1, %eax
1:  cmpl  $0x2222, %esi
    je    2f
    orl   $2, %eax
2:  cmpl  $0x3333, %edi
    je    3f
    orl   $4, %eax
3:  cmpl  %esp, %ebp
    je    4f
    orl   $24, %eax                 # ebp, or esp
    movl  %ebp, %esp
4:  popl  %edi
    popl  %esi
    popl  %ebx
    popl  %ebp
    ret

LeaveX87Values:
    fld1
    fld1
    fld1
    fld1
    fld1
    fld1
    fld1
    fld1
    ret

UnmaskEverything:
    pushl $0
    ldmxcsr (%esp)
    fldcw (%esp)
    addl  $4, %esp
    ret
UnmaskAndFault:
    call  UnmaskEverything
    movl  $0, %eax
    movl  %eax, (%eax)
    ret

# cdecl with one parameter given, seven more written.
ScribblePastParameters:
    movl  $0x41414141, %eax
    movl  %eax, 8(%esp)
    movl  %eax, 12(%esp)
    movl  %eax, 16(%esp)
    movl  %eax, 20(%esp)
    movl  %eax, 24(%esp)
    movl  %eax, 28(%esp)
    movl  %eax, 32(%esp)
    ret
ScribbleAndFault:
    call  ScribblePastParameters
    movl  $0, %eax
    movl  %eax, (%eax)
    ret

# NtContinue: the registers of the context, then its EIP.
ResumeContext:
    movl  4(%esp), %eax
    movl  0xC4(%eax), %esp
    pushl 0xB8(%eax)
    pushl 0xC0(%eax)
    movl  0x9C(%eax), %edi
    movl  0xA0(%eax), %esi
    movl  0xA4(%eax), %ebx
    movl  0xA8(%eax), %edx
    movl  0xAC(%eax), %ecx
    movl  0xB4(%eax), %ebp
    movl  0xB0(%eax), %eax
    popfl
    ret
)");

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--probe") == 0) {
        std::puts("i386");
        return 0;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    int failed = 0;
    for (const Case& c : kCases) {
        pid_t child = fork();
        if (child == 0) {
            alarm(20);
            SetUpThread();
            ThreadState before;
            c.run();
            CheckStateKept(before);
            _exit(g_failures ? 1 : 0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (WIFSIGNALED(status))
            std::printf("    ended by signal %d%s\n", WTERMSIG(status), WTERMSIG(status) == SIGALRM ? " (hung)" : "");
        std::printf("%s %s\n", ok ? "ok    " : "FAILED", c.name);
        failed += !ok;
    }
    std::printf("%d of %zu cases failed\n", failed, sizeof(kCases) / sizeof(kCases[0]));
    return failed ? 1 : 0;
}
