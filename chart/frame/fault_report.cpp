#include "fault_report.h"

namespace lmc32 {
namespace {

struct FaultKind {
    std::uint32_t exceptionCode;
    int errorCode;
};

constexpr FaultKind kFaultKinds[] = {
    {kExceptionAccessViolation, 71},
    {kExceptionArrayBoundsExceeded, 72},
    {kExceptionFloatDivideByZero, 73},
    {kExceptionIntDivideByZero, 73},
};
constexpr int kOtherFault = 70;

std::u16string Hex(std::uint64_t value, int digits, const char* alphabet) {
    std::u16string out;
    do {
        out.insert(out.begin(), static_cast<char16_t>(alphabet[value & 0xF]));
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(out.size()) < digits) out.insert(0, static_cast<std::size_t>(digits) - out.size(), u'0');
    return out;
}

std::u16string PointerText(std::uint64_t address, int pointerBytes) {
    return Hex(address, 2 * pointerBytes, "0123456789ABCDEF");
}

}  // namespace

bool IsCaughtFault(std::uint32_t exceptionCode) {
    const bool errorSeverity = (exceptionCode & 0xC0000000u) == 0xC0000000u;
    return errorSeverity && exceptionCode != kExceptionStackOverflow && exceptionCode != kExceptionMsvcCpp;
}

FaultReport DescribeFault(std::uint32_t exceptionCode, std::uint64_t address, int pointerBytes) {
    for (const FaultKind& kind : kFaultKinds) {
        if (kind.exceptionCode == exceptionCode) return {kind.errorCode, PointerText(address, pointerBytes)};
    }
    return {kOtherFault, Hex(exceptionCode, 0, "0123456789abcdef") + u", Address = " +
                             PointerText(address, pointerBytes)};
}

}  // namespace lmc32
