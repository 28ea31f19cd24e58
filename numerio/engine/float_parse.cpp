// strtod in the "C" locale.
//
// Decimal text is reduced to a canonical "d.ddd…e±X" with at most
// kKeptDigits significant digits (plus one sticky digit standing for
// everything dropped) and handed to std::from_chars, which rounds exactly
// and never consults a locale. Hexadecimal text is rounded here: the value is
// exact in binary, so a 64-bit accumulator with a sticky bit is all it takes.
#include "float_parse.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>
#include <type_traits>

namespace numerio {

namespace {

// Every halfway point between two doubles has at most 767 significant
// decimal digits, so digits past this many can only matter as "something
// non-zero follows", which one extra '1' represents faithfully.
constexpr std::size_t kKeptDigits = 780;

// Exponents are clamped long before they could overflow an int64, and far
// beyond anything that can still produce a finite non-zero double.
constexpr std::int64_t kExponentClamp = 1'000'000'000'000'000;

template <typename CharT>
unsigned long code(CharT c) {
    return static_cast<std::make_unsigned_t<CharT>>(c);
}

bool is_space(unsigned long c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int decimal_value(unsigned long c) {
    return (c >= '0' && c <= '9') ? static_cast<int>(c - '0') : -1;
}

int hex_value(unsigned long c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;
}

unsigned long ascii_lower(unsigned long c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

std::int64_t clamp_exponent(std::int64_t e) {
    if (e > kExponentClamp) return kExponentClamp;
    if (e < -kExponentClamp) return -kExponentClamp;
    return e;
}

// Matches `word` (lower case) case-insensitively at `p`; ASCII letters only,
// so no wide character outside ASCII can stand in for one.
template <typename CharT>
bool match_word(const CharT* p, const char* word) {
    for (; *word; ++p, ++word) {
        if (ascii_lower(code(*p)) != static_cast<unsigned char>(*word)) return false;
    }
    return true;
}

// An optional exponent: marker, optional sign, at least one decimal digit.
// Returns the number of characters it spans (0 when there is no complete
// exponent, which then stays unconsumed) and the value, clamped.
template <typename CharT>
std::size_t scan_exponent(const CharT* p, char marker, std::int64_t& value) {
    value = 0;
    if (ascii_lower(code(*p)) != static_cast<unsigned char>(marker)) return 0;
    std::size_t i = 1;
    bool negative = false;
    if (code(p[i]) == '+' || code(p[i]) == '-') {
        negative = code(p[i]) == '-';
        ++i;
    }
    if (decimal_value(code(p[i])) < 0) return 0;
    std::int64_t v = 0;
    for (int d; (d = decimal_value(code(p[i]))) >= 0; ++i) {
        if (v <= kExponentClamp) v = v * 10 + d;
    }
    value = negative ? -v : v;
    return i;
}

enum class Kind { kNone, kZero, kDecimal, kHex, kInfinity, kNaN };

// What the text says, before any rounding.
struct Lexed {
    Kind kind = Kind::kNone;
    bool negative = false;
    std::size_t consumed = 0;
    // kDecimal: the value is digits[0].digits[1…] × 10^exponent, digits[0]
    // non-zero, no trailing zeros (unless sticky).
    char digits[kKeptDigits + 2];
    std::size_t digit_count = 0;
    // kHex: the value is mantissa × 2^exponent, plus something below the
    // mantissa's last bit when sticky.
    std::uint64_t mantissa = 0;
    bool sticky = false;
    std::int64_t exponent = 0;
};

template <typename CharT>
void lex_decimal(const CharT* p, Lexed& out) {
    // Position of the first significant digit relative to the point, kept
    // as "digits before the point minus one" while scanning.
    std::int64_t point_exponent = -1;
    bool seen_significant = false;
    bool any_digit = false;
    bool dropped_nonzero = false;
    std::size_t i = 0;
    auto take = [&](int d) {
        any_digit = true;
        if (!seen_significant) {
            if (d == 0) return;
            seen_significant = true;
        }
        if (out.digit_count < kKeptDigits) {
            out.digits[out.digit_count++] = static_cast<char>('0' + d);
        } else if (d != 0) {
            dropped_nonzero = true;
        }
    };
    for (int d; (d = decimal_value(code(p[i]))) >= 0; ++i) {
        take(d);
        if (seen_significant) ++point_exponent;
    }
    if (code(p[i]) == '.') {
        ++i;
        for (int d; (d = decimal_value(code(p[i]))) >= 0; ++i) {
            take(d);
            if (!seen_significant) --point_exponent;
        }
    }
    if (!any_digit) return;  // "." or "+." is not a number
    std::int64_t explicit_exponent = 0;
    i += scan_exponent(p + i, 'e', explicit_exponent);
    out.consumed = i;
    if (!seen_significant) {
        out.kind = Kind::kZero;
        return;
    }
    out.kind = Kind::kDecimal;
    if (dropped_nonzero) {
        out.digits[out.digit_count++] = '1';
    } else {
        while (out.digits[out.digit_count - 1] == '0') --out.digit_count;
    }
    out.exponent = clamp_exponent(clamp_exponent(point_exponent) + explicit_exponent);
}

// `p` points just past "0x"; the caller has checked that a hex digit
// follows, directly or after the point.
template <typename CharT>
std::size_t lex_hex(const CharT* p, Lexed& out) {
    std::uint64_t mantissa = 0;
    int nibbles = 0;  // significant nibbles held in the mantissa
    bool sticky = false;
    std::int64_t exponent = 0;
    std::size_t i = 0;
    for (int v; (v = hex_value(code(p[i]))) >= 0; ++i) {
        if (nibbles == 0 && v == 0) continue;
        if (nibbles < 16) {
            mantissa = (mantissa << 4) | static_cast<unsigned>(v);
            ++nibbles;
        } else {
            sticky |= v != 0;
            exponent = clamp_exponent(exponent + 4);
        }
    }
    if (code(p[i]) == '.') {
        ++i;
        for (int v; (v = hex_value(code(p[i]))) >= 0; ++i) {
            if (nibbles == 0 && v == 0) {
                exponent = clamp_exponent(exponent - 4);
            } else if (nibbles < 16) {
                mantissa = (mantissa << 4) | static_cast<unsigned>(v);
                ++nibbles;
                exponent = clamp_exponent(exponent - 4);
            } else {
                sticky |= v != 0;
            }
        }
    }
    std::int64_t binary_exponent = 0;
    i += scan_exponent(p + i, 'p', binary_exponent);
    out.mantissa = mantissa;
    out.sticky = sticky;
    out.exponent = clamp_exponent(exponent + binary_exponent);
    out.kind = mantissa == 0 ? Kind::kZero : Kind::kHex;
    return i;
}

template <typename CharT>
void lex(const CharT* text, Lexed& out) {
    std::size_t i = 0;
    while (is_space(code(text[i]))) ++i;
    if (code(text[i]) == '+' || code(text[i]) == '-') {
        out.negative = code(text[i]) == '-';
        ++i;
    }
    const CharT* p = text + i;
    if (code(p[0]) == '0' && ascii_lower(code(p[1])) == 'x' &&
        (hex_value(code(p[2])) >= 0 || (code(p[2]) == '.' && hex_value(code(p[3])) >= 0))) {
        out.consumed = i + 2 + lex_hex(p + 2, out);
        return;
    }
    if (match_word(p, "inf")) {
        out.kind = Kind::kInfinity;
        out.consumed = i + (match_word(p, "infinity") ? 8 : 3);
        return;
    }
    if (match_word(p, "nan")) {
        out.kind = Kind::kNaN;
        out.consumed = i + 3;
        if (code(p[3]) == '(') {
            std::size_t j = 4;
            for (;; ++j) {
                const unsigned long c = code(p[j]);
                const bool n_char = decimal_value(c) >= 0 || c == '_' ||
                                    (ascii_lower(c) >= 'a' && ascii_lower(c) <= 'z');
                if (!n_char) break;
            }
            if (code(p[j]) == ')') out.consumed = i + j + 1;
        }
        return;
    }
    lex_decimal(p, out);
    if (out.kind != Kind::kNone) out.consumed += i;
}

template <typename Float>
struct Traits;

template <>
struct Traits<double> {
    using Bits = std::uint64_t;
    static constexpr int kMantissaBits = 52;
    static constexpr int kMaxExponent = 1023;     // of the leading bit
    static constexpr int kMinNormal = -1022;      // of the leading bit
    static constexpr int kMinUnit = -1074;        // of the last bit of a subnormal
    static constexpr std::int64_t kSureOverflow = 310;    // decimal exponents
    static constexpr std::int64_t kSureUnderflow = -330;
    static constexpr Bits kInfinityBits = 0x7ff0000000000000u;
};

template <>
struct Traits<float> {
    using Bits = std::uint32_t;
    static constexpr int kMantissaBits = 23;
    static constexpr int kMaxExponent = 127;
    static constexpr int kMinNormal = -126;
    static constexpr int kMinUnit = -149;
    static constexpr std::int64_t kSureOverflow = 40;
    static constexpr std::int64_t kSureUnderflow = -50;
    static constexpr Bits kInfinityBits = 0x7f800000u;
};

template <typename Float>
Float with_sign(Float magnitude, bool negative) {
    return negative ? -magnitude : magnitude;
}

// Drops the low `shift` bits (at most 64) of mantissa (+ sticky below it),
// rounding to nearest-even.
std::uint64_t round_off(std::uint64_t mantissa, bool sticky, int shift, bool& inexact) {
    inexact = sticky;
    if (shift <= 0) return mantissa << -shift;
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const std::uint64_t below = shift == 64 ? mantissa : mantissa & ((half << 1) - 1);
    const std::uint64_t kept = shift == 64 ? 0 : mantissa >> shift;
    inexact |= below != 0;
    const bool round_up = below > half || (below == half && (sticky || (kept & 1)));
    return kept + (round_up ? 1 : 0);
}

// Rounds mantissa × 2^exponent (+ sticky) to nearest-even. Underflow is
// reported as glibc does: the result is tiny (judged after rounding, see
// tininess_threshold) and inexact.
template <typename Float>
Float round_binary(std::uint64_t mantissa, bool sticky, std::int64_t exponent,
                   bool& range_error) {
    using T = Traits<Float>;
    using Bits = typename T::Bits;
    const int msb = 63 - std::countl_zero(mantissa);
    const std::int64_t leading = msb + exponent;
    if (leading > T::kMaxExponent) {
        range_error = true;
        return std::numeric_limits<Float>::infinity();
    }
    if (leading < T::kMinUnit - 1) {  // below half the smallest subnormal
        range_error = true;
        return 0;
    }
    // Exponent of the result's last bit; shift is how many bits to drop.
    const std::int64_t unit =
        leading - T::kMantissaBits > T::kMinUnit ? leading - T::kMantissaBits : T::kMinUnit;
    bool inexact = false;
    const std::uint64_t kept = round_off(mantissa, sticky, static_cast<int>(unit - exponent), inexact);
    if (inexact) {
        bool tiny = leading < T::kMinNormal;
        if (leading == T::kMinNormal - 1) {
            // Only rounding to full precision can still lift it to the
            // smallest normal.
            const int full_shift = msb - T::kMantissaBits;
            if (full_shift > 0) {
                bool ignored = false;
                const std::uint64_t full = round_off(mantissa, sticky, full_shift, ignored);
                tiny = (full >> (T::kMantissaBits + 1)) == 0;
            }
        }
        if (tiny) range_error = true;
    }
    // The exponent field grows by itself when rounding carries into the
    // next binade (or from subnormal into normal).
    const Bits bits = static_cast<Bits>((static_cast<std::uint64_t>(unit - T::kMinUnit)
                                         << T::kMantissaBits) + kept);
    if (bits >= T::kInfinityBits) {
        range_error = true;
        return std::numeric_limits<Float>::infinity();
    }
    return std::bit_cast<Float>(bits);
}

// An exact decimal: digits[0].digits[1…] × 10^exponent, no trailing zeros.
struct ExactDecimal {
    char digits[kKeptDigits + 16];
    std::size_t count = 0;
    std::int64_t exponent = 0;
};

// Three-way comparison of two positive decimals.
int compare(const Lexed& d, const ExactDecimal& x) {
    if (d.exponent != x.exponent) return d.exponent < x.exponent ? -1 : 1;
    const std::size_t n = d.digit_count > x.count ? d.digit_count : x.count;
    for (std::size_t k = 0; k < n; ++k) {
        const char mine = k < d.digit_count ? d.digits[k] : '0';
        const char theirs = k < x.count ? x.digits[k] : '0';
        if (mine != theirs) return mine < theirs ? -1 : 1;
    }
    return 0;
}

// The exact value of a positive finite float or double. Every one has fewer
// than kKeptDigits significant digits, so the expansion is complete.
template <typename Float>
ExactDecimal exact_decimal(Float value) {
    char text[kKeptDigits + 40];
    const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific,
                                 static_cast<int>(kKeptDigits));
    const char* e = static_cast<const char*>(std::memchr(text, 'e', r.ptr - text));
    ExactDecimal x;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, x.exponent);
    for (const char* q = text; q < e; ++q) {
        if (*q != '.') x.digits[x.count++] = *q;
    }
    while (x.count > 1 && x.digits[x.count - 1] == '0') --x.count;
    return x;
}

// Tininess is judged after rounding (as x86 hardware and glibc do): a value
// is tiny when, rounded to full precision with an unbounded exponent, it is
// still below the smallest normal. That happens exactly below the point a
// quarter of a subnormal step under the smallest normal:
// (2^(p+1) - 1) × 2^(min_normal - p - 1) for p-bit significands.
template <typename Float>
const ExactDecimal& tininess_threshold() {
    static const ExactDecimal threshold = [] {
        using T = Traits<Float>;
        constexpr int p = T::kMantissaBits + 1;
        constexpr int power = p + 1 - T::kMinNormal;  // the value is N × 10^-power
        // N = (2^(p+1) - 1) × 5^power, built little-endian one digit per byte.
        unsigned char n[kKeptDigits + 16] = {};
        std::size_t len = 0;
        for (std::uint64_t m = (std::uint64_t{1} << (p + 1)) - 1; m != 0; m /= 10) {
            n[len++] = static_cast<unsigned char>(m % 10);
        }
        for (int i = 0; i < power; ++i) {
            unsigned carry = 0;
            for (std::size_t k = 0; k < len; ++k) {
                const unsigned v = n[k] * 5u + carry;
                n[k] = static_cast<unsigned char>(v % 10);
                carry = v / 10;
            }
            if (carry != 0) n[len++] = static_cast<unsigned char>(carry);
        }
        ExactDecimal x;
        x.exponent = static_cast<std::int64_t>(len) - 1 - power;
        for (std::size_t k = len; k-- > 0;) x.digits[x.count++] = static_cast<char>('0' + n[k]);
        while (x.digits[x.count - 1] == '0') --x.count;
        return x;
    }();
    return threshold;
}

template <typename Float>
Float round_decimal(const Lexed& d, bool& range_error) {
    using T = Traits<Float>;
    if (d.exponent > T::kSureOverflow) {
        range_error = true;
        return std::numeric_limits<Float>::infinity();
    }
    if (d.exponent < T::kSureUnderflow) {
        range_error = true;
        return 0;
    }
    char text[kKeptDigits + 40];
    char* out = text;
    *out++ = d.digits[0];
    if (d.digit_count > 1) {
        *out++ = '.';
        std::memcpy(out, d.digits + 1, d.digit_count - 1);
        out += d.digit_count - 1;
    }
    *out++ = 'e';
    out = std::to_chars(out, text + sizeof text, d.exponent).ptr;
    Float value = 0;
    const auto r = std::from_chars(text, out, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        range_error = true;
        return d.exponent > 0 ? std::numeric_limits<Float>::infinity() : Float{0};
    }
    // Underflow, as glibc reports it: tiny and inexact.
    const Float smallest_normal = std::numeric_limits<Float>::min();
    if (value < smallest_normal) {
        if (value == 0 || compare(d, exact_decimal(value)) != 0) range_error = true;
    } else if (value == smallest_normal && compare(d, tininess_threshold<Float>()) < 0) {
        range_error = true;
    }
    return value;
}

template <typename Float, typename CharT>
FloatParse parse(const CharT* text) {
    FloatParse result;
    if (text == nullptr) return result;
    Lexed lexed;
    lex(text, lexed);
    Float value = 0;
    bool range_error = false;
    switch (lexed.kind) {
    case Kind::kNone:
        return result;
    case Kind::kZero:
        break;
    case Kind::kInfinity:
        value = std::numeric_limits<Float>::infinity();
        break;
    case Kind::kNaN:
        // The n-char sequence is accepted but carries no payload: the
        // default quiet NaN, as the platform's own runtime produces.
        value = std::numeric_limits<Float>::quiet_NaN();
        break;
    case Kind::kDecimal:
        value = round_decimal<Float>(lexed, range_error);
        break;
    case Kind::kHex:
        value = round_binary<Float>(lexed.mantissa, lexed.sticky, lexed.exponent, range_error);
        break;
    }
    result.value = static_cast<double>(with_sign(value, lexed.negative));
    result.consumed = lexed.consumed;
    result.range_error = range_error;
    return result;
}

}  // namespace

FloatParse parse_double(const char* text) { return parse<double>(text); }
FloatParse parse_double(const wchar_t* text) { return parse<double>(text); }
FloatParse parse_single(const char* text) { return parse<float>(text); }

}  // namespace numerio
