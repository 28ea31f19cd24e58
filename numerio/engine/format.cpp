// The printf engine. One template serves the narrow and the wide entry
// points; digits are always produced as ASCII `char` and widened on the way
// out, so the numeric code exists once.
//
// Floating-point digits come from <charconv>, which is exact and never looks
// at the locale. Everything else (layout, padding, %a) is done here.

#include "format.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <type_traits>

#include "abi.h"

namespace numerio {
namespace {

constexpr std::uint64_t kMaxCount = INT_MAX;

// A double is an integer multiple of 2^-1074, so its decimal expansion stops
// at most 1074 places after the point and holds at most 767 significant
// digits. Past those limits every digit is zero: <charconv> is never asked
// for more, and the zeros are written as padding. This is what keeps
// "%.100000f" from needing a 100 KB buffer.
constexpr int kMaxFractionDigits = 1074;
constexpr int kMaxSignificantDigits = 780;
// Room for "d.ddd...e+XXX" with kMaxSignificantDigits after the point.
constexpr std::size_t kScientificBuffer = kMaxSignificantDigits + 16;
// Either the 309 integer digits of DBL_MAX, the point and the longest
// fraction, or %g's digits beside the layout built from them.
constexpr std::size_t kFloatBuffer = 2 * kScientificBuffer > 309 + 1 + kMaxFractionDigits + 16
                                         ? 2 * kScientificBuffer
                                         : 309 + 1 + kMaxFractionDigits + 16;

// Output is gathered here and handed to the sink in large pieces: a virtual
// call per conversion piece would cost more than the formatting of a short
// number.
constexpr std::size_t kStageSize = 256;

constexpr char kLowerHex[] = "0123456789abcdef";
constexpr char kUpperHex[] = "0123456789ABCDEF";

struct DigitPairs {
    char text[200];
    constexpr DigitPairs() : text() {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr DigitPairs kDigitPairs;

// A character of another width, converted by value: a narrow byte counts as
// unsigned, and a wide character reaches a narrow output only after
// `fits_in` has vouched for it.
template <typename To, typename From>
constexpr To convert_char(From c) {
    return static_cast<To>(static_cast<std::make_unsigned_t<From>>(c));
}

template <typename To, typename From>
bool fits_in(const From* text, std::size_t count) {
    if constexpr (sizeof(From) > sizeof(To)) {
        for (std::size_t i = 0; i < count; ++i) {
            if (static_cast<std::make_unsigned_t<From>>(text[i]) > 0xFF) return false;
        }
    }
    return true;
}

template <typename CharT>
class Output {
public:
    explicit Output(OutputSink<CharT>& sink) : sink_(sink) {}

    std::uint64_t count() const { return count_; }
    int error() const { return error_; }

    void fail(int code) {
        if (error_ == 0) error_ = code;
    }

    // Every piece of output is accounted for before any of it is produced,
    // so a conversion that would take the count past INT_MAX writes nothing
    // at all instead of pushing gigabytes into the sink first.
    bool admit(std::uint64_t n) {
        if (n > kMaxCount - count_) {
            fail(EOVERFLOW);
            return false;
        }
        count_ += n;
        return true;
    }

    template <typename SrcT>
    void put(const SrcT* text, std::size_t n) {
        if constexpr (std::is_same_v<SrcT, CharT>) {
            if (n > kStageSize - used_) {
                flush();
                if (n >= kStageSize) {
                    send(text, n);
                    return;
                }
            }
            std::memcpy(stage_ + used_, text, n * sizeof(CharT));
            used_ += n;
        } else {
            while (n > 0) {
                if (used_ == kStageSize) flush();
                std::size_t take = kStageSize - used_;
                if (take > n) take = n;
                for (std::size_t i = 0; i < take; ++i) {
                    stage_[used_ + i] = convert_char<CharT>(text[i]);
                }
                used_ += take;
                text += take;
                n -= take;
            }
        }
    }

    void put(CharT c) {
        if (used_ == kStageSize) flush();
        stage_[used_++] = c;
    }

    void fill(CharT c, std::uint64_t n) {
        if (n >= 2 * kStageSize) {
            // Wide padding: one full stage of `c`, sent as often as it fits.
            flush();
            for (std::size_t i = 0; i < kStageSize; ++i) stage_[i] = c;
            for (; n >= kStageSize && !sink_broken_; n -= kStageSize) send(stage_, kStageSize);
            if (sink_broken_) return;
        }
        while (n > 0) {
            if (used_ == kStageSize) flush();
            std::size_t take = kStageSize - used_;
            if (take > n) take = static_cast<std::size_t>(n);
            for (std::size_t i = 0; i < take; ++i) stage_[used_ + i] = c;
            used_ += take;
            n -= take;
        }
    }

    // Also called after a conversion error: what came before the failing
    // conversion still reaches the sink, as it would without the staging.
    void flush() {
        if (used_ > 0) send(stage_, used_);
        used_ = 0;
    }

private:
    // A sink that knows why it refused (a stream that cannot encode a
    // character, or takes no text of this width) says so through errno, and
    // that reason is the one reported; a silent refusal is an I/O error. The
    // caller's errno is left alone otherwise.
    void send(const CharT* text, std::size_t n) {
        if (sink_broken_) return;
        const int saved = errno;
        errno = 0;
        const bool written = sink_.write(text, n);
        const int reason = errno;
        errno = saved;
        if (!written) {
            sink_broken_ = true;
            fail(reason != 0 ? reason : EIO);
        }
    }

    OutputSink<CharT>& sink_;
    std::uint64_t count_ = 0;
    int error_ = 0;
    bool sink_broken_ = false;
    std::size_t used_ = 0;
    CharT stage_[kStageSize];
};

enum class Length { kNone, kHH, kH, kL, kLL, kLongDouble, kJ, kZ, kT, kI32, kI64, kPtr, kW };

// One "%..." as parsed: flags, width, precision, length and conversion.
struct Directive {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alt = false;
    bool zero = false;
    std::uint64_t width = 0;
    std::int64_t precision = -1;  // -1: none given
    Length length = Length::kNone;
    char conv = 0;
};

// A conversion's text as pieces: the padding is worked out from their sizes,
// and long runs of zeros are never materialised.
struct Pieces {
    const char* prefix = "";  // sign, "0x"
    std::size_t prefix_len = 0;
    std::uint64_t lead_zeros = 0;  // integer precision, '0'-flag padding
    const char* body = "";
    std::size_t body_len = 0;
    std::uint64_t trail_zeros = 0;  // fraction digits past a double's last non-zero one
    const char* tail = "";          // "." forced by '#', the exponent
    std::size_t tail_len = 0;
    bool zero_pad = false;  // the '0' flag applies
};

struct Args {
    va_list ap;
};

// Digits of `value` written backwards, ending at `end`; returns their start.
inline char* unsigned_digits(std::uint64_t value, unsigned base, bool upper, char* end) {
    char* p = end;
    if (base == 10) {
        while (value > 0xFFFFFFFFu) {
            *--p = static_cast<char>('0' + value % 10);
            value /= 10;
        }
        // 32-bit division is much cheaper on the 32-bit target.
        auto v = static_cast<std::uint32_t>(value);
        while (v >= 100) {
            const char* pair = kDigitPairs.text + 2 * (v % 100);
            v /= 100;
            *--p = pair[1];
            *--p = pair[0];
        }
        if (v >= 10) {
            const char* pair = kDigitPairs.text + 2 * v;
            *--p = pair[1];
            *--p = pair[0];
        } else {
            *--p = static_cast<char>('0' + v);
        }
        return p;
    }
    const char* digits = upper ? kUpperHex : kLowerHex;
    const unsigned shift = base == 16 ? 4 : 3;
    do {
        *--p = digits[value & (base - 1)];
        value >>= shift;
    } while (value != 0);
    return p;
}

inline bool is_digit(long c) { return c >= '0' && c <= '9'; }

template <typename CharT>
class Engine {
public:
    Engine(OutputSink<CharT>& sink, Args& args) : out_(sink), args_(args) {}

    int run(const CharT* format) {
        const CharT* p = format;
        for (;;) {
            const CharT* literal = p;
            while (*p != CharT('%') && *p != CharT(0)) ++p;
            if (p != literal) {
                auto n = static_cast<std::size_t>(p - literal);
                if (!out_.admit(n)) break;
                out_.put(literal, n);
            }
            if (*p == CharT(0)) break;
            p = conversion(p);
            if (out_.error() != 0) break;
        }
        out_.flush();
        if (out_.error() != 0) {
            errno = out_.error();
            return -1;
        }
        return static_cast<int>(out_.count());
    }

private:
    using WideT = wchar_t;

    template <typename T>
    T arg() {
        return va_arg(args_.ap, T);
    }

    // Parses and performs the conversion starting at the '%' at `start`;
    // returns where the literal text resumes.
    const CharT* conversion(const CharT* start) {
        const CharT* p = start + 1;
        Directive dir;
        for (;; ++p) {
            if (*p == CharT('-')) dir.left = true;
            else if (*p == CharT('+')) dir.plus = true;
            else if (*p == CharT(' ')) dir.space = true;
            else if (*p == CharT('#')) dir.alt = true;
            else if (*p == CharT('0')) dir.zero = true;
            else break;
        }
        bool too_big = false;
        if (*p == CharT('*')) {
            ++p;
            int w = arg<int>();
            if (w < 0) {
                dir.left = true;
                dir.width = static_cast<std::uint64_t>(-static_cast<std::int64_t>(w));
            } else {
                dir.width = static_cast<std::uint64_t>(w);
            }
        } else {
            p = number(p, dir.width);
        }
        if (dir.width > kMaxCount) too_big = true;
        if (*p == CharT('.')) {
            ++p;
            if (*p == CharT('*')) {
                ++p;
                int v = arg<int>();
                dir.precision = v < 0 ? -1 : v;
            } else {
                std::uint64_t v = 0;
                p = number(p, v);
                if (v > kMaxCount) too_big = true;
                dir.precision = static_cast<std::int64_t>(v > kMaxCount ? kMaxCount : v);
            }
        }
        p = length(p, dir.length);

        const CharT c = *p;
        if (c == CharT(0)) {
            // The format ends inside a conversion: it is shown as written.
            literal(start, p);
            return p;
        }
        ++p;
        if (static_cast<std::make_unsigned_t<CharT>>(c) < 128) dir.conv = static_cast<char>(c);
        if (too_big && dir.conv != '%') {
            out_.fail(EOVERFLOW);
            return p;
        }
        switch (dir.conv) {
            case 'd':
            case 'i':
                signed_conversion(dir);
                break;
            case 'u':
            case 'o':
            case 'x':
            case 'X':
                unsigned_conversion(dir);
                break;
            case 'c':
            case 'C':
                char_conversion(dir);
                break;
            case 's':
            case 'S':
                string_conversion(dir);
                break;
            case 'e':
            case 'E':
            case 'f':
            case 'F':
            case 'g':
            case 'G':
            case 'a':
            case 'A':
                float_conversion(dir, float_arg(dir.length));
                break;
            case 'p':
                pointer_conversion(dir);
                break;
            case 'n':
                store_count(dir.length);
                break;
            case '%':
                if (out_.admit(1)) out_.put(CharT('%'));
                break;
            default:
                literal(start, p);
                break;
        }
        return p;
    }

    void literal(const CharT* first, const CharT* last) {
        auto n = static_cast<std::size_t>(last - first);
        if (out_.admit(n)) out_.put(first, n);
    }

    // Decimal digits, saturating far above INT_MAX so that the caller can
    // still tell an overflow.
    static const CharT* number(const CharT* p, std::uint64_t& value) {
        while (is_digit(static_cast<long>(*p))) {
            if (value <= kMaxCount) value = value * 10 + static_cast<unsigned>(*p - CharT('0'));
            ++p;
        }
        return p;
    }

    static const CharT* length(const CharT* p, Length& len) {
        switch (static_cast<long>(*p)) {
            case 'h':
                if (p[1] == CharT('h')) {
                    len = Length::kHH;
                    return p + 2;
                }
                len = Length::kH;
                return p + 1;
            case 'l':
                if (p[1] == CharT('l')) {
                    len = Length::kLL;
                    return p + 2;
                }
                len = Length::kL;
                return p + 1;
            case 'L':
                len = Length::kLongDouble;
                return p + 1;
            case 'j':
                len = Length::kJ;
                return p + 1;
            case 'z':
                len = Length::kZ;
                return p + 1;
            case 't':
                len = Length::kT;
                return p + 1;
            case 'w':
                len = Length::kW;
                return p + 1;
            case 'I':
                // Each p[k] is read only after p[k-1] proved not to be the
                // terminator.
                if (p[1] == CharT('6') && p[2] == CharT('4')) {
                    len = Length::kI64;
                    return p + 3;
                }
                if (p[1] == CharT('3') && p[2] == CharT('2')) {
                    len = Length::kI32;
                    return p + 3;
                }
                len = Length::kPtr;
                return p + 1;
            default:
                return p;
        }
    }

    std::int64_t signed_arg(Length len) {
        switch (len) {
            case Length::kHH:
                return static_cast<signed char>(arg<int>());
            case Length::kH:
                return static_cast<short>(arg<int>());
            case Length::kL:
                return arg<long>();
            case Length::kLL:
            case Length::kLongDouble:
            case Length::kI64:
                return arg<long long>();
            case Length::kJ:
                return arg<std::intmax_t>();
            case Length::kZ:
                return arg<std::make_signed_t<std::size_t>>();
            case Length::kT:
                return arg<std::ptrdiff_t>();
            case Length::kPtr:
                return arg<std::intptr_t>();
            default:
                return arg<int>();
        }
    }

    std::uint64_t unsigned_arg(Length len) {
        switch (len) {
            case Length::kHH:
                return static_cast<unsigned char>(arg<int>());
            case Length::kH:
                return static_cast<unsigned short>(arg<int>());
            case Length::kL:
                return arg<unsigned long>();
            case Length::kLL:
            case Length::kLongDouble:
            case Length::kI64:
                return arg<unsigned long long>();
            case Length::kJ:
                return arg<std::uintmax_t>();
            case Length::kZ:
                return arg<std::size_t>();
            case Length::kT:
                return arg<std::make_unsigned_t<std::ptrdiff_t>>();
            case Length::kPtr:
                return arg<std::uintptr_t>();
            default:
                return arg<unsigned>();
        }
    }

    double float_arg(Length len) {
        if constexpr (!abi::kLongDoubleIsDouble) {
            if (len == Length::kLongDouble) return static_cast<double>(arg<long double>());
        }
        return arg<double>();
    }

    // A wide character argument arrives as wint_t after the default
    // promotions; where wint_t is narrower than int (16-bit wchar_t) that
    // means an int.
    WideT wide_char_arg() {
        if constexpr (sizeof(std::wint_t) < sizeof(int)) {
            return static_cast<WideT>(arg<int>());
        } else {
            return static_cast<WideT>(arg<std::wint_t>());
        }
    }

    void signed_conversion(const Directive& dir) {
        std::int64_t value = signed_arg(dir.length);
        bool negative = value < 0;
        std::uint64_t magnitude =
            negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        const char* sign = negative ? "-" : dir.plus ? "+" : dir.space ? " " : "";
        integer(dir, magnitude, sign, *sign != '\0' ? 1 : 0, 10);
    }

    void unsigned_conversion(const Directive& dir) {
        std::uint64_t value = unsigned_arg(dir.length);
        unsigned base = dir.conv == 'u' ? 10 : dir.conv == 'o' ? 8 : 16;
        const bool marked = dir.alt && value != 0 && base == 16;
        integer(dir, value, dir.conv == 'x' ? "0x" : "0X", marked ? 2 : 0, base);
    }

    void integer(const Directive& dir, std::uint64_t value, const char* prefix, std::size_t prefix_len,
                 unsigned base) {
        char buffer[24];
        char* end = buffer + sizeof buffer;
        char* digits = end;
        // An explicit zero precision prints no digits for zero.
        if (value != 0 || dir.precision != 0) digits = unsigned_digits(value, base, dir.conv == 'X', end);
        auto count = static_cast<std::size_t>(end - digits);

        Pieces pieces;
        pieces.prefix = prefix;
        pieces.prefix_len = prefix_len;
        if (dir.precision > static_cast<std::int64_t>(count)) {
            pieces.lead_zeros = static_cast<std::uint64_t>(dir.precision) - count;
        }
        // '#' with octal: the first digit must be a zero.
        if (base == 8 && dir.alt && pieces.lead_zeros == 0 && (count == 0 || *digits != '0')) {
            pieces.lead_zeros = 1;
        }
        pieces.body = digits;
        pieces.body_len = count;
        pieces.zero_pad = dir.precision < 0;
        emit(dir, pieces);
    }

    void pointer_conversion(const Directive& dir) {
        auto value = reinterpret_cast<std::uintptr_t>(arg<void*>());
        char buffer[abi::kPointerHexDigits];
        for (int i = abi::kPointerHexDigits - 1; i >= 0; --i) {
            buffer[i] = kUpperHex[value & 0xF];
            value >>= 4;
        }
        Pieces pieces;
        pieces.body = buffer;
        pieces.body_len = sizeof buffer;
        emit(dir, pieces);
    }

    void store_count(Length len) {
        // The count never exceeds INT_MAX, so it fits every target but the
        // narrow ones, which receive it truncated as the C library does.
        const auto n = static_cast<long long>(out_.count());
        switch (len) {
            case Length::kHH:
                *arg<signed char*>() = static_cast<signed char>(n);
                break;
            case Length::kH:
                *arg<short*>() = static_cast<short>(n);
                break;
            case Length::kL:
                *arg<long*>() = static_cast<long>(n);
                break;
            case Length::kLL:
            case Length::kLongDouble:
            case Length::kI64:
                *arg<long long*>() = n;
                break;
            case Length::kJ:
                *arg<std::intmax_t*>() = n;
                break;
            case Length::kZ:
                *arg<std::size_t*>() = static_cast<std::size_t>(n);
                break;
            case Length::kT:
                *arg<std::ptrdiff_t*>() = static_cast<std::ptrdiff_t>(n);
                break;
            case Length::kPtr:
                *arg<std::intptr_t*>() = static_cast<std::intptr_t>(n);
                break;
            default:
                *arg<int*>() = static_cast<int>(n);
                break;
        }
    }

    // Whether a %c/%s argument is wide: 'h' says narrow, 'l'/'w' say wide,
    // otherwise the lower-case letter means this engine's own width and the
    // upper-case one the other width.
    bool wide_argument(const Directive& dir) const {
        if (dir.length == Length::kH) return false;
        if (dir.length == Length::kL || dir.length == Length::kW) return true;
        bool own = dir.conv == 'c' || dir.conv == 's';
        return own == std::is_same_v<CharT, wchar_t>;
    }

    void char_conversion(const Directive& dir) {
        if (wide_argument(dir)) {
            WideT c = wide_char_arg();
            text(dir, &c, 1);
        } else {
            char c = static_cast<char>(arg<int>());
            text(dir, &c, 1);
        }
    }

    void string_conversion(const Directive& dir) {
        if (wide_argument(dir)) {
            string(dir, arg<const WideT*>());
        } else {
            string(dir, arg<const char*>());
        }
    }

    template <typename SrcT>
    void string(const Directive& dir, const SrcT* s) {
        if (s == nullptr) {
            // A short precision would cut "(null)" into nonsense, so it
            // prints nothing instead.
            if (dir.precision < 0 || dir.precision >= 6) {
                text(dir, "(null)", 6);
            } else {
                text(dir, "", 0);
            }
            return;
        }
        // With a precision the array need not be terminated: never look
        // beyond what may be printed.
        std::size_t n = 0;
        if (dir.precision < 0) {
            while (s[n] != SrcT(0)) ++n;
        } else {
            const auto limit = static_cast<std::uint64_t>(dir.precision);
            while (n < limit && s[n] != SrcT(0)) ++n;
        }
        text(dir, s, n);
    }

    template <typename SrcT>
    void text(const Directive& dir, const SrcT* s, std::size_t n) {
        if (!fits_in<CharT>(s, n)) {
            out_.fail(EILSEQ);
            return;
        }
        std::uint64_t pad = dir.width > n ? dir.width - n : 0;
        if (!out_.admit(n + pad)) return;
        if (!dir.left) out_.fill(CharT(' '), pad);
        out_.put(s, n);
        if (dir.left) out_.fill(CharT(' '), pad);
    }

    void emit(const Directive& dir, Pieces pieces) {
        const std::uint64_t len = pieces.prefix_len + pieces.lead_zeros + pieces.body_len +
                                  pieces.trail_zeros + pieces.tail_len;
        std::uint64_t pad = dir.width > len ? dir.width - len : 0;
        if (!out_.admit(len + pad)) return;
        if (pad > 0 && dir.zero && !dir.left && pieces.zero_pad) {
            pieces.lead_zeros += pad;
            pad = 0;
        }
        if (!dir.left) out_.fill(CharT(' '), pad);
        out_.put(pieces.prefix, pieces.prefix_len);
        out_.fill(CharT('0'), pieces.lead_zeros);
        out_.put(pieces.body, pieces.body_len);
        out_.fill(CharT('0'), pieces.trail_zeros);
        out_.put(pieces.tail, pieces.tail_len);
        if (dir.left) out_.fill(CharT(' '), pad);
    }

    void float_conversion(const Directive& dir, double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        const bool upper = dir.conv >= 'A' && dir.conv <= 'Z';
        const char lower = static_cast<char>(dir.conv | 0x20);

        char prefix[3];
        Pieces pieces;
        pieces.prefix = prefix;
        // The sign bit decides, so -0.0 and a negative NaN print a minus.
        if (bits >> 63) prefix[pieces.prefix_len++] = '-';
        else if (dir.plus) prefix[pieces.prefix_len++] = '+';
        else if (dir.space) prefix[pieces.prefix_len++] = ' ';
        bits &= ~(std::uint64_t{1} << 63);
        std::memcpy(&value, &bits, sizeof bits);

        if ((bits >> 52) == 0x7FF) {
            const bool nan = (bits & ((std::uint64_t{1} << 52) - 1)) != 0;
            pieces.body = nan ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
            pieces.body_len = 3;
            emit(dir, pieces);
            return;
        }
        pieces.zero_pad = true;

        char buffer[kFloatBuffer];
        char tail[8];
        pieces.tail = tail;
        switch (lower) {
            case 'f':
                fixed(dir, value, buffer, tail, pieces);
                break;
            case 'e':
                scientific(dir, value, upper, buffer, tail, pieces);
                break;
            case 'g':
                general(dir, value, upper, buffer, tail, pieces);
                break;
            default:
                if (upper) {
                    prefix[pieces.prefix_len++] = '0';
                    prefix[pieces.prefix_len++] = 'X';
                } else {
                    prefix[pieces.prefix_len++] = '0';
                    prefix[pieces.prefix_len++] = 'x';
                }
                hexadecimal(dir, bits, upper, buffer, tail, pieces);
                break;
        }
        emit(dir, pieces);
    }

    static void fixed(const Directive& dir, double value, char* buffer, char* tail, Pieces& pieces) {
        const std::int64_t precision = dir.precision < 0 ? 6 : dir.precision;
        const int asked = precision > kMaxFractionDigits ? kMaxFractionDigits : static_cast<int>(precision);
        auto result = std::to_chars(buffer, buffer + kFloatBuffer, value, std::chars_format::fixed, asked);
        pieces.body = buffer;
        pieces.body_len = static_cast<std::size_t>(result.ptr - buffer);
        pieces.trail_zeros = static_cast<std::uint64_t>(precision - asked);
        if (precision == 0 && dir.alt) tail[pieces.tail_len++] = '.';
    }

    // Digits of `value` rounded to `precision` + 1 significant ones, written
    // as "d.ddd" (or "d") at `buffer`. Returns the decimal exponent and sets
    // `digits_end` and `exponent_text` (the "e+XX" <charconv> produced).
    static int significant(double value, int precision, char* buffer, char*& digits_end,
                           const char*& exponent_text, std::size_t& exponent_len) {
        auto result =
            std::to_chars(buffer, buffer + kScientificBuffer, value, std::chars_format::scientific, precision);
        char* e = result.ptr;
        while (*--e != 'e') {
        }
        digits_end = e;
        exponent_text = e;
        exponent_len = static_cast<std::size_t>(result.ptr - e);
        int exponent = 0;
        for (const char* p = e + 2; p < result.ptr; ++p) exponent = exponent * 10 + (*p - '0');
        return e[1] == '-' ? -exponent : exponent;
    }

    static void exponent_tail(const char* text, std::size_t len, bool upper, char* tail, Pieces& pieces) {
        tail[pieces.tail_len++] = upper ? 'E' : 'e';
        for (std::size_t i = 1; i < len; ++i) tail[pieces.tail_len++] = text[i];
    }

    static void scientific(const Directive& dir, double value, bool upper, char* buffer, char* tail, Pieces& pieces) {
        const std::int64_t precision = dir.precision < 0 ? 6 : dir.precision;
        const int asked =
            precision > kMaxSignificantDigits ? kMaxSignificantDigits : static_cast<int>(precision);
        char* digits_end;
        const char* exponent;
        std::size_t exponent_len;
        significant(value, asked, buffer, digits_end, exponent, exponent_len);
        pieces.body = buffer;
        pieces.body_len = static_cast<std::size_t>(digits_end - buffer);
        pieces.trail_zeros = static_cast<std::uint64_t>(precision - asked);
        if (precision == 0 && dir.alt) tail[pieces.tail_len++] = '.';
        exponent_tail(exponent, exponent_len, upper, tail, pieces);
    }

    // %g: P significant digits, shown as %f when the exponent X satisfies
    // -4 <= X < P and as %e otherwise; without '#' trailing fraction zeros
    // and a bare point go.
    static void general(const Directive& dir, double value, bool upper, char* buffer, char* tail, Pieces& pieces) {
        std::int64_t p = dir.precision < 0 ? 6 : dir.precision == 0 ? 1 : dir.precision;
        const int asked = p - 1 > kMaxSignificantDigits ? kMaxSignificantDigits : static_cast<int>(p - 1);
        // <charconv> writes "d.ddd...e+XX" into the back half of the buffer
        // and the layout is built in the front half.
        char* sci = buffer + kScientificBuffer;
        char* digits_end;
        const char* exponent;
        std::size_t exponent_len;
        const int x = significant(value, asked, sci, digits_end, exponent, exponent_len);
        const std::uint64_t missing_zeros = static_cast<std::uint64_t>(p - 1 - asked);

        // The significant digits, without the point: sci[0], sci[2..end).
        char* out = buffer;
        std::size_t fraction_start;
        if (x < p && x >= -4) {
            if (x >= 0) {
                *out++ = sci[0];
                const char* rest = sci + 2;
                for (int i = 0; i < x; ++i) *out++ = *rest++;
                fraction_start = static_cast<std::size_t>(out - buffer);
                *out++ = '.';
                while (rest < digits_end) *out++ = *rest++;
            } else {
                *out++ = '0';
                fraction_start = 1;
                *out++ = '.';
                for (int i = -1; i > x; --i) *out++ = '0';
                *out++ = sci[0];
                for (const char* rest = sci + 2; rest < digits_end; ++rest) *out++ = *rest;
            }
        } else {
            *out++ = sci[0];
            fraction_start = 1;
            *out++ = '.';
            for (const char* rest = sci + 2; rest < digits_end; ++rest) *out++ = *rest;
            exponent_tail(exponent, exponent_len, upper, tail, pieces);
        }
        // `out` is past the point (with no digits) even when <charconv>
        // wrote none.
        if (dir.alt) {
            pieces.trail_zeros = missing_zeros;
        } else {
            while (out > buffer + fraction_start + 1 && out[-1] == '0') --out;
            if (out == buffer + fraction_start + 1) --out;
        }
        pieces.body = buffer;
        pieces.body_len = static_cast<std::size_t>(out - buffer);
    }

    // %a from the bits: a leading 0 (zero, subnormal) or 1, up to 13 hex
    // digits, a binary exponent. A given precision rounds to nearest-even,
    // and a carry bumps the leading digit (0x1.f8p+0 at %.1a is 0x2.0p+0).
    static void hexadecimal(const Directive& dir, std::uint64_t bits, bool upper, char* buffer, char* tail,
                            Pieces& pieces) {
        constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << 52) - 1;
        std::uint64_t fraction = bits & kFractionMask;
        const int biased = static_cast<int>(bits >> 52);
        unsigned lead = biased == 0 ? 0 : 1;
        int exponent = biased == 0 ? (fraction == 0 ? 0 : -1022) : biased - 1023;

        int count;  // hex digits of `fraction` to show
        if (dir.precision < 0) {
            count = 13;
            while (count > 0 && (fraction & 0xF) == 0) {
                fraction >>= 4;
                --count;
            }
        } else if (dir.precision < 13) {
            count = static_cast<int>(dir.precision);
            const int shift = 4 * (13 - count);
            std::uint64_t kept = fraction >> shift;
            const std::uint64_t rest = fraction & ((std::uint64_t{1} << shift) - 1);
            const std::uint64_t half = std::uint64_t{1} << (shift - 1);
            const bool odd = ((count == 0 ? lead : kept) & 1) != 0;
            if (rest > half || (rest == half && odd)) {
                ++kept;
                if (kept == std::uint64_t{1} << (4 * count)) {
                    kept = 0;
                    ++lead;
                }
            }
            fraction = kept;
        } else {
            count = 13;
            pieces.trail_zeros = static_cast<std::uint64_t>(dir.precision - 13);
        }

        const char* digits = upper ? kUpperHex : kLowerHex;
        char* out = buffer;
        *out++ = static_cast<char>('0' + lead);
        if (count > 0 || dir.alt) *out++ = '.';
        for (int i = count - 1; i >= 0; --i) *out++ = digits[(fraction >> (4 * i)) & 0xF];
        pieces.body = buffer;
        pieces.body_len = static_cast<std::size_t>(out - buffer);

        tail[pieces.tail_len++] = upper ? 'P' : 'p';
        tail[pieces.tail_len++] = exponent < 0 ? '-' : '+';
        char number[8];
        char* end = number + sizeof number;
        char* first = unsigned_digits(static_cast<std::uint64_t>(exponent < 0 ? -exponent : exponent), 10, false, end);
        while (first < end) tail[pieces.tail_len++] = *first++;
    }

    Output<CharT> out_;
    Args& args_;
};

template <typename CharT>
int format_with(OutputSink<CharT>& out, const CharT* format, va_list args) {
    if (format == nullptr) {
        errno = EINVAL;
        return -1;
    }
    Args copy;
    va_copy(copy.ap, args);
    int result = Engine<CharT>(out, copy).run(format);
    va_end(copy.ap);
    return result;
}

}  // namespace

int vformat(OutputSink<char>& out, const char* format, va_list args) {
    return format_with(out, format, args);
}

int vformat(OutputSink<wchar_t>& out, const wchar_t* format, va_list args) {
    return format_with(out, format, args);
}

}  // namespace numerio
