// The scanf engine, one template for narrow and wide input.
//
// Input is read one character at a time with at most one character of
// pushback, so every field is "the longest prefix of a matching sequence":
// the first character that cannot extend the field is given back, and if
// what was read is not itself a complete number the directive fails.
// ("100ergs" under "%f" reads "100e" and fails, and "0xg" under "%x" reads
// "0x" and fails, where glibc, which can look further back in a string,
// accepts a shorter number.)
#include "scan.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <type_traits>

#include "abi.h"
#include "float_parse.h"

namespace numerio {

namespace {

template <typename CharT>
unsigned long code(CharT c) {
    return static_cast<std::make_unsigned_t<CharT>>(c);
}

bool is_space(unsigned long c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

unsigned long ascii_lower(unsigned long c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

int digit_value(long c, int base) {
    int v;
    if (c >= '0' && c <= '9') {
        v = static_cast<int>(c - '0');
    } else if (c >= 'a' && c <= 'z') {
        v = static_cast<int>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'Z') {
        v = static_cast<int>(c - 'A' + 10);
    } else {
        return -1;
    }
    return v < base ? v : -1;
}

enum class Outcome { kOk, kMatchingFailure, kInputFailure };

enum class Length { kNone, kHH, kH, kL, kLL, kBigL, kJ, kZ, kT, kI32, kI64, kIPtr, kW };

template <typename CharT>
struct Directive {
    bool suppress = false;
    long long width = -1;  // -1: none
    Length length = Length::kNone;
    unsigned long conversion = 0;
    // "%[": the set's characters between the brackets.
    const CharT* set_begin = nullptr;
    const CharT* set_end = nullptr;
    bool set_negated = false;
};

// Saturates ±magnitude into T; for unsigned T a negated magnitude wraps as
// strtoul's does, as long as the magnitude itself fits.
template <typename T>
T saturate(bool negative, std::uint64_t magnitude, bool overflow) {
    constexpr auto max = static_cast<std::uint64_t>(std::numeric_limits<T>::max());
    if constexpr (std::is_signed_v<T>) {
        const std::uint64_t limit = negative ? max + 1 : max;
        if (overflow || magnitude > limit) {
            return negative ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
        }
    } else {
        if (overflow || magnitude > max) return std::numeric_limits<T>::max();
    }
    // Modular conversion: exact for the signed range checked above.
    return static_cast<T>(negative ? std::uint64_t{0} - magnitude : magnitude);
}

template <typename CharT>
class Scanner {
public:
    static constexpr long kEnd = InputSource<CharT>::kEnd;
    static constexpr long kWidthReached = -2;

    Scanner(InputSource<CharT>& in, va_list args) : in_(in) { va_copy(args_, args); }
    ~Scanner() { va_end(args_); }
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    int run(const CharT* format);

private:
    // A field's reader: hands out characters until the width is used up.
    class Field {
    public:
        Field(Scanner& s, long long width) : s_(s), remaining_(width) {}
        long next() {
            if (remaining_ == 0) return kWidthReached;
            const long c = s_.get();
            if (c != kEnd && remaining_ > 0) --remaining_;
            return c;
        }
        // Gives back the character that ended the field, if there is one.
        void finish(long c) {
            if (c >= 0) s_.unget(c);
        }

    private:
        Scanner& s_;
        long long remaining_;
    };

    long get() {
        if (at_end_) return kEnd;
        const long c = in_.get();
        if (c < 0) {
            // Never ask again: a terminal or pipe may deliver more after an
            // end, and one call must see one consistent input.
            at_end_ = true;
            return kEnd;
        }
        ++read_;
        return c;
    }
    void unget(long c) {
        in_.unget(c);
        --read_;
    }

    // Skips white space; an input failure when the input ends first.
    Outcome skip_space() {
        for (;;) {
            const long c = get();
            if (c == kEnd) return Outcome::kInputFailure;
            if (!is_space(static_cast<unsigned long>(c))) {
                unget(c);
                return Outcome::kOk;
            }
        }
    }

    const CharT* parse_directive(const CharT* f, Directive<CharT>& d);
    Outcome execute(const Directive<CharT>& d);
    Outcome match_literal(unsigned long expected);
    Outcome read_integer(long long width, int base, bool& negative, std::uint64_t& magnitude,
                         bool& overflow);
    Outcome read_float(long long width, std::string& text);
    Outcome scan_integer(const Directive<CharT>& d);
    Outcome scan_float(const Directive<CharT>& d);
    Outcome scan_pointer(const Directive<CharT>& d);
    void store_count(const Directive<CharT>& d);
    template <typename DestT>
    Outcome scan_text(const Directive<CharT>& d);
    bool in_set(const Directive<CharT>& d, long c) const;

    template <typename T>
    void store_integer(bool negative, std::uint64_t magnitude, bool overflow) {
        *va_arg(args_, T*) = saturate<T>(negative, magnitude, overflow);
    }

    InputSource<CharT>& in_;
    va_list args_;
    bool at_end_ = false;
    long long read_ = 0;   // characters taken so far, for "%n"
    int assigned_ = 0;
    bool converted_ = false;  // some conversion other than "%n" completed
};

template <typename CharT>
int Scanner<CharT>::run(const CharT* f) {
    Outcome outcome = Outcome::kOk;
    while (outcome == Outcome::kOk && code(*f) != 0) {
        const unsigned long fc = code(*f);
        if (is_space(fc)) {
            while (is_space(code(*f))) ++f;
            skip_space();  // running out of input here is no failure
            continue;
        }
        if (fc != '%') {
            ++f;
            outcome = match_literal(fc);
            continue;
        }
        Directive<CharT> directive;
        const CharT* after = parse_directive(f + 1, directive);
        if (after == nullptr) {
            // An unknown or malformed directive: nothing after it can be
            // interpreted safely, so stop as a matching failure would.
            outcome = Outcome::kMatchingFailure;
            break;
        }
        f = after;
        outcome = execute(directive);
    }
    if (outcome == Outcome::kInputFailure && !converted_) return EOF;
    return assigned_;
}

template <typename CharT>
Outcome Scanner<CharT>::match_literal(unsigned long expected) {
    const long c = get();
    if (c == kEnd) return Outcome::kInputFailure;
    if (static_cast<unsigned long>(c) != expected) {
        unget(c);
        return Outcome::kMatchingFailure;
    }
    return Outcome::kOk;
}

// Reads the directive after '%'. Returns what follows it, or nullptr when
// it is not one this engine knows.
template <typename CharT>
const CharT* Scanner<CharT>::parse_directive(const CharT* f, Directive<CharT>& d) {
    if (code(*f) == '%') {
        d.conversion = '%';
        return f + 1;
    }
    if (code(*f) == '*') {
        d.suppress = true;
        ++f;
    }
    if (code(*f) >= '0' && code(*f) <= '9') {
        long long width = 0;
        for (; code(*f) >= '0' && code(*f) <= '9'; ++f) {
            width = width * 10 + static_cast<long long>(code(*f) - '0');
            if (width > INT_MAX) width = INT_MAX;
        }
        // A zero width is taken as none, as glibc does.
        d.width = width == 0 ? -1 : width;
    }
    switch (code(*f)) {
    case 'h':
        ++f;
        d.length = Length::kH;
        if (code(*f) == 'h') {
            ++f;
            d.length = Length::kHH;
        }
        break;
    case 'l':
        ++f;
        d.length = Length::kL;
        if (code(*f) == 'l') {
            ++f;
            d.length = Length::kLL;
        }
        break;
    case 'L': ++f; d.length = Length::kBigL; break;
    case 'j': ++f; d.length = Length::kJ; break;
    case 'z': ++f; d.length = Length::kZ; break;
    case 't': ++f; d.length = Length::kT; break;
    case 'w': ++f; d.length = Length::kW; break;
    case 'I':
        ++f;
        if (code(f[0]) == '3' && code(f[1]) == '2') {
            f += 2;
            d.length = Length::kI32;
        } else if (code(f[0]) == '6' && code(f[1]) == '4') {
            f += 2;
            d.length = Length::kI64;
        } else {
            d.length = Length::kIPtr;
        }
        break;
    default: break;
    }
    d.conversion = code(*f);
    const Length len = d.length;
    const bool integer_length = len != Length::kW;
    const bool text_length = len == Length::kNone || len == Length::kH || len == Length::kL ||
                             len == Length::kW;
    const bool float_length = len == Length::kNone || len == Length::kL || len == Length::kBigL;
    bool valid = false;
    switch (d.conversion) {
    case 'd': case 'i': case 'u': case 'o': case 'x': case 'X': case 'n':
        valid = integer_length;
        break;
    case 'a': case 'e': case 'f': case 'g': case 'A': case 'E': case 'F': case 'G':
        valid = float_length;
        break;
    case 'c': case 's': case 'C': case 'S':
        valid = text_length;
        break;
    case 'p':
        valid = len == Length::kNone;
        break;
    case '[': {
        if (!text_length) return nullptr;
        ++f;
        if (code(*f) == '^') {
            d.set_negated = true;
            ++f;
        }
        d.set_begin = f;
        if (code(*f) == ']') ++f;  // a leading ']' belongs to the set
        while (code(*f) != ']') {
            if (code(*f) == 0) return nullptr;
            ++f;
        }
        d.set_end = f;
        return f + 1;
    }
    default:
        break;
    }
    return valid ? f + 1 : nullptr;
}

template <typename CharT>
Outcome Scanner<CharT>::execute(const Directive<CharT>& d) {
    Outcome outcome = Outcome::kOk;
    const bool narrow_engine = std::is_same_v<CharT, char>;
    // Which width of text "%c"/"%s"/"%[" store; "%C"/"%S" the other one.
    bool wide_text = !narrow_engine;
    if (d.conversion == 'C' || d.conversion == 'S') wide_text = narrow_engine;
    if (d.length == Length::kH) wide_text = false;
    if (d.length == Length::kL || d.length == Length::kW) wide_text = true;

    switch (d.conversion) {
    case '%':
        outcome = skip_space();
        if (outcome == Outcome::kOk) outcome = match_literal('%');
        return outcome;
    case 'n':
        if (!d.suppress) store_count(d);
        return Outcome::kOk;
    case 'd': case 'i': case 'u': case 'o': case 'x': case 'X':
        outcome = scan_integer(d);
        break;
    case 'a': case 'e': case 'f': case 'g': case 'A': case 'E': case 'F': case 'G':
        outcome = scan_float(d);
        break;
    case 'p':
        outcome = scan_pointer(d);
        break;
    default:  // c s [ C S
        outcome = wide_text ? scan_text<wchar_t>(d) : scan_text<char>(d);
        break;
    }
    if (outcome == Outcome::kOk) {
        converted_ = true;
        if (!d.suppress) ++assigned_;
    }
    return outcome;
}

// Reads an integer field as strtol/strtoul would read it (base 0: by
// prefix). Fails unless at least one digit was read after any "0x".
template <typename CharT>
Outcome Scanner<CharT>::read_integer(long long width, int base, bool& negative,
                                     std::uint64_t& magnitude, bool& overflow) {
    negative = false;
    magnitude = 0;
    overflow = false;
    if (skip_space() != Outcome::kOk) return Outcome::kInputFailure;
    Field field(*this, width);
    long c = field.next();
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = field.next();
    }
    bool digits = false;
    if ((base == 0 || base == 16) && c == '0') {
        digits = true;
        c = field.next();
        if (c == 'x' || c == 'X') {
            base = 16;
            digits = false;  // "0x" needs a digit after it
            c = field.next();
        } else if (base == 0) {
            base = 8;
        }
    }
    if (base == 0) base = 10;
    const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
    for (int d; (d = digit_value(c, base)) >= 0; c = field.next()) {
        digits = true;
        const auto b = static_cast<std::uint64_t>(base);
        if (magnitude > (limit - static_cast<std::uint64_t>(d)) / b) {
            overflow = true;
        } else {
            magnitude = magnitude * b + static_cast<std::uint64_t>(d);
        }
    }
    field.finish(c);
    return digits ? Outcome::kOk : Outcome::kMatchingFailure;
}

template <typename CharT>
Outcome Scanner<CharT>::scan_integer(const Directive<CharT>& d) {
    int base = 10;
    switch (d.conversion) {
    case 'i': base = 0; break;
    case 'o': base = 8; break;
    case 'x': case 'X': base = 16; break;
    default: break;
    }
    bool negative;
    std::uint64_t magnitude;
    bool overflow;
    const Outcome outcome = read_integer(d.width, base, negative, magnitude, overflow);
    if (outcome != Outcome::kOk || d.suppress) return outcome;

    using SignedSize = std::make_signed_t<std::size_t>;
    using UnsignedDiff = std::make_unsigned_t<std::ptrdiff_t>;
    static_assert(sizeof(int) == 4 && sizeof(long long) == 8, "I32/I64 map to int/long long");
    const bool is_signed = d.conversion == 'd' || d.conversion == 'i';
    switch (d.length) {
    case Length::kHH:
        is_signed ? store_integer<signed char>(negative, magnitude, overflow)
                  : store_integer<unsigned char>(negative, magnitude, overflow);
        break;
    case Length::kH:
        is_signed ? store_integer<short>(negative, magnitude, overflow)
                  : store_integer<unsigned short>(negative, magnitude, overflow);
        break;
    case Length::kL:
        is_signed ? store_integer<long>(negative, magnitude, overflow)
                  : store_integer<unsigned long>(negative, magnitude, overflow);
        break;
    case Length::kLL: case Length::kBigL: case Length::kI64:
        is_signed ? store_integer<long long>(negative, magnitude, overflow)
                  : store_integer<unsigned long long>(negative, magnitude, overflow);
        break;
    case Length::kJ:
        is_signed ? store_integer<std::intmax_t>(negative, magnitude, overflow)
                  : store_integer<std::uintmax_t>(negative, magnitude, overflow);
        break;
    case Length::kZ: case Length::kIPtr:
        is_signed ? store_integer<SignedSize>(negative, magnitude, overflow)
                  : store_integer<std::size_t>(negative, magnitude, overflow);
        break;
    case Length::kT:
        is_signed ? store_integer<std::ptrdiff_t>(negative, magnitude, overflow)
                  : store_integer<UnsignedDiff>(negative, magnitude, overflow);
        break;
    default:  // none, I32
        is_signed ? store_integer<int>(negative, magnitude, overflow)
                  : store_integer<unsigned>(negative, magnitude, overflow);
        break;
    }
    return Outcome::kOk;
}

template <typename CharT>
void Scanner<CharT>::store_count(const Directive<CharT>& d) {
    const auto count = static_cast<std::uint64_t>(read_);
    switch (d.length) {
    case Length::kHH: store_integer<signed char>(false, count, false); break;
    case Length::kH: store_integer<short>(false, count, false); break;
    case Length::kL: store_integer<long>(false, count, false); break;
    case Length::kLL: case Length::kBigL: case Length::kI64:
        store_integer<long long>(false, count, false);
        break;
    case Length::kJ: store_integer<std::intmax_t>(false, count, false); break;
    case Length::kZ: case Length::kIPtr:
        store_integer<std::make_signed_t<std::size_t>>(false, count, false);
        break;
    case Length::kT: store_integer<std::ptrdiff_t>(false, count, false); break;
    default: store_integer<int>(false, count, false); break;
    }
}

template <typename CharT>
Outcome Scanner<CharT>::scan_pointer(const Directive<CharT>& d) {
    bool negative;
    std::uint64_t magnitude;
    bool overflow;
    const Outcome outcome = read_integer(d.width, 16, negative, magnitude, overflow);
    if (outcome != Outcome::kOk || d.suppress) return outcome;
    const auto address = saturate<std::uintptr_t>(negative, magnitude, overflow);
    *va_arg(args_, void**) = reinterpret_cast<void*>(address);
    return Outcome::kOk;
}

// Collects the longest prefix of a floating-point number (strtod's forms);
// whether it is a complete one is for parse_double to say.
template <typename CharT>
Outcome Scanner<CharT>::read_float(long long width, std::string& text) {
    if (skip_space() != Outcome::kOk) return Outcome::kInputFailure;
    Field field(*this, width);
    long c = field.next();
    auto take = [&] {
        text.push_back(static_cast<char>(c));
        c = field.next();
    };
    // Keeps the character that completes the number without reading on, so
    // that an interactive input is not waited for needlessly.
    auto take_last = [&] {
        text.push_back(static_cast<char>(c));
        c = kWidthReached;
    };
    auto lower = [&] { return c < 0 ? 0ul : ascii_lower(static_cast<unsigned long>(c)); };
    auto is_decimal = [&] { return c >= '0' && c <= '9'; };
    if (c == '+' || c == '-') take();
    if (lower() == 'i') {
        static constexpr char kWord[] = "infinity";
        for (std::size_t k = 0; k < 8 && lower() == static_cast<unsigned char>(kWord[k]); ++k) {
            k == 7 ? take_last() : take();
        }
    } else if (lower() == 'n') {
        static constexpr char kWord[] = "nan";
        std::size_t k = 0;
        for (; k < 3 && lower() == static_cast<unsigned char>(kWord[k]); ++k) take();
        if (k == 3 && c == '(') {
            take();
            while (is_decimal() || c == '_' || (lower() >= 'a' && lower() <= 'z')) take();
            if (c == ')') take_last();
        }
    } else {
        bool hex = false;
        bool digits = false;
        auto is_digit = [&] {
            return hex ? digit_value(c, 16) >= 0 : is_decimal();
        };
        if (c == '0') {
            take();
            digits = true;
            if (lower() == 'x') {
                take();
                hex = true;
                digits = false;
            }
        }
        for (; is_digit(); take()) digits = true;
        if (c == '.') {
            take();
            for (; is_digit(); take()) digits = true;
        }
        if (digits && lower() == (hex ? 'p' : 'e')) {
            take();
            if (c == '+' || c == '-') take();
            while (is_decimal()) take();
        }
    }
    field.finish(c);
    return Outcome::kOk;
}

template <typename CharT>
Outcome Scanner<CharT>::scan_float(const Directive<CharT>& d) {
    std::string text;
    const Outcome outcome = read_float(d.width, text);
    if (outcome != Outcome::kOk) return outcome;
    const bool single = d.length == Length::kNone;
    const FloatParse parsed = single ? parse_single(text.c_str()) : parse_double(text.c_str());
    if (text.empty() || parsed.consumed != text.size()) return Outcome::kMatchingFailure;
    if (parsed.range_error) errno = ERANGE;
    if (d.suppress) return Outcome::kOk;
    if (single) {
        *va_arg(args_, float*) = static_cast<float>(parsed.value);
    } else if (d.length == Length::kBigL && !abi::kLongDoubleIsDouble) {
        // Only the host build has a wider long double; the double result is
        // what it gets.
        *va_arg(args_, long double*) = parsed.value;
    } else {
        *va_arg(args_, double*) = parsed.value;
    }
    return Outcome::kOk;
}

// A '-' that is neither first nor last in the set stands for the range
// from the character before it to the one after it, whatever part those
// play themselves ("a-c-e" is a to e); a backward range is just a '-'.
// The C standard leaves this to the implementation; it is glibc's reading.
template <typename CharT>
bool Scanner<CharT>::in_set(const Directive<CharT>& d, long c) const {
    const auto value = static_cast<unsigned long>(c);
    bool found = false;
    for (const CharT* p = d.set_begin; p < d.set_end && !found; ++p) {
        const unsigned long here = code(*p);
        if (here == '-' && p > d.set_begin && p + 1 < d.set_end &&
            code(p[-1]) <= code(p[1])) {
            found = value >= code(p[-1]) && value <= code(p[1]);
        } else {
            found = value == here;
        }
    }
    return found != d.set_negated;
}

template <typename CharT>
template <typename DestT>
Outcome Scanner<CharT>::scan_text(const Directive<CharT>& d) {
    DestT* out = d.suppress ? nullptr : va_arg(args_, DestT*);
    const unsigned long conversion = ascii_lower(d.conversion);
    const bool chars = conversion == 'c';
    if (conversion == 's' && skip_space() != Outcome::kOk) return Outcome::kInputFailure;
    Field field(*this, chars && d.width < 0 ? 1 : d.width);
    long long count = 0;
    Outcome outcome = Outcome::kOk;
    for (;;) {
        const long c = field.next();
        if (c == kWidthReached) break;
        if (c == kEnd) {
            // A "%c" field is exactly its width long: cut short, it fails.
            if (count == 0) outcome = Outcome::kInputFailure;
            else if (chars) outcome = Outcome::kMatchingFailure;
            break;
        }
        const bool belongs = conversion == 'c'   ? true
                             : conversion == 's' ? !is_space(static_cast<unsigned long>(c))
                                                 : in_set(d, c);
        if (!belongs) {
            unget(c);
            if (count == 0) outcome = Outcome::kMatchingFailure;
            break;
        }
        if constexpr (std::is_same_v<DestT, char>) {
            if (c > UCHAR_MAX) {  // only reachable from wide input
                unget(c);
                errno = EILSEQ;
                outcome = Outcome::kMatchingFailure;
                break;
            }
        }
        if (out != nullptr) {
            if constexpr (std::is_same_v<DestT, char>) {
                out[count] = static_cast<char>(static_cast<unsigned char>(c));
            } else {
                out[count] = static_cast<wchar_t>(c);
            }
        }
        ++count;
    }
    // A partial string is still terminated: the buffer was sized for the
    // width plus one, and count never exceeds the width.
    if (out != nullptr && !chars && count > 0) out[count] = DestT{};
    return outcome;
}

}  // namespace

int vscan(InputSource<char>& in, const char* format, va_list args) {
    if (format == nullptr) {
        errno = EINVAL;
        return EOF;
    }
    return Scanner<char>(in, args).run(format);
}

int vscan(InputSource<wchar_t>& in, const wchar_t* format, va_list args) {
    if (format == nullptr) {
        errno = EINVAL;
        return EOF;
    }
    return Scanner<wchar_t>(in, args).run(format);
}

}  // namespace numerio
