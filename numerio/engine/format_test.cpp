// Edge cases of the printf engine with their expected text, run through the
// narrow and the wide entry points alike.

#include "format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "abi.h"

namespace {

template <typename CharT>
class VectorSink final : public numerio::OutputSink<CharT> {
public:
    bool write(const CharT* text, std::size_t count) override {
        text_.insert(text_.end(), text, text + count);
        return true;
    }
    std::vector<CharT> text_;
};

template <typename CharT>
struct Result {
    int value;
    std::basic_string<CharT> text;
    int error;  // errno after the call, 0 when it was not touched
};

template <typename CharT>
Result<CharT> vrun(const CharT* format, va_list args) {
    VectorSink<CharT> sink;
    errno = 0;
    int value = numerio::vformat(sink, format, args);
    int error = errno;
    return {value, std::basic_string<CharT>(sink.text_.begin(), sink.text_.end()), error};
}

Result<char> narrow(const char* format, ...) {
    va_list args;
    va_start(args, format);
    auto result = vrun(format, args);
    va_end(args);
    return result;
}

Result<wchar_t> wide(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    auto result = vrun(format, args);
    va_end(args);
    return result;
}

std::wstring widen(const std::string& s) {
    std::wstring w;
    for (char c : s) w += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return w;
}

std::string repeat(char c, std::size_t n) { return std::string(n, c); }

// Decimal digits of a non-negative integer held as text, times `factor`.
std::string times(const std::string& digits, std::uint64_t factor) {
    std::string out(digits.size(), '0');
    std::uint64_t carry = 0;
    for (std::size_t i = digits.size(); i-- > 0;) {
        std::uint64_t v = static_cast<std::uint64_t>(digits[i] - '0') * factor + carry;
        out[i] = static_cast<char>('0' + v % 10);
        carry = v / 10;
    }
    while (carry != 0) {
        out.insert(out.begin(), static_cast<char>('0' + carry % 10));
        carry /= 10;
    }
    return out;
}

std::string power(std::uint64_t base, int exponent) {
    std::string digits = "1";
    for (int i = 0; i < exponent; ++i) digits = times(digits, base);
    return digits;
}

// --- The table: one argument, the same text from both engines. ---

using Arg = std::variant<std::monostate, int, long long, double, const char*>;

struct Case {
    const char* format;
    Arg arg;
    const char* expected;
};

template <typename CharT>
Result<CharT> run_case(const CharT* format, const Arg& arg) {
    auto call = [format](auto... values) {
        if constexpr (std::is_same_v<CharT, char>) {
            return narrow(format, values...);
        } else {
            return wide(format, values...);
        }
    };
    return std::visit(
        [&](auto value) {
            if constexpr (std::is_same_v<decltype(value), std::monostate>) {
                return call();
            } else {
                return call(value);
            }
        },
        arg);
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

const Case kCases[] = {
    // Rounding is decided by the exact binary value, ties to even.
    {"%.3f", 1234.5, "1234.500"},
    {"%.2f", 0.125, "0.12"},
    {"%.2f", 0.375, "0.38"},
    {"%.0f", 0.5, "0"},
    {"%.0f", 1.5, "2"},
    {"%.0f", 2.5, "2"},
    {"%.0f", 3.5, "4"},
    {"%.1f", 0.25, "0.2"},
    {"%.1f", 0.35, "0.3"},  // 0.35 is stored a little below .35
    {"%.2e", 2.675, "2.67e+00"},
    {"%.0e", 2.5, "2e+00"},
    {"%.0e", 3.5, "4e+00"},
    {"%.17g", 0.1, "0.10000000000000001"},
    {"%.55f", 0.1, "0.1000000000000000055511151231257827021181583404541015625"},
    {"%f", 1e-7, "0.000000"},
    {"%+.0f", -0.4, "-0"},
    {"%5.1f|", -0.04, " -0.0|"},
    {"%.3f", -0.0, "-0.000"},
    {"%e", 0.0, "0.000000e+00"},
    {"%E", -0.0, "-0.000000E+00"},
    {"%e", DBL_MAX, "1.797693e+308"},
    {"%e", 1e-300, "1.000000e-300"},
    {"%.0e", 0.0, "0e+00"},
    {"%#.0e", 3.5, "4.e+00"},
    {"%#.0f", 0.0, "0."},
    {"%+f", 1.0, "+1.000000"},
    {"% f", 1.0, " 1.000000"},
    {"%+ f", 1.0, "+1.000000"},
    {"%012.3f", -3.14159, "-0000003.142"},
    {"%-12.3f|", 3.14159, "3.142       |"},
    {"%012.3e", 31.4159, "0003.142e+01"},
    // %g: exponent style below 1e-4 and from 10^precision on.
    {"%g", 100000.0, "100000"},
    {"%g", 1e6, "1e+06"},
    {"%g", 1e-4, "0.0001"},
    {"%g", 1e-5, "1e-05"},
    {"%g", 0.0001234, "0.0001234"},
    {"%g", 0.00001234, "1.234e-05"},
    {"%g", 123456789.0, "1.23457e+08"},
    {"%g", 1e100, "1e+100"},
    {"%G", 1e-10, "1E-10"},
    {"%.3g", 9995.0, "1e+04"},
    {"%.3g", 0.0001, "0.0001"},
    {"%.3G", 0.00001, "1E-05"},
    {"%.10g", 1234567890123.0, "1.23456789e+12"},
    {"%g", 0.0, "0"},
    {"%.0g", 0.0, "0"},
    {"%g", -0.0, "-0"},
    {"%g", 9.9999999, "10"},
    {"%010g", -1.5, "-0000001.5"},
    // '#' keeps the zeros and the point.
    {"%#g", 1.0, "1.00000"},
    {"%#.3g", 1.0, "1.00"},
    {"%#.0g", 0.0, "0."},
    {"%#g", 9.9999999, "10.0000"},
    {"%#g", 1e-5, "1.00000e-05"},
    {"%#.2g", 0.0000996, "0.00010"},
    // Rounding carries into exponent style; the zeros stay (glibc drops them).
    {"%#g", 999999.5, "1.00000e+06"},
    {"%#.1g", 9.5, "1.e+01"},
    // Infinities and NaNs: case follows the conversion, no zero padding.
    {"%f", kInf, "inf"},
    {"%F", kInf, "INF"},
    {"%e", -kInf, "-inf"},
    {"%E", kNaN, "NAN"},
    {"%g", kNaN, "nan"},
    {"%G", -kInf, "-INF"},
    {"%a", kInf, "inf"},
    {"%A", kNaN, "NAN"},
    {"%F", -kNaN, "-NAN"},
    {"%+f", kNaN, "+nan"},
    {"% e", kInf, " inf"},
    {"%08f", -kInf, "    -inf"},
    {"%-6g|", kNaN, "nan   |"},
    {"%#.3f", kInf, "inf"},
    // %a: shortest exact, or rounded to nearest-even at a given precision.
    {"%a", 3.0, "0x1.8p+1"},
    {"%a", 1.0, "0x1p+0"},
    {"%a", 0.0, "0x0p+0"},
    {"%a", -0.0, "-0x0p+0"},
    {"%a", 0.1, "0x1.999999999999ap-4"},
    {"%a", DBL_MAX, "0x1.fffffffffffffp+1023"},
    {"%a", DBL_MIN, "0x1p-1022"},
    {"%a", DBL_TRUE_MIN, "0x0.0000000000001p-1022"},
    {"%A", -1.0, "-0X1P+0"},
    {"%A", 0.1, "0X1.999999999999AP-4"},
    {"%.1a", 0x1.f8p0, "0x2.0p+0"},
    {"%.0a", 1.5, "0x2p+0"},
    {"%.0a", 2.5, "0x1p+1"},
    {"%.1a", 0x1.08p0, "0x1.0p+0"},
    {"%.1a", 0x1.18p0, "0x1.2p+0"},
    {"%.1a", 0x1.0800000000001p0, "0x1.1p+0"},
    {"%.0a", 0x0.fffffffffffffp-1022, "0x1p-1022"},
    {"%.0a", DBL_TRUE_MIN, "0x0p-1022"},
    {"%.3a", 0.0, "0x0.000p+0"},
    {"%.15a", 1.0, "0x1.000000000000000p+0"},
    {"%#a", 1.0, "0x1.p+0"},
    {"%#.0a", 1.0, "0x1.p+0"},
    {"%010a", 1.0, "0x00001p+0"},
    {"%+12a|", 1.0, "     +0x1p+0|"},
    // Integers.
    {"%d", INT_MIN, "-2147483648"},
    {"%i", INT_MAX, "2147483647"},
    {"%lld", LLONG_MIN, "-9223372036854775808"},
    {"%llu", -1LL, "18446744073709551615"},
    {"%llo", -1LL, "1777777777777777777777"},
    {"%+d", 5, "+5"},
    {"% d", 5, " 5"},
    {"%+u", 5, "5"},
    {"% x", 5, "5"},
    {"%05d", -42, "-0042"},
    {"%-5d|", -42, "-42  |"},
    {"%0-5d|", 3, "3    |"},
    {"%05.1d|", 3, "    3|"},
    {"%.5d", -42, "-00042"},
    {"%.0d", 0, ""},
    {"%5.0d|", 0, "     |"},
    {"%+.0d", 0, "+"},
    {"%#o", 8, "010"},
    {"%#.3o", 8, "010"},
    {"%#5o", 8, "  010"},
    {"%#o", 0, "0"},
    {"%#.0o", 0, "0"},
    {"%.0o", 0, ""},
    {"%#x", 0, "0"},
    {"%#.0x", 0, ""},
    {"%#X", 255, "0XFF"},
    {"%#08x", 255, "0x0000ff"},
    {"%-#10.3x|", 255, "0x0ff     |"},
    {"%x", -1, "ffffffff"},
    // Length modifiers cut the argument to their type.
    {"%hhd", 300, "44"},
    {"%hhd", 200, "-56"},
    {"%hhu", -1, "255"},
    {"%hhx", 0x1234, "34"},
    {"%hd", 70000, "4464"},
    {"%hu", -1, "65535"},
    {"%I32d", -1, "-1"},
    {"%I32x", -1, "ffffffff"},
    {"%I64d", LLONG_MIN, "-9223372036854775808"},
    {"%I64x", -1LL, "ffffffffffffffff"},
    {"%I64u", 1LL << 40, "1099511627776"},
    {"%lld", 1LL << 40, "1099511627776"},
    {"%jd", -1LL, "-1"},
    // Strings and characters that are narrow in both engines.
    {"%hs", "abc", "abc"},
    {"%5hs|", "abc", "  abc|"},
    {"%-5hs|", "abc", "abc  |"},
    {"%.2hs", "abc", "ab"},
    {"%05hs", "ab", "   ab"},
    {"%hs", static_cast<const char*>(nullptr), "(null)"},
    {"%10hs", static_cast<const char*>(nullptr), "    (null)"},
    {"%.6hs", static_cast<const char*>(nullptr), "(null)"},
    {"%.5hs|", static_cast<const char*>(nullptr), "|"},
    {"%hc", 'x', "x"},
    {"%-3hc|", 'x', "x  |"},
    {"%03hc", 'x', "  x"},
    // '%', and what is not a conversion.
    {"100%%", {}, "100%"},
    {"%5%|", {}, "%|"},
    {"%-05%|", {}, "%|"},
    {"%y", {}, "%y"},
    {"a%-5yb", {}, "a%-5yb"},
    {"%hy", {}, "%hy"},
    {"%.3@", {}, "%.3@"},
    {"abc%", {}, "abc%"},
    {"abc%-0", {}, "abc%-0"},
    {"abc%ll", {}, "abc%ll"},
    {"%I6", {}, "%I6"},
    {"", {}, ""},
};

class FormatTable : public ::testing::TestWithParam<Case> {};

TEST_P(FormatTable, NarrowEngine) {
    const Case& c = GetParam();
    auto result = run_case(c.format, c.arg);
    EXPECT_EQ(result.text, c.expected);
    EXPECT_EQ(result.value, static_cast<int>(std::strlen(c.expected)));
}

TEST_P(FormatTable, WideEngine) {
    const Case& c = GetParam();
    const std::wstring format = widen(c.format);
    auto result = run_case(format.c_str(), c.arg);
    EXPECT_EQ(result.text, widen(c.expected));
    EXPECT_EQ(result.value, static_cast<int>(std::strlen(c.expected)));
}

INSTANTIATE_TEST_SUITE_P(Format, FormatTable, ::testing::ValuesIn(kCases), [](const auto& info) {
    return "case" + std::to_string(info.index);
});

// --- Exact expansions, checked against digits computed here. ---

TEST(FormatExact, LargestDoubleHasAllItsIntegerDigits) {
    // DBL_MAX = (2^53 - 1) * 2^971
    const std::string digits = times(power(2, 971), (std::uint64_t{1} << 53) - 1);
    ASSERT_EQ(digits.size(), 309u);
    EXPECT_EQ(narrow("%f", DBL_MAX).text, digits + ".000000");
    EXPECT_EQ(narrow("%.0f", -DBL_MAX).text, "-" + digits);
    EXPECT_EQ(wide(L"%f", DBL_MAX).text, widen(digits + ".000000"));
    EXPECT_EQ(narrow("%.309g", DBL_MAX).text, digits);
}

TEST(FormatExact, SmallestSubnormalHasAllItsFractionDigits) {
    // DBL_TRUE_MIN = 2^-1074 = 5^1074 / 10^1074
    const std::string digits = power(5, 1074);
    ASSERT_EQ(digits.size(), 751u);
    const std::string fixed = "0." + repeat('0', 1074 - digits.size()) + digits;
    EXPECT_EQ(narrow("%.1074f", DBL_TRUE_MIN).text, fixed);
    // Past the last non-zero digit the engine adds the zeros itself.
    EXPECT_EQ(narrow("%.1100f", DBL_TRUE_MIN).text, fixed + repeat('0', 26));
    EXPECT_EQ(narrow("%.1073e", DBL_TRUE_MIN).text,
              digits.substr(0, 1) + "." + digits.substr(1) + repeat('0', 1073 - 750) + "e-324");
    EXPECT_EQ(narrow("%.751g", -DBL_TRUE_MIN).text, "-" + digits.substr(0, 1) + "." + digits.substr(1) + "e-324");
    EXPECT_EQ(narrow("%.6f", DBL_TRUE_MIN).text, "0.000000");
}

TEST(FormatExact, HugePrecisionPadsWithZeros) {
    const std::string tenth = "1000000000000000055511151231257827021181583404541015625";
    const std::string fixed = "0." + tenth + repeat('0', 5000 - tenth.size());
    EXPECT_EQ(narrow("%.5000f", 0.1).text, fixed);
    EXPECT_EQ(wide(L"%.5000f", 0.1).text, widen(fixed));
    EXPECT_EQ(narrow("%.5000f", 1.0).text, "1." + repeat('0', 5000));
    EXPECT_EQ(narrow("%.3000e", 0.1).text, "1." + tenth.substr(1) + repeat('0', 3000 - 54) + "e-01");
    EXPECT_EQ(narrow("%.3000g", 0.1).text, "0." + tenth);
    EXPECT_EQ(narrow("%#.3000g", 0.1).text, "0." + tenth + repeat('0', 3000 - tenth.size()));
    // %g takes the fixed or the exponent layout at the same digits.
    EXPECT_EQ(narrow("%#.3000g", 1e300).text, narrow("%.2699f", 1e300).text);
    EXPECT_EQ(narrow("%#.3000g", 1e-300).text, narrow("%.2999e", 1e-300).text);
    EXPECT_EQ(narrow("%.3000a", 1.0).text, "0x1." + repeat('0', 3000) + "p+0");
    EXPECT_EQ(narrow("%.3000d", 7).text, repeat('0', 2999) + "7");
}

TEST(FormatExact, HugeWidthPadsToTheExactLength) {
    auto r = narrow("%100000d|", -5);
    EXPECT_EQ(r.value, 100001);
    EXPECT_EQ(r.text, repeat(' ', 99998) + "-5|");
    EXPECT_EQ(narrow("%0100000d", -5).text, "-" + repeat('0', 99998) + "5");
    EXPECT_EQ(narrow("%-100000hs|", "ab").text, "ab" + repeat(' ', 99998) + "|");
    EXPECT_EQ(narrow("%70000.2f", 1.5).text, repeat(' ', 70000 - 4) + "1.50");
    auto w = wide(L"%-70000c|", L'x');
    EXPECT_EQ(w.value, 70001);
    EXPECT_EQ(w.text, L"x" + std::wstring(69999, L' ') + L"|");
}

// --- Arguments taken from the list. ---

TEST(FormatStar, WidthAndPrecisionFromArguments) {
    EXPECT_EQ(narrow("%*d|", 5, 3).text, "    3|");
    EXPECT_EQ(narrow("%*d|", -5, 3).text, "3    |");  // negative: left-justified
    EXPECT_EQ(narrow("%-*d|", -5, 3).text, "3    |");
    EXPECT_EQ(narrow("%0*d|", -5, 3).text, "3    |");
    EXPECT_EQ(narrow("%.*f", 2, 3.14159).text, "3.14");
    EXPECT_EQ(narrow("%.*f", -1, 3.14159).text, "3.141590");  // negative: as if none
    EXPECT_EQ(narrow("%.*d", -1, 0).text, "0");
    EXPECT_EQ(narrow("%*.*f|%d", 8, 2, 3.14159, 7).text, "    3.14|7");
    EXPECT_EQ(narrow("%.*hs", 3, "abcdef").text, "abc");
    EXPECT_EQ(wide(L"%*.*f|%d", -8, 1, 2.25, 7).text, L"2.2     |7");
}

TEST(FormatArguments, ConversionsConsumeArgumentsInOrder) {
    auto r = narrow("%d %s %c %.1f %lld %x %hs|", 1, "two", '3', 4.0, 5LL, 6u, "seven");
    EXPECT_EQ(r.text, "1 two 3 4.0 5 6 seven|");
    auto w = wide(L"%d %s %c %.1f %lld %x %hs|", 1, L"two", L'3', 4.0, 5LL, 6u, "seven");
    EXPECT_EQ(w.text, L"1 two 3 4.0 5 6 seven|");
}

TEST(FormatArguments, LongDoubleFollowsThePlatform) {
    if constexpr (numerio::abi::kLongDoubleIsDouble) {
        EXPECT_EQ(narrow("%.2Lf|%d", 2.5, 7).text, "2.50|7");
    } else {
        EXPECT_EQ(narrow("%.2Lf|%d", 2.5L, 7).text, "2.50|7");
        EXPECT_EQ(narrow("%Lg", 1e-30L).text, "1e-30");
    }
}

TEST(FormatArguments, PointerSizedModifiers) {
    EXPECT_EQ(narrow("%Id", static_cast<std::ptrdiff_t>(-1)).text, "-1");
    EXPECT_EQ(narrow("%Ix", SIZE_MAX).text, repeat('f', sizeof(std::size_t) * 2));
    EXPECT_EQ(narrow("%zu", SIZE_MAX).text, std::to_string(SIZE_MAX));
    EXPECT_EQ(narrow("%td", static_cast<std::ptrdiff_t>(PTRDIFF_MIN)).text, std::to_string(PTRDIFF_MIN));
    EXPECT_EQ(narrow("%ld|%lu", LONG_MIN, ULONG_MAX).text, std::to_string(LONG_MIN) + "|" + std::to_string(ULONG_MAX));
}

TEST(FormatArguments, PointerIsUpperCaseHexOfPointerWidth) {
    const int digits = numerio::abi::kPointerHexDigits;
    const std::string value = repeat('0', static_cast<std::size_t>(digits) - 4) + "BEEF";
    void* p = reinterpret_cast<void*>(std::uintptr_t{0xBEEF});
    EXPECT_EQ(narrow("%p", p).text, value);
    EXPECT_EQ(narrow("%p", nullptr).text, repeat('0', static_cast<std::size_t>(digits)));
    EXPECT_EQ(narrow("%*p|", digits + 3, p).text, "   " + value + "|");
    EXPECT_EQ(narrow("%-*p|", digits + 3, p).text, value + "   |");
    EXPECT_EQ(wide(L"%p", p).text, widen(value));
}

TEST(FormatCount, StoresTheCountThroughEachPointerType) {
    int n = -1;
    signed char hh = -1;
    short h = -1;
    long l = -1;
    long long ll = -1;
    std::intmax_t j = -1;
    std::size_t z = 0;
    std::ptrdiff_t t = -1;
    auto r = narrow("ab%ncd%hhne%hnf%lng%llnh%jni%znj%tn%5d%n", &n, &hh, &h, &l, &ll, &j, &z, &t, 1, &n);
    EXPECT_EQ(r.text, "abcdefghij    1");
    EXPECT_EQ(n, 15);
    EXPECT_EQ(hh, 4);
    EXPECT_EQ(h, 5);
    EXPECT_EQ(l, 6);
    EXPECT_EQ(ll, 7);
    EXPECT_EQ(j, 8);
    EXPECT_EQ(z, 9u);
    EXPECT_EQ(t, 10);

    // A narrow target keeps the low bits.
    signed char small = 0;
    narrow("%300d%hhn", 1, &small);
    EXPECT_EQ(small, static_cast<signed char>(300));

    int wn = -1;
    wide(L"%ls%n", L"wide", &wn);
    EXPECT_EQ(wn, 4);
}

// --- Narrow and wide characters across the engines. ---

TEST(FormatCharacters, NarrowEngineTakesWideArgumentsWhereAsked) {
    EXPECT_EQ(narrow("%S|%ls|%ws", L"one", L"two", L"three").text, "one|two|three");
    EXPECT_EQ(narrow("%C%lc%wc", L'a', L'b', L'c').text, "abc");
    EXPECT_EQ(narrow("%hS|%hC", "n", 'c').text, "n|c");
    EXPECT_EQ(narrow("%5S|%-4C|%.2S", L"ab", L'x', L"wxyz").text, "   ab|x   |wx");
    EXPECT_EQ(narrow("%S", static_cast<const wchar_t*>(nullptr)).text, "(null)");
    // Below 256 a wide character is that byte.
    EXPECT_EQ(narrow("%S%C", L"\u00e9", L'\u00ff').text, "\xe9\xff");
}

TEST(FormatCharacters, WideEngineTakesNarrowArgumentsWhereAsked) {
    EXPECT_EQ(wide(L"%s|%S|%hs|%ls|%ws", L"one", "two", "three", L"four", L"five").text,
              L"one|two|three|four|five");
    EXPECT_EQ(wide(L"%c%C%hc%lc%wc", L'a', 'b', 'c', L'd', L'e').text, L"abcde");
    // A narrow byte becomes the wide character of the same (unsigned) value.
    EXPECT_EQ(wide(L"%S%C", "\xe9", '\xff').text, L"\u00e9\u00ff");
    EXPECT_EQ(wide(L"%s", L"\u0100\u20ac").text, L"\u0100\u20ac");
    EXPECT_EQ(wide(L"%-4s|%.1S", static_cast<const wchar_t*>(nullptr), static_cast<const char*>(nullptr)).text,
              L"(null)|");
}

TEST(FormatCharacters, WideCharacterWithoutNarrowFormFails) {
    auto s = narrow("ok %S", L"a\u0100");
    EXPECT_EQ(s.value, -1);
    EXPECT_EQ(s.error, EILSEQ);
    auto c = narrow("%lc", L'\u20ac');
    EXPECT_EQ(c.value, -1);
    EXPECT_EQ(c.error, EILSEQ);
    auto w = narrow("%wc", 0x100);
    EXPECT_EQ(w.value, -1);
    EXPECT_EQ(w.error, EILSEQ);
    // Only what is printed counts: the precision stops before the bad one.
    auto cut = narrow("%.1ls", L"a\u0100");
    EXPECT_EQ(cut.value, 1);
    EXPECT_EQ(cut.text, "a");
}

TEST(FormatCharacters, PrecisionBoundsTheRead) {
    // No terminator: reading one character too far is caught by ASan.
    const char narrow_text[3] = {'a', 'b', 'c'};
    const wchar_t wide_text[3] = {L'a', L'b', L'c'};
    EXPECT_EQ(narrow("%.3hs", narrow_text).text, "abc");
    EXPECT_EQ(narrow("%.3ls", wide_text).text, "abc");
    EXPECT_EQ(wide(L"%.3s", wide_text).text, L"abc");
    EXPECT_EQ(wide(L"%.3hs", narrow_text).text, L"abc");
}

TEST(FormatCharacters, NulCharacterIsCounted) {
    auto r = narrow("a%cb", 0);
    EXPECT_EQ(r.value, 3);
    EXPECT_EQ(r.text, std::string("a\0b", 3));
}

// --- Failures. ---

// Takes `room` characters, then refuses, saying why if `reason` is set.
class LimitedSink final : public numerio::OutputSink<char> {
public:
    explicit LimitedSink(std::size_t room, int reason = 0) : room_(room), reason_(reason) {}
    bool write(const char*, std::size_t count) override {
        ++calls_;
        if (count > room_) {
            if (reason_ != 0) errno = reason_;
            return false;
        }
        room_ -= count;
        return true;
    }
    std::size_t room_;
    int reason_;
    int calls_ = 0;
};

int limited(LimitedSink& sink, const char* format, ...) {
    va_list args;
    va_start(args, format);
    errno = 0;
    int result = numerio::vformat(sink, format, args);
    va_end(args);
    return result;
}

TEST(FormatErrors, SinkRefusalIsAnIoError) {
    LimitedSink none(0);
    EXPECT_EQ(limited(none, "abc"), -1);
    EXPECT_EQ(errno, EIO);

    // Refused in the middle of a long conversion: the engine gives up there.
    LimitedSink some(100);
    EXPECT_EQ(limited(some, "%100000d", 1), -1);
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(some.calls_, 1);

    LimitedSink enough(5);
    EXPECT_EQ(limited(enough, "%d", 12345), 5);
    EXPECT_EQ(errno, 0);
}

TEST(FormatErrors, SinkRefusalKeepsTheSinksReason) {
    LimitedSink unencodable(0, EILSEQ);
    EXPECT_EQ(limited(unencodable, "abc"), -1);
    EXPECT_EQ(errno, EILSEQ);
}

// Counts, keeps nothing.
class CountingSink final : public numerio::OutputSink<char> {
public:
    bool write(const char*, std::size_t count) override {
        total_ += count;
        return true;
    }
    std::uint64_t total_ = 0;
};

int counted(CountingSink& sink, const char* format, ...) {
    va_list args;
    va_start(args, format);
    errno = 0;
    int result = numerio::vformat(sink, format, args);
    va_end(args);
    return result;
}

TEST(FormatErrors, CountBeyondIntMaxOverflows) {
    {
        // Refused before anything of the conversion is written; the text
        // before it is delivered.
        CountingSink sink;
        EXPECT_EQ(counted(sink, "ab%.2147483647f", 1.0), -1);
        EXPECT_EQ(errno, EOVERFLOW);
        EXPECT_EQ(sink.total_, 2u);
    }
    {
        CountingSink sink;
        EXPECT_EQ(counted(sink, "x%2147483647hs", ""), -1);
        EXPECT_EQ(errno, EOVERFLOW);
        EXPECT_EQ(sink.total_, 1u);
    }
    // Width and precision that do not fit an int at all.
    for (const char* format : {"%2147483648d", "%.99999999999999999999d", "%*d"}) {
        CountingSink sink;
        EXPECT_EQ(counted(sink, format, INT_MIN, 1), -1) << format;
        EXPECT_EQ(errno, EOVERFLOW) << format;
        EXPECT_EQ(sink.total_, 0u) << format;
    }
    {
        // Even where the output would be short.
        CountingSink sink;
        EXPECT_EQ(counted(sink, "%.2147483648hs", "abc"), -1);
        EXPECT_EQ(errno, EOVERFLOW);
        EXPECT_EQ(counted(sink, "%.2147483647hs", "abc"), 3);
    }
    {
        // Exactly INT_MAX characters are fine; one more is not.
        CountingSink sink;
        EXPECT_EQ(counted(sink, "%2147483646d%c%c", 1, 'x', 'y'), -1);
        EXPECT_EQ(errno, EOVERFLOW);
        EXPECT_EQ(sink.total_, std::uint64_t{INT_MAX});
    }
}

TEST(FormatErrors, NullFormatIsInvalid) {
    VectorSink<char> sink;
    errno = 0;
    va_list none{};
    EXPECT_EQ(numerio::vformat(sink, nullptr, none), -1);
    EXPECT_EQ(errno, EINVAL);
    VectorSink<wchar_t> wide_sink;
    errno = 0;
    EXPECT_EQ(numerio::vformat(wide_sink, nullptr, none), -1);
    EXPECT_EQ(errno, EINVAL);
}

}  // namespace
