#include "guarded_call.h"

#include <windows.h>

#include "../fault_report.h"

namespace lmc32 {
namespace {

struct GuardFrame {
    void* jumpBuffer[5];  // __builtin_setjmp's buffer
    GuardFrame* outer;
    DWORD thread;
    CaughtFault fault;
};

// Frames nest on the one thread that uses the library; a fault on another
// thread is none of ours.
GuardFrame* volatile g_innermost = nullptr;
PVOID g_handler = nullptr;

[[noreturn]] __attribute__((noinline)) void ResumeAtFrame(GuardFrame* frame) {
    __builtin_longjmp(frame->jumpBuffer, 1);
}

// The handler itself does not jump: the system's dispatcher is still on
// the stack. It lets the thread continue in ResumeAtFrame, on a stack
// below the faulting frame, as if the faulting code had called it.
LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
    GuardFrame* frame = g_innermost;
    if (!frame || frame->thread != GetCurrentThreadId()) return EXCEPTION_CONTINUE_SEARCH;
    const DWORD code = info->ExceptionRecord->ExceptionCode;
    if (!IsCaughtFault(code)) return EXCEPTION_CONTINUE_SEARCH;
    frame->fault = {code, reinterpret_cast<std::uintptr_t>(info->ExceptionRecord->ExceptionAddress)};

    CONTEXT* context = info->ContextRecord;
    constexpr ULONG_PTR kRedZone = 512;
#if defined(_WIN64)
    ULONG_PTR sp = (context->Rsp - kRedZone) & ~ULONG_PTR{15};
    sp -= 8;  // the return address slot of a call
    context->Rsp = sp;
    context->Rcx = reinterpret_cast<DWORD64>(frame);
    context->Rip = reinterpret_cast<DWORD64>(&ResumeAtFrame);
#else
    // The argument at an aligned address, below it the return address slot.
    ULONG_PTR sp = (context->Esp - kRedZone) & ~ULONG_PTR{15};
    reinterpret_cast<ULONG_PTR*>(sp)[0] = reinterpret_cast<ULONG_PTR>(frame);
    sp -= sizeof(ULONG_PTR);
    reinterpret_cast<ULONG_PTR*>(sp)[0] = 0;  // no return: ResumeAtFrame jumps
    context->Esp = static_cast<DWORD>(sp);
    context->Eip = reinterpret_cast<DWORD>(&ResumeAtFrame);
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

void EnsureHandler() {
    if (!g_handler) g_handler = AddVectoredExceptionHandler(1, &OnException);
}

}  // namespace

bool CallGuarded(void (*body)(void*), void* context, CaughtFault* fault) {
    EnsureHandler();
    GuardFrame frame{};
    frame.outer = g_innermost;
    frame.thread = GetCurrentThreadId();
    GuardFrame* volatile self = &frame;
    g_innermost = self;
    if (__builtin_setjmp(frame.jumpBuffer) == 0) {
        body(context);
        g_innermost = self->outer;
        return true;
    }
    g_innermost = self->outer;
    if (fault) *fault = self->fault;
    return false;
}

void RemoveFaultHandler() {
    if (g_handler) RemoveVectoredExceptionHandler(g_handler);
    g_handler = nullptr;
}

}  // namespace lmc32
