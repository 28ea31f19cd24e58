#include "scan.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

#include "abi.h"

namespace numerio {
namespace {

// Input from a string that enforces the engine's side of the contract:
// at most one character pushed back, and only the one just read.
template <typename CharT>
class StringSource final : public InputSource<CharT> {
public:
    explicit StringSource(std::basic_string<CharT> text) : text_(std::move(text)) {}

    long get() override {
        pushed_back_ = false;
        if (pos_ >= text_.size()) {
            ++reads_at_end_;
            return InputSource<CharT>::kEnd;
        }
        return static_cast<long>(static_cast<std::make_unsigned_t<CharT>>(text_[pos_++]));
    }
    void unget(long c) override {
        EXPECT_FALSE(pushed_back_) << "two characters pushed back";
        EXPECT_GT(pos_, 0u);
        if (pos_ > 0) {
            EXPECT_EQ(c, static_cast<long>(static_cast<std::make_unsigned_t<CharT>>(text_[pos_ - 1])))
                << "pushed back a character other than the last one read";
            --pos_;
        }
        pushed_back_ = true;
    }

    std::basic_string<CharT> rest() const { return text_.substr(pos_); }
    int reads_at_end() const { return reads_at_end_; }

private:
    std::basic_string<CharT> text_;
    std::size_t pos_ = 0;
    bool pushed_back_ = false;
    int reads_at_end_ = 0;
};

template <typename CharT>
int scan(InputSource<CharT>& in, const CharT* format, ...) {
    va_list args;
    va_start(args, format);
    const int result = vscan(in, format, args);
    va_end(args);
    return result;
}

// A destination with guard bytes on both sides, to catch stores of the
// wrong width.
template <typename T>
struct Guarded {
    unsigned char before[8];
    T value;
    unsigned char after[8];

    Guarded() {
        std::memset(this, 0xA5, sizeof *this);
    }
    bool intact() const {
        for (unsigned char b : before) if (b != 0xA5) return false;
        for (unsigned char b : after) if (b != 0xA5) return false;
        return true;
    }
};

TEST(ScanBasics, ReadsSeparatedFields) {
    StringSource<char> in("1.25;7");
    double d = 0;
    int i = 0;
    EXPECT_EQ(scan(in, "%lf;%d", &d, &i), 2);
    EXPECT_EQ(d, 1.25);
    EXPECT_EQ(i, 7);
}

struct ReturnCase {
    const char* input;
    const char* format;
    int expected;
    const char* rest;  // input left unread
};

// The return value separates "input ran out before anything was converted"
// (EOF) from a matching failure (the count so far).
TEST(ScanBasics, ReturnsCountOrEof) {
    const ReturnCase cases[] = {
        {"", "%d", EOF, ""},
        {"   ", "%d", EOF, ""},
        {"x", "%d", 0, "x"},
        {"-", "%d", 0, ""},           // a sign alone is a matching failure
        {"1", "%d%d", 1, ""},
        {"1 ", "%d %d", 1, ""},
        {"", "a%d", EOF, ""},
        {"b", "a%d", 0, "b"},
        {"1", "%*d%d", 0, ""},        // a suppressed conversion completed
        {"", "%n", 0, ""},
        {"", " ", 0, ""},
        {"5%", "%d%%", 1, ""},
        {"5 \t%6", "%d%%%d", 2, ""},  // "%%" skips white space first
        {"5x", "%d%%", 1, "x"},
        {"ab", "a%*c", 0, ""},
        {"ab", "%y", 0, "ab"},        // unknown conversion: stop, read nothing
        {"ab", "%[ab", 0, "ab"},      // unterminated set
        {"12", "%5", 0, "12"},
        {"12", "%wd", 0, "12"},
        {"12", "%hf", 0, "12"},
        {"12", "%lp", 0, "12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("format \"") + c.format + "\" on \"" + c.input + "\"");
        StringSource<char> in(c.input);
        int a = -1, b = -1;
        char s[8] = {};
        const bool text = std::strchr(c.format, 'c') != nullptr;
        const int got = text ? scan(in, c.format, s) : scan(in, c.format, &a, &b);
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(in.rest(), c.rest);
    }
}

TEST(ScanBasics, NullFormatIsInvalid) {
    StringSource<char> in("1");
    errno = 0;
    EXPECT_EQ(vscan(in, nullptr, nullptr), EOF);
    EXPECT_EQ(errno, EINVAL);
    StringSource<wchar_t> win(L"1");
    errno = 0;
    EXPECT_EQ(vscan(win, nullptr, nullptr), EOF);
    EXPECT_EQ(errno, EINVAL);
}

TEST(ScanBasics, CountsCharactersAndSuppresses) {
    StringSource<char> in("  12 abc x");
    int n1 = -1, n2 = -1, n3 = -1, value = -1;
    EXPECT_EQ(scan(in, "%n%d%n%*s%n", &n1, &value, &n2, &n3), 1);
    EXPECT_EQ(n1, 0);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(n2, 4);
    EXPECT_EQ(n3, 8);
    EXPECT_EQ(in.rest(), " x");
}

TEST(ScanBasics, CountStoresHonourLength) {
    StringSource<char> in("abcdef");
    Guarded<signed char> hh;
    Guarded<short> h;
    Guarded<long long> ll;
    EXPECT_EQ(scan(in, "ab%hhncd%hnef%lln", &hh.value, &h.value, &ll.value), 0);
    EXPECT_EQ(hh.value, 2);
    EXPECT_EQ(h.value, 4);
    EXPECT_EQ(ll.value, 6);
    EXPECT_TRUE(hh.intact() && h.intact() && ll.intact());
}

// Once the input has reported its end, the call must not ask again: a
// terminal can deliver more after an end-of-file.
TEST(ScanBasics, StopsAtFirstEnd) {
    class Terminal final : public InputSource<char> {
    public:
        long get() override {
            if (end_given) ++calls_after_end;
            if (pos == 1 && !end_given) {
                end_given = true;
                return kEnd;
            }
            return pos < 2 ? "12"[pos++] : kEnd;
        }
        void unget(long) override { --pos; }
        int pos = 0;
        int calls_after_end = 0;
        bool end_given = false;
    } in;
    int a = -1, b = -1;
    EXPECT_EQ(scan<char>(in, "%d %d", &a, &b), 1);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, -1);
    EXPECT_EQ(in.calls_after_end, 0);
}

