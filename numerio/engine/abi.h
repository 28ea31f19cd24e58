// Decisions that follow the calling program's ABI rather than the C standard.
// The library is loaded by hosts built with the platform's usual compiler, so
// on Windows the argument types of the conversions follow that compiler.
#pragma once

#include <cstddef>

namespace numerio::abi {

#ifdef _WIN32
// The platform's compiler has a 64-bit long double: "%Lf" passes and stores
// a double.
inline constexpr bool kLongDoubleIsDouble = true;
#else
inline constexpr bool kLongDoubleIsDouble = false;
#endif

// "%p" prints the pointer as upper-case hexadecimal digits, zero-padded to
// the width of a pointer (the platform's convention), and scans it back.
inline constexpr int kPointerHexDigits = sizeof(void*) * 2;

}  // namespace numerio::abi
