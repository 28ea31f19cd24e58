#include "float_parse.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

namespace numerio {
namespace {

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::uint64_t bits(double d) { return std::bit_cast<std::uint64_t>(d); }

struct Case {
    std::string text;
    double value;
    std::size_t consumed;
    bool range_error;
};

// Checks one case in both the narrow and the wide parser; the value by its
// bits, so that -0 and 0 differ.
void expect_parses(const Case& c) {
    SCOPED_TRACE("\"" + (c.text.size() > 60 ? c.text.substr(0, 60) + "..." : c.text) + "\"");
    const FloatParse narrow = parse_double(c.text.c_str());
    EXPECT_EQ(bits(narrow.value), bits(c.value)) << narrow.value << " vs " << c.value;
    EXPECT_EQ(narrow.consumed, c.consumed);
    EXPECT_EQ(narrow.range_error, c.range_error);
    const FloatParse wide = parse_double(widen(c.text).c_str());
    EXPECT_EQ(bits(wide.value), bits(c.value));
    EXPECT_EQ(wide.consumed, c.consumed);
    EXPECT_EQ(wide.range_error, c.range_error);
}

// A case where the whole text is the number.
Case whole(std::string text, double value, bool range_error) {
    const std::size_t n = text.size();
    return {std::move(text), value, n, range_error};
}

const double kInf = HUGE_VAL;
const double kMinSub = 0x1p-1074;

TEST(FloatParseSyntax, Table) {
    const Case cases[] = {
        {"3,5", 3.0, 1, false},
        {"2.5e3xyz", 2500.0, 5, false},
        {" \t\n\v\f\r+1", 1.0, 8, false},
        {"-0", -0.0, 2, false},
        {"-0.000e7", -0.0, 8, false},
        {".5", 0.5, 2, false},
        {"5.", 5.0, 2, false},
        {"0.001e3", 1.0, 7, false},
        {"1e", 1.0, 1, false},
        {"1e+", 1.0, 1, false},
        {"1E-2", 0.01, 4, false},
        {"1e+5e", 1e5, 4, false},
        {"00012.50", 12.5, 8, false},
        {"", 0.0, 0, false},
        {"   ", 0.0, 0, false},
        {"+", 0.0, 0, false},
        {".", 0.0, 0, false},
        {"-.e1", 0.0, 0, false},
        {"e5", 0.0, 0, false},
        {"\xa0" "1", 0.0, 0, false},  // no-break space is not white space
        {"+-1", 0.0, 0, false},
        {"inf", kInf, 3, false},
        {"-Infinity", -kInf, 9, false},
        {"INFINITYx", kInf, 8, false},
        {"infinit", kInf, 3, false},
        {"in", 0.0, 0, false},
        {"1e000000000000000000000000000001", 10.0, 32, false},
        {"1e999999999999999999999999999999", kInf, 32, true},
        {"-1e999999999999999999999999999999", -kInf, 33, true},
        {"1e-999999999999999999999999999999", 0.0, 33, true},
        {"0e999999999999999999999999999999", 0.0, 32, false},
        {"1e999", kInf, 5, true},
        {"-1e-999", -0.0, 7, true},
        {"123456789012345678901234567890e-29", 1.2345678901234568, 34, false},
    };
    for (const auto& c : cases) expect_parses(c);
}

TEST(FloatParseHex, Table) {
    const Case cases[] = {
        {"0x1.8p1", 3.0, 7, false},
        {"-0X.8P-1", -0.25, 8, false},
        {"0x1P+4", 16.0, 6, false},
        {"0xA", 10.0, 3, false},
        {"0x1.", 1.0, 4, false},
        {"0x", 0.0, 1, false},
        {"-0x", -0.0, 2, false},
        {"0x.", 0.0, 1, false},
        {"0x.p1", 0.0, 1, false},
        {"0xp1", 0.0, 1, false},
        {"0xg", 0.0, 1, false},
        {"0x1p", 1.0, 3, false},
        {"0x1p-", 1.0, 3, false},
        {"0x1e1", 481.0, 5, false},  // 'e' is a digit here
        {"0x0000000000000000000000001p0", 1.0, 29, false},
        {"0x0.0000000000000000000000001p100", 0x1p0, 33, false},
        {"0x1.00000000000008p0", 1.0, 20, false},                 // tie, to even
        {"0x1.00000000000018p0", 1.0 + 0x1p-51, 20, false},       // tie, to even
        {"0x1.00000000000008000000001p0", 1.0 + 0x1p-52, 29, false},  // just above
        {"0x1.fffffffffffff7ffp1023", DBL_MAX, 25, false},
        {"0x1.fffffffffffff8p1023", kInf, 23, true},
        {"0x1p1024", kInf, 8, true},
        {"0x1p99999999999999999999999999999", kInf, 33, true},
        {"0x1p-99999999999999999999999999", 0.0, 31, true},
        {"0x0p99999999999999999", 0.0, 21, false},
        {"0x1p-1022", DBL_MIN, 9, false},
        {"0x1p-1074", kMinSub, 9, false},          // exact subnormal: no error
        {"0x1.8p-1073", 3 * kMinSub, 11, false},
        {"0x1p-1075", 0.0, 9, true},               // tie, to even (zero)
        {"0x1.0000000000001p-1075", kMinSub, 23, true},
        {"0x1.8p-1074", 2 * kMinSub, 11, true},    // tie, to even (up)
        // Tininess is judged after rounding: these round to DBL_MIN, the
        // first from a value that full precision keeps below it.
        {"0x1.fffffffffffffp-1023", DBL_MIN, 23, true},
        {"0x1.fffffffffffff8p-1023", DBL_MIN, 24, false},
        {"0x1.fffffffffffff7ffp-1023", DBL_MIN, 26, true},
    };
    for (const auto& c : cases) expect_parses(c);
}

TEST(FloatParseRounding, HardDecimalCases) {
    const Case cases[] = {
        {"2.4703282292062328e-324", kMinSub, 23, true},
        {"2.4703282292062327e-324", 0.0, 23, true},
        {"4.9406564584124654e-324", kMinSub, 23, true},
        {"1.7976931348623158e308", DBL_MAX, 22, false},
        {"1.7976931348623159e308", kInf, 22, true},
        {"9007199254740993", 9007199254740992.0, 16, false},
        {"9007199254740993.0000000000000000000001", 9007199254740994.0, 39, false},
        {"9007199254740995", 9007199254740996.0, 16, false},
        {"2.2250738585072011e-308", 0x0.fffffffffffffp-1022, 23, true},
        {"2.2250738585072014e-308", DBL_MIN, 23, false},
        {"2.2250738585072012e-308", DBL_MIN, 23, true},
        {"2.2250738585072013e-308", DBL_MIN, 23, false},
        {"0.1", 0.1, 3, false},
        {"1e23", 1e23, 4, false},
        {"8.533e+68", 8.533e+68, 9, false},
        {"4.1006e-184", 4.1006e-184, 11, false},
        {"9.998e+307", 9.998e+307, 10, false},
        {"9.9538452227e-280", 9.9538452227e-280, 17, false},
        {"6.47660115e-260", 6.47660115e-260, 15, false},
        {"7.4e+47", 7.4e+47, 7, false},
        {"5.92e+48", 5.92e+48, 8, false},
        {"7.35e+66", 7.35e+66, 8, false},
        {"8.32116e+55", 8.32116e+55, 11, false},
    };
    for (const auto& c : cases) expect_parses(c);
}

// Decimal digits of k × 5^n: the exact value of k × 2^-n is these digits
// times 10^-n.
std::string times_pow5(std::uint64_t k, int n) {
    std::string little;  // least significant digit first
    for (; k != 0; k /= 10) little.push_back(static_cast<char>('0' + k % 10));
    for (int i = 0; i < n; ++i) {
        int carry = 0;
        for (char& d : little) {
            const int v = (d - '0') * 5 + carry;
            d = static_cast<char>('0' + v % 10);
            carry = v / 10;
        }
        if (carry != 0) little.push_back(static_cast<char>('0' + carry));
    }
    return std::string(little.rbegin(), little.rend());
}

// Exact halfway points, several hundred digits long, then the same with a
// non-zero digit far past the 780th (which must still break the tie) or a
// lower last digit.
TEST(FloatParseRounding, LongTieStrings) {
    const std::string far_zeros(900, '0');
    // 1 + 2^-53: between 1 and the next double.
    const std::string one_tie = times_pow5((1ull << 53) + 1, 53);
    // 2^-1075 and 3 × 2^-1075: subnormal halfway points.
    const std::string sub_tie = times_pow5(1, 1075);
    const std::string sub_tie3 = times_pow5(3, 1075);
    // (2^54 - 1) × 2^-1076: where rounding to full precision reaches DBL_MIN.
    const std::string tiny_edge = times_pow5((1ull << 54) - 1, 1076);
    auto lowered = [](std::string s) {
        s.back() = static_cast<char>(s.back() - 1);
        return s;
    };
    auto exp = [](int e) { return "e-" + std::to_string(e); };
    const Case cases[] = {
        whole(one_tie + exp(53), 1.0, false),
        whole(one_tie + far_zeros + "1" + exp(954), 1.0 + 0x1p-52, false),
        whole(one_tie + far_zeros + exp(953), 1.0, false),
        whole(lowered(one_tie) + "9999" + exp(57), 1.0, false),
        whole(sub_tie + exp(1075), 0.0, true),
        whole(sub_tie + far_zeros + "1" + exp(1976), kMinSub, true),
        whole(sub_tie3 + exp(1075), 2 * kMinSub, true),
        whole(lowered(sub_tie3) + exp(1075), kMinSub, true),
        whole(tiny_edge + exp(1076), DBL_MIN, false),
        whole(lowered(tiny_edge) + exp(1076), DBL_MIN, true),
        whole(tiny_edge + far_zeros + "1" + exp(1977), DBL_MIN, false),
    };
    for (const auto& c : cases) expect_parses(c);
}

TEST(FloatParseRounding, MegabytesOfDigits) {
    const std::size_t n = 4'000'000;
    const std::string zeros(n, '0');
    const Case cases[] = {
        whole("1" + zeros + "e-4000000", 1.0, false),
        whole("0." + zeros + "15e4000001", 1.5, false),
        whole(zeros + "7", 7.0, false),
        whole("0x" + zeros + "1p0", 1.0, false),
        whole("0x1." + zeros + "1p0", 1.0, false),
        whole("0x." + zeros + "1p16000004", 1.0, false),
    };
    for (const auto& c : cases) expect_parses(c);
    // Past the kept digits a non-zero digit still breaks a tie.
    const std::string tie = times_pow5((1ull << 53) + 1, 53);
    expect_parses(whole(tie + zeros + "1e-" + std::to_string(53 + n + 1), 1.0 + 0x1p-52, false));
}

TEST(FloatParseNan, FormsAndSign) {
    const struct {
        const char* text;
        std::size_t consumed;
        bool negative;
    } cases[] = {
        {"nan", 3, false},
        {"-NaN", 4, true},
        {"+nAn(1)", 7, false},
        {"nan()", 5, false},
        {"nan(0x1A_z)", 11, false},
        {"nan(", 3, false},
        {"nan(a b)", 3, false},
        {"nan(a-b)", 3, false},
        {" -nanx", 5, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        for (const FloatParse r : {parse_double(c.text), parse_double(widen(c.text).c_str())}) {
            EXPECT_TRUE(std::isnan(r.value));
            EXPECT_EQ(std::signbit(r.value), c.negative);
            EXPECT_EQ(r.consumed, c.consumed);
            EXPECT_FALSE(r.range_error);
        }
    }
}

// Only ASCII takes part in a number, however the wide character might look.
TEST(FloatParseWide, OnlyAsciiCounts) {
    const struct {
        const wchar_t* text;
        double value;
        std::size_t consumed;
    } cases[] = {
        {L"1\u0660", 1.0, 1},        // Arabic-Indic zero
        {L"\u00a01", 0.0, 0},        // no-break space
        {L"\u20031", 0.0, 0},        // em space
        {L"\uff11", 0.0, 0},         // fullwidth one
        {L"1e\u0665", 1.0, 1},
        {L"inf\u0131nity", kInf, 3},  // dotless i
        {L"\u0130nf", 0.0, 0},       // dotted capital I
        {L"0x1\uff21", 1.0, 3},      // fullwidth A
        {L"2.5\u066b5", 2.5, 3},     // Arabic decimal separator
        {L"1\u00b75", 1.0, 1},
    };
    for (const auto& c : cases) {
        const FloatParse r = parse_double(c.text);
        EXPECT_EQ(bits(r.value), bits(c.value)) << static_cast<long>(c.text[1]);
        EXPECT_EQ(r.consumed, c.consumed) << static_cast<long>(c.text[1]);
    }
}

}  // namespace
}  // namespace numerio