struct IntegerCase {
    const char* format;  // one conversion into a long long, then "%n"
    const char* input;
    int expected;
    long long value;
    int count;  // -1: "%n" not reached
};

TEST(ScanIntegers, Table) {
    const IntegerCase cases[] = {
        {"%lld%n", "  -42x", 1, -42, 5},
        {"%lld%n", "+17", 1, 17, 3},
        {"%lli%n", "0x1F", 1, 31, 4},
        {"%lli%n", "-017", 1, -15, 4},
        {"%lli%n", "08", 1, 0, 1},
        {"%llx%n", "0XfFz", 1, 255, 4},
        {"%llX%n", "fF", 1, 255, 2},
        {"%llo%n", "778", 1, 63, 2},
        {"%llo%n", "8", 0, 0, -1},
        {"%llu%n", "-0x1", 1, 0, 2},
        {"%lld%n", "1e5", 1, 1, 1},
        {"%3lld%n", "12345", 1, 123, 3},
        {"%1lld%n", "-5", 0, 0, -1},
        {"%llx%n", "0xg", 0, 0, -1},     // "0x" is not a number
        {"%2llx%n", "0x1", 0, 0, -1},
        {"%1llx%n", "0x1", 1, 0, 1},
        {"%lli%n", "0x", 0, 0, -1},
        {"%lld%n", "99999999999999999999", 1, LLONG_MAX, 20},
        {"%lld%n", "-99999999999999999999", 1, LLONG_MIN, 21},
        {"%lld%n", "-9223372036854775808", 1, LLONG_MIN, 20},
        {"%lld%n", "9223372036854775808", 1, LLONG_MAX, 19},
        {"%llu%n", "18446744073709551615", 1, -1, 20},
        {"%llu%n", "18446744073709551616", 1, -1, 20},
        {"%llu%n", "-1", 1, -1, 2},
        {"%llx%n", "-0x10", 1, -16, 5},
        {"%lld%n", "0000000000000000000000000042", 1, 42, 28},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " on \"" + c.input + "\"");
        StringSource<char> in(c.input);
        long long value = 0;
        int count = -1;
        EXPECT_EQ(scan(in, c.format, &value, &count), c.expected);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(count, c.count);
    }
}

