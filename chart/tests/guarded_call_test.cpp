#include "win/guarded_call.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "fault_report.h"

namespace lmc32 {
namespace {

struct Progress {
    int stepsDone = 0;
};

// A page nobody may touch (address 0 itself is mapped in some Wine setups).
int* NoAccessPage() {
    static void* page = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    return static_cast<int*>(page);
}

void WriteToForbiddenPage(void* context) {
    static_cast<Progress*>(context)->stepsDone = 1;
    int* volatile forbidden = NoAccessPage();
    *forbidden = 7;
    static_cast<Progress*>(context)->stepsDone = 2;
}

void DivideByZero(void* context) {
    volatile int zero = 0;
    volatile int result = 10 / zero;
    static_cast<Progress*>(context)->stepsDone = result;
}

void RaiseArrayBounds(void*) { RaiseException(EXCEPTION_ARRAY_BOUNDS_EXCEEDED, 0, 0, nullptr); }

#if !defined(_WIN64)
// The processor's own bounds check, which exists in 32-bit code only.
void ExceedBoundsInstruction(void*) {
    static int bounds[2] = {0, 9};
    int index = 10;
    __asm__ __volatile__("bound %0, %1" : : "r"(index), "m"(bounds));
}
#endif

void IllegalInstruction(void*) { __builtin_trap(); }

void RunsToItsEnd(void* context) { static_cast<Progress*>(context)->stepsDone = 3; }

TEST(GuardedCall, BodyWithoutFaultRunsToItsEnd) {
    Progress progress;
    CaughtFault fault{};
    EXPECT_TRUE(CallGuarded(&RunsToItsEnd, &progress, &fault));
    EXPECT_EQ(progress.stepsDone, 3);
}

TEST(GuardedCall, EachFaultEndsTheBodyAndIsReportedWithItsErrorCode) {
    struct Case {
        const char* name;
        void (*body)(void*);
        std::uint32_t exception;
        int errorCode;
    };
    const Case cases[] = {
        {"access violation", &WriteToForbiddenPage, kExceptionAccessViolation, 71},
        {"array bounds (raised)", &RaiseArrayBounds, kExceptionArrayBoundsExceeded, 72},
#if !defined(_WIN64)
        {"array bounds (bound instruction)", &ExceedBoundsInstruction, kExceptionArrayBoundsExceeded, 72},
#endif
        {"integer division by zero", &DivideByZero, kExceptionIntDivideByZero, 73},
        {"illegal instruction", &IllegalInstruction, 0xC000001Du, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Progress progress;
        CaughtFault fault{};
        EXPECT_FALSE(CallGuarded(c.body, &progress, &fault));
        EXPECT_EQ(fault.exceptionCode, c.exception);
        EXPECT_NE(fault.address, 0u);
        EXPECT_EQ(DescribeFault(fault.exceptionCode, fault.address).errorCode, c.errorCode);
    }
}

TEST(GuardedCall, StateWrittenBeforeTheFaultIsKeptAndTheRestSkipped) {
    Progress progress;
    CaughtFault fault{};
    EXPECT_FALSE(CallGuarded(&WriteToForbiddenPage, &progress, &fault));
    EXPECT_EQ(progress.stepsDone, 1);
    EXPECT_EQ(fault.address >= reinterpret_cast<std::uintptr_t>(&WriteToForbiddenPage), true);
}

void FaultInInnerFrame(void* context) {
    auto* innerCaught = static_cast<bool*>(context);
    CaughtFault fault{};
    *innerCaught = !CallGuarded(&WriteToForbiddenPage, new Progress, &fault);  // leak: test only
}

TEST(GuardedCall, InnerFrameCatchesAndOuterFrameGoesOn) {
    bool innerCaught = false;
    CaughtFault fault{};
    EXPECT_TRUE(CallGuarded(&FaultInInnerFrame, &innerCaught, &fault));
    EXPECT_TRUE(innerCaught);
    // The frames are gone: a later frame works as the first did.
    Progress progress;
    EXPECT_FALSE(CallGuarded(&DivideByZero, &progress, &fault));
    EXPECT_EQ(fault.exceptionCode, kExceptionIntDivideByZero);
}

void ThrowsAndCatchesCpp(void* context) {
    try {
        throw 42;
    } catch (int value) {
        static_cast<Progress*>(context)->stepsDone = value;
    }
    OutputDebugStringA("guarded body: debug output passes through");
}

TEST(GuardedCall, CppExceptionsAndDebugOutputInsideTheBodyAreLeftAlone) {
    Progress progress;
    CaughtFault fault{};
    EXPECT_TRUE(CallGuarded(&ThrowsAndCatchesCpp, &progress, &fault));
    EXPECT_EQ(progress.stepsDone, 42);
}

}  // namespace
}  // namespace lmc32
