#include "fault_report.h"

#include <gtest/gtest.h>

namespace lmc32 {
namespace {

TEST(FaultReport, KnownFaultsGiveTheirCodeAndTheAddress) {
    const struct {
        std::uint32_t exception;
        int code;
    } cases[] = {
        {kExceptionAccessViolation, 71},
        {kExceptionArrayBoundsExceeded, 72},
        {kExceptionIntDivideByZero, 73},
        {kExceptionFloatDivideByZero, 73},
    };
    for (const auto& c : cases) {
        const FaultReport r = DescribeFault(c.exception, 0x40102A, 4);
        EXPECT_EQ(r.errorCode, c.code);
        EXPECT_EQ(r.text, u"0040102A");
    }
    EXPECT_EQ(DescribeFault(kExceptionAccessViolation, 0x7FF6A0B1C2D3, 8).text, u"00007FF6A0B1C2D3");
}

TEST(FaultReport, OtherFaultsGiveCodeInLowerHexAndAddress) {
    const FaultReport r = DescribeFault(0xC000001D, 0xABC, 4);  // illegal instruction
    EXPECT_EQ(r.errorCode, 70);
    EXPECT_EQ(r.text, u"c000001d, Address = 00000ABC");
}

TEST(FaultReport, OnlyErrorStatusesOtherThanStackOverflowAndCppAreCaught) {
    EXPECT_TRUE(IsCaughtFault(kExceptionAccessViolation));
    EXPECT_TRUE(IsCaughtFault(0xC000001D));
    EXPECT_FALSE(IsCaughtFault(kExceptionStackOverflow));
    EXPECT_FALSE(IsCaughtFault(kExceptionMsvcCpp));
    EXPECT_FALSE(IsCaughtFault(0x20474343));  // GCC's C++ exceptions
    EXPECT_FALSE(IsCaughtFault(0x40010006));  // debug output string
    EXPECT_FALSE(IsCaughtFault(0x80000003));  // breakpoint
}

}  // namespace
}  // namespace lmc32