// Every length stores its own type, saturated to that type's range, and
// touches nothing around it.
TEST(ScanIntegers, LengthsSaturateToTheirType) {
    auto check = [](const char* format, const char* input, auto expected) {
        SCOPED_TRACE(std::string(format) + " on \"" + input + "\"");
        Guarded<decltype(expected)> g;
        StringSource<char> in(input);
        EXPECT_EQ(scan(in, format, &g.value), 1);
        EXPECT_EQ(g.value, expected);
        EXPECT_TRUE(g.intact());
    };
    check("%hhd", "200", static_cast<signed char>(127));
    check("%hhd", "-200", static_cast<signed char>(-128));
    check("%hhu", "-1", static_cast<unsigned char>(255));
    check("%hhu", "300", static_cast<unsigned char>(255));
    check("%hd", "40000", static_cast<short>(32767));
    check("%hu", "65535", static_cast<unsigned short>(65535));
    check("%d", "2147483648", INT_MAX);
    check("%d", "-2147483649", INT_MIN);
    check("%i", "-0x80000000", INT_MIN);
    check("%u", "4294967296", UINT_MAX);
    check("%ld", "-7", -7L);
    check("%lu", "7", 7UL);
    check("%I32d", "99999999999", INT_MAX);
    check("%I32x", "ffffffff", UINT_MAX);
    check("%I64d", "-9999999999999999999", LLONG_MIN);
    check("%I64u", "12345678901", 12345678901ULL);
    check("%Ld", "-12345678901", -12345678901LL);
    check("%jd", "-5", static_cast<std::intmax_t>(-5));
    check("%zu", "77", static_cast<std::size_t>(77));
    check("%zd", "-77", static_cast<std::make_signed_t<std::size_t>>(-77));
    check("%td", "-88", static_cast<std::ptrdiff_t>(-88));
    check("%Iu", "99", static_cast<std::size_t>(99));
    check("%Id", "-99", static_cast<std::ptrdiff_t>(-99));
}

TEST(ScanIntegers, PointerReadsItsPrintedForm) {
    const struct {
        const char* input;
        std::uintptr_t value;
    } cases[] = {
        {"0000001A", 0x1A},
        {"0x1a", 0x1A},
        {"  DEADBEEF", 0xDEADBEEF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        StringSource<char> in(c.input);
        void* p = nullptr;
        EXPECT_EQ(scan(in, "%p", &p), 1);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p), c.value);
    }
}

struct FloatCase {
    const char* input;
    int expected;
    double value;
    int count;  // "%n" after the number; -1 when not reached
};

