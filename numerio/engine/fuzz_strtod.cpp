// Fuzzes parse_double as narrow and as wide text, against glibc's strtod
// and against itself.
#include <cctype>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "float_parse.h"

namespace {

// Wide stand-ins for the bytes 0x80-0xFF: characters that look like parts
// of a number in some script, or like white space, but are none in "C".
wchar_t widen(unsigned char b) {
    static const wchar_t kLookalikes[] = {
        0x00A0, 0x2003, 0x3000, 0x0660, 0x0661, 0x0665, 0x06F1, 0x0966,
        0xFF10, 0xFF11, 0xFF0E, 0xFF45, 0x0131, 0x0130, 0x212A, 0x066B,
        0x00B7, 0x2212, 0xFE63, 0xFF0B, 0x00B2, 0xFFFF, 0x0100, 0x0178};
    if (b < 0x80) return static_cast<wchar_t>(b);
    return kLookalikes[b % (sizeof kLookalikes / sizeof *kLookalikes)];
}

// Significant hexadecimal digits of the number when `text` is one in
// hexadecimal, else -1.
int hex_significant_digits(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    if (*p == '+' || *p == '-') ++p;
    if (p[0] != '0' || (p[1] != 'x' && p[1] != 'X')) return -1;
    p += 2;
    int first = -1, last = -1, position = 0;
    for (; std::isxdigit(static_cast<unsigned char>(*p)) || *p == '.'; ++p) {
        if (*p == '.') continue;
        if (*p != '0') {
            if (first < 0) first = position;
            last = position;
        }
        ++position;
    }
    return first < 0 ? 0 : last - first + 1;
}

bool same_double(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    }
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool same(const numerio::FloatParse& a, const numerio::FloatParse& b) {
    return same_double(a.value, b.value) && a.consumed == b.consumed &&
           a.range_error == b.range_error;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string narrow(reinterpret_cast<const char*>(data), size);  // stops at a NUL
    const std::size_t length = std::strlen(narrow.c_str());
    std::wstring wide;
    for (std::size_t i = 0; i < length; ++i) wide.push_back(widen(data[i]));

    const numerio::FloatParse n = numerio::parse_double(narrow.c_str());
    const numerio::FloatParse w = numerio::parse_double(wide.c_str());
    if (n.consumed > length) __builtin_trap();
    // Non-ASCII characters end a number whatever they are, so the wide
    // reading agrees with the narrow one, where the same bytes stand.
    if (!same(n, w)) __builtin_trap();

    // glibc's strtod in the "C" locale is the reference.
    char* end = nullptr;
    errno = 0;
    double expected = std::strtod(narrow.c_str(), &end);
    bool expected_range = errno == ERANGE;
    const int hex_digits = hex_significant_digits(narrow.c_str());
    if (hex_digits >= 0 && std::fabs(expected) <= DBL_MIN) {
        // glibc misrounds some hexadecimal subnormals with more bits than a
        // double holds (0x2916486216080.9p-1074 comes out ...080, not ...081,
        // and 0x9216486216080.4p-1074 without ERANGE). With at most 60 bits
        // the value is exact as a long double, and narrowing that rounds
        // once, correctly; scaled up, it shows whether full precision
        // leaves it tiny.
        // (Zero, or far below the doubles, glibc's answer stands.)
        const long double exact = std::strtold(narrow.c_str(), nullptr);
        if (std::fabs(exact) >= LDBL_MIN && hex_digits <= 15) {
            expected = static_cast<double>(exact);
            const bool inexact = static_cast<long double>(expected) != exact;
            const bool tiny = std::fabs(static_cast<double>(exact * 0x1p64L)) < 0x1p-958;
            expected_range = inexact && tiny;
        } else if (std::fabs(exact) >= LDBL_MIN) {  // no reference at hand
            expected = n.value;
            expected_range = n.range_error;
        }
    }
    if (!same_double(n.value, expected)) __builtin_trap();
    if (n.consumed != static_cast<std::size_t>(end - narrow.c_str())) __builtin_trap();
    // glibc reads the n-char sequence of "nan(...)" as a payload and lets
    // its strtoull's ERANGE through when the digits overflow; a NaN is
    // never out of range here (and carries no payload).
    if (!std::isnan(n.value) && n.range_error != expected_range) __builtin_trap();
    if (std::isnan(n.value) && n.range_error) __builtin_trap();

    // A finite result survives printing with 17 digits and reading back.
    if (std::isfinite(n.value)) {
        char printed[40];
        std::snprintf(printed, sizeof printed, "%.17g", n.value);
        const numerio::FloatParse back = numerio::parse_double(printed);
        if (!same_double(back.value, n.value) || back.consumed != std::strlen(printed)) {
            __builtin_trap();
        }
    }
    return 0;
}
