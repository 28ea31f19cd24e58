// Turns a processor exception caught while a page is built into the error
// code and the text appended to its message.
#pragma once
#include <cstdint>
#include <string>

namespace lmc32 {

inline constexpr std::uint32_t kExceptionAccessViolation = 0xC0000005u;
inline constexpr std::uint32_t kExceptionArrayBoundsExceeded = 0xC000008Cu;
inline constexpr std::uint32_t kExceptionFloatDivideByZero = 0xC000008Eu;
inline constexpr std::uint32_t kExceptionIntDivideByZero = 0xC0000094u;
inline constexpr std::uint32_t kExceptionStackOverflow = 0xC00000FDu;
inline constexpr std::uint32_t kExceptionMsvcCpp = 0xE06D7363u;

struct FaultReport {
    int errorCode;
    std::u16string text;
};

// Whether an exception is one the page-building frame takes over: an error
// status raised by the processor or the system. Informational and warning
// statuses (debug output, breakpoints), C++ exceptions, which their own
// handlers expect, and a stack overflow, which leaves no stack to recover
// on, pass by.
bool IsCaughtFault(std::uint32_t exceptionCode);

// Addresses print like "%p" of the platform's C runtime: upper-case hex,
// zero-padded to the pointer width.
FaultReport DescribeFault(std::uint32_t exceptionCode, std::uint64_t address,
                          int pointerBytes = static_cast<int>(sizeof(void*)));

}  // namespace lmc32