TEST(ScanFloats, FieldIsLongestPrefixOfANumber) {
    const double inf = HUGE_VAL;
    const FloatCase cases[] = {
        {"1.25", 1, 1.25, 4},
        {"  -0x1.8p1", 1, -3.0, 10},
        {"3,5", 1, 3.0, 1},
        {".5e1", 1, 5.0, 4},
        {"1.", 1, 1.0, 2},
        {"infx", 1, inf, 3},
        {"-INFINITY", 1, -inf, 9},
        {"100ergs", 0, 0, -1},   // "100e" was read and is no number
        {"1e+", 0, 0, -1},
        {"0x1p", 0, 0, -1},
        {"0x.p1", 0, 0, -1},
        {"0xg", 0, 0, -1},
        {"infinx", 0, 0, -1},
        {"nan(abc", 0, 0, -1},
        {".", 0, 0, -1},
        {"-", 0, 0, -1},
        {"x", 0, 0, -1},
        {"", EOF, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        StringSource<char> in(c.input);
        double value = 0;
        int count = -1;
        EXPECT_EQ(scan(in, "%lf%n", &value, &count), c.expected);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(count, c.count);
    }
}

TEST(ScanFloats, PushbackLeavesTheRestUnread) {
    const struct {
        const char* input;
        const char* format;
        const char* rest;
    } cases[] = {
        {"100ergs", "%lf", "rgs"},
        {"12abc", "%lf", "abc"},
        {"nan(x_1)y", "%lf", "y"},
        {"infinity!", "%lf", "!"},
        {"1e5e5", "%lf", "e5"},
        {"1.5.5", "%lf", ".5"},
        {"0x1p3p", "%lf", "p"},
        {"12345", "%3lf", "45"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        StringSource<char> in(c.input);
        double value = 0;
        scan(in, c.format, &value);
        EXPECT_EQ(in.rest(), c.rest);
    }
}

TEST(ScanFloats, NanKeepsSignAndSequence) {
    StringSource<char> in("-nan(x_1) NaN");
    double a = 0, b = 0;
    EXPECT_EQ(scan(in, "%lf%lf", &a, &b), 2);
    EXPECT_TRUE(std::isnan(a) && std::signbit(a));
    EXPECT_TRUE(std::isnan(b) && !std::signbit(b));
}

// "%f" rounds once to float: going through double first would land on the
// float halfway point 1 + 2^-24 and round down to even.
TEST(ScanFloats, FloatIsRoundedOnce) {
    StringSource<char> in("1.0000000596046447753906250000000001 1.000000059604644775390625");
    float above = 0, tie = 0;
    EXPECT_EQ(scan(in, "%f%e", &above, &tie), 2);
    EXPECT_EQ(above, 1.0f + 0x1p-23f);
    EXPECT_EQ(tie, 1.0f);
}

TEST(ScanFloats, LengthsStoreTheirType) {
    StringSource<char> in("0.1 0.1 0.1");
    Guarded<float> f;
    Guarded<double> d;
    // What "%L" stores follows the platform's compiler.
    using LongDouble = std::conditional_t<abi::kLongDoubleIsDouble, double, long double>;
    Guarded<LongDouble> ld;
    EXPECT_EQ(scan(in, "%g%lG%La", &f.value, &d.value, &ld.value), 3);
    EXPECT_EQ(f.value, 0.1f);
    EXPECT_EQ(d.value, 0.1);
    EXPECT_EQ(ld.value, static_cast<LongDouble>(0.1));
    EXPECT_TRUE(f.intact() && d.intact() && ld.intact());
}

TEST(ScanFloats, OutOfRangeSetsErrno) {
    StringSource<char> in("1e999 1e-999 1");
    double big = 0, tiny = 1;
    float f = 0;
    errno = 0;
    EXPECT_EQ(scan(in, "%lf%lf", &big, &tiny), 2);
    EXPECT_EQ(errno, ERANGE);
    EXPECT_EQ(big, HUGE_VAL);
    EXPECT_EQ(tiny, 0.0);
    StringSource<char> in2("1e39");
    errno = 0;
    EXPECT_EQ(scan(in2, "%f", &f), 1);
    EXPECT_EQ(errno, ERANGE);
    EXPECT_EQ(f, HUGE_VALF);
}

struct TextCase {
    const char* format;
    const char* input;
    int expected;
    const char* stored;  // bytes expected in the buffer (which starts as '#'s)
    const char* rest;
};

TEST(ScanText, Table) {
    const TextCase cases[] = {
        {"%s", "  hello world", 1, "hello", " world"},
        {"%3s", "abcdef", 1, "abc", "def"},
        {"%c", " x", 1, " #", "x"},
        {"%3c", "abcd", 1, "abc#", "d"},
        {"%c", "", EOF, "#", ""},
        {"%5c", "abc", 0, nullptr, ""},   // a "%c" field is exactly its width
        {"%s", "   ", EOF, "#", ""},
        {"%[a-c]", "abcd", 1, "abc", "d"},
        {"%[^,]", "x y,z", 1, "x y", ",z"},
        {"%[]a]", "]a]b", 1, "]a]", "b"},
        {"%[^]]", "ab]c", 1, "ab", "]c"},
        {"%[a-]", "a-b", 1, "a-", "b"},
        {"%[-a]", "-ab", 1, "-a", "b"},
        {"%[c-a]", "a-cb", 1, "a-c", "b"},  // reversed: three characters
        {"%[a-c-e]", "ead-", 1, "ead", "-"},  // a range from a range's end
        {"%[a-c-b]", "-bd", 1, "-b", "d"},
        {"%[--0]", "/-,", 1, "/-", ","},
        {"%[!--a]", "]a b", 1, "]a", " b"},  // '-' ends one range, starts the next
        {"%[]-a]", "^a\\", 1, "^a", "\\"},
        {"%2[a-z]", "abc", 1, "ab", "c"},
        {"%[a]", "b", 0, "#", "b"},
        {"%[a]", "", EOF, "#", ""},
        {"%[\xe0-\xff]", "\xe9\xe8" "a", 1, "\xe9\xe8", "a"},
        {"%[^\x80]", "ab\x80", 1, "ab", "\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " on \"" + c.input + "\"");
        StringSource<char> in(c.input);
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(scan(in, c.format, buffer), c.expected);
        if (c.stored != nullptr) {
            const std::size_t n = std::strlen(c.stored);
            EXPECT_EQ(std::string(buffer, n), c.stored);
            // a terminator after strings and sets, nothing after "%c"
            const bool chars = c.format[std::strlen(c.format) - 1] == 'c';
            const bool terminated = c.expected == 1 && !chars;
            EXPECT_EQ(buffer[n], terminated ? '\0' : '#');
            EXPECT_EQ(buffer[n + 1], '#');
        }
        EXPECT_EQ(in.rest(), c.rest);
    }
}

TEST(ScanText, NarrowEngineStoresWideWhenAsked) {
    StringSource<char> in("h\xe9llo x yz abc");
    wchar_t s[8] = {}, c = 0, set[8] = {}, w[8] = {};
    EXPECT_EQ(scan(in, "%S %C %ls %l[a-c]", s, &c, w, set), 4);
    EXPECT_EQ(std::wstring(s), L"h\u00e9llo");
    EXPECT_EQ(c, L'x');
    EXPECT_EQ(std::wstring(w), L"yz");
    EXPECT_EQ(std::wstring(set), L"abc");
}

TEST(ScanText, WideAndNarrowDestinations) {
    StringSource<char> in("ab cd");
    wchar_t wide[4] = {};
    char narrow[4] = {};
    EXPECT_EQ(scan(in, "%ws %hs", wide, narrow), 2);
    EXPECT_EQ(std::wstring(wide), L"ab");
    EXPECT_STREQ(narrow, "cd");
}

TEST(ScanText, WideEngineStoresWideByDefault) {
    StringSource<wchar_t> in(L"\u0416\u0436 caf\u00e9 \u00e9");
    wchar_t s[8] = {};
    char narrow[8] = {};
    char c = 0;
    EXPECT_EQ(scan(in, L"%s %S %hc", s, narrow, &c), 3);
    EXPECT_EQ(std::wstring(s), L"\u0416\u0436");
    EXPECT_STREQ(narrow, "caf\xe9");
    EXPECT_EQ(static_cast<unsigned char>(c), 0xE9);
}

TEST(ScanText, WideCharacterWithoutNarrowFormIsAnError) {
    const struct {
        const wchar_t* format;
        const wchar_t* input;
        const wchar_t* rest;
    } cases[] = {
        {L"%S", L"ab\u0416c", L"\u0416c"},
        {L"%hc", L"\u0416", L"\u0416"},
        {L"%h[^x]", L"a\u20acx", L"\u20acx"},
    };
    for (const auto& c : cases) {
        StringSource<wchar_t> in(c.input);
        char buffer[8];
        std::memset(buffer, '#', sizeof buffer);
        errno = 0;
        EXPECT_EQ(scan(in, c.format, buffer), 0);
        EXPECT_EQ(errno, EILSEQ);
        EXPECT_EQ(in.rest(), c.rest);
    }
}

TEST(ScanText, WideEngineReadsOnlyAsciiNumbers) {
    StringSource<wchar_t> in(L"  12\u0661 -0x1P4\uff11 \uff11");
    int i = 0, n = -1, m = -1;
    double d = 0;
    EXPECT_EQ(scan(in, L"%d%n%*lc%lf%n%d", &i, &n, &d, &m, &i), 2);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(d, -16.0);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(in.rest(), L"\uff11 \uff11");
}

TEST(ScanText, WideLiteralsAndSets) {
    StringSource<wchar_t> in(L"\u00ab\u0430\u0431\u0432\u0433\u00bb");
    wchar_t s[8] = {};
    EXPECT_EQ(scan(in, L"\u00ab%[\u0430-\u0432]\u0433\u00bb", s), 1);
    EXPECT_EQ(std::wstring(s), L"\u0430\u0431\u0432");
    EXPECT_EQ(in.rest(), L"");
}

}  // namespace
}  // namespace numerio
