// parse_double against glibc's strtod, and the narrow scanf engine against
// glibc's sscanf, on seeded random inputs, in the "C" locale.
//
// Where the two are known to part ways the generators stay clear of it:
// glibc's sscanf accepts a number that ends in a dangling prefix ("1e",
// "0x", "nan(") by looking back past its one character of pushback, and
// it answers EOF where a suppressed conversion had already completed.
#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "float_parse.h"
#include "scan.h"

namespace numerio {
namespace {

class ScanDifferential : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr); }
};

using Random = std::mt19937_64;

int uniform(Random& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}

bool chance(Random& rng, double p) {
    return std::bernoulli_distribution(p)(rng);
}

char pick(Random& rng, const char* alphabet) {
    return alphabet[uniform(rng, 0, static_cast<int>(std::strlen(alphabet)) - 1)];
}

std::string repeat(Random& rng, const char* alphabet, int low, int high) {
    std::string s;
    for (int n = uniform(rng, low, high); n > 0; --n) s += pick(rng, alphabet);
    return s;
}

double random_double(Random& rng) {
    switch (uniform(rng, 0, 3)) {
    case 0: {  // any bit pattern
        const std::uint64_t b = rng();
        double d;
        std::memcpy(&d, &b, sizeof d);
        return d;
    }
    case 1:  // around the subnormal range
        return std::ldexp(std::uniform_real_distribution<double>(0.5, 1.0)(rng),
                          uniform(rng, -1076, -1015));
    case 2:  // everyday magnitudes
        return std::uniform_real_distribution<double>(-1e6, 1e6)(rng);
    default:  // near the top
        return std::ldexp(std::uniform_real_distribution<double>(0.5, 1.0)(rng),
                          uniform(rng, 1015, 1024));
    }
}

std::string printf_string(const char* format, double d, int precision) {
    char buffer[1200];
    std::snprintf(buffer, sizeof buffer, format, precision, d);
    return buffer;
}

// Text that is mostly a number of some kind, often near a rounding or range
// boundary, sometimes damaged, with something after it.
std::string random_number_text(Random& rng) {
    std::string s = chance(rng, 0.1) ? repeat(rng, " \t\n\v\f\r", 1, 3) : "";
    const double d = random_double(rng);
    switch (uniform(rng, 0, 7)) {
    case 0:
        s += printf_string("%.*g", d, uniform(rng, 1, 17));
        break;
    case 1: {  // correctly printed, then the last digits disturbed
        std::string t = printf_string("%.*e", d, uniform(rng, 15, 25));
        const auto e = t.find('e');
        if (e != std::string::npos && e > 2) t[e - 1] = pick(rng, "0123456789");
        s += t;
        break;
    }
    case 2:
        s += printf_string("%.*a", d, uniform(rng, 0, 15));
        break;
    case 3: {  // hexadecimal by hand, long mantissas, odd exponents
        s += chance(rng, 0.5) ? "-0x" : "0X";
        s += repeat(rng, "0123456789abcdefABCDEF", 0, 24);
        if (chance(rng, 0.6)) s += "." + repeat(rng, "0123456789abcdef", 0, 24);
        if (chance(rng, 0.8)) s += pick(rng, "pP") + std::to_string(uniform(rng, -1200, 1100));
        break;
    }
    case 4: {  // decimal by hand
        s += chance(rng, 0.3) ? "-" : "";
        s += repeat(rng, "0", 0, 3) + repeat(rng, "0123456789", 0, 30);
        if (chance(rng, 0.6)) s += "." + repeat(rng, "0123456789", 0, 30);
        if (chance(rng, 0.7)) {
            s += pick(rng, "eE");
            s += chance(rng, 0.5) ? "-" : (chance(rng, 0.5) ? "+" : "");
            s += std::to_string(uniform(rng, 0, 400));
        }
        break;
    }
    case 5: {  // long, exactly printed values (ties and their neighbours)
        std::string t = printf_string("%.*e", d, uniform(rng, 700, 780));
        const auto e = t.find('e');
        if (e != std::string::npos && chance(rng, 0.5)) t.insert(e, repeat(rng, "0", 1, 60) + "1");
        s += t;
        break;
    }
    case 6:  // words and fragments
        s += repeat(rng, "+-.0123456789eEpPxXinfatyINFATY()_,", 1, 12);
        break;
    default: {
        static const char* const kWords[] = {"inf", "-INF", "infinity", "+Infinity", "infin",
                                             "nan", "-NaN", "nan()", "nan(abc_12)", "nan(",
                                             "nan(a b)", "1e99999999999999999999", "0x1p-99999999999"};
        s += kWords[uniform(rng, 0, sizeof kWords / sizeof *kWords - 1)];
        break;
    }
    }
    if (chance(rng, 0.5)) s += repeat(rng, "0123456789.eEpPxX+- ,abc(", 1, 3);
    return s;
}

TEST_F(ScanDifferential, ParseDoubleMatchesStrtod) {
    Random rng(20240611);
    int compared = 0;
    constexpr int kCases = 100000;
    for (int i = 0; i < kCases; ++i) {
        const std::string text = random_number_text(rng);
        char* end = nullptr;
        errno = 0;
        const double expected = std::strtod(text.c_str(), &end);
        const bool expected_range = errno == ERANGE;
        const FloatParse got = parse_double(text.c_str());
        const auto expected_consumed = static_cast<std::size_t>(end - text.c_str());
        const bool same_value =
            std::isnan(expected)
                ? std::isnan(got.value) && std::signbit(got.value) == std::signbit(expected)
                : std::memcmp(&expected, &got.value, sizeof expected) == 0;
        ASSERT_TRUE(same_value && got.consumed == expected_consumed &&
                    got.range_error == expected_range)
            << "text \"" << text << "\": strtod " << expected << " (" << expected_consumed
            << (expected_range ? ", ERANGE" : "") << "), parse_double " << got.value << " ("
            << got.consumed << (got.range_error ? ", ERANGE" : "") << ")";
        ++compared;
    }
    EXPECT_EQ(compared, kCases);
}

// One argument slot, large and aligned enough for any conversion's target.
union Slot {
    long long integer;
    long double floating;
    void* pointer;
    char text[24];
};

constexpr int kSlots = 8;

int call_vscan(const std::string& input, const char* format, Slot* s, bool& reached_end) {
    struct Source final : InputSource<char> {
        explicit Source(const std::string& t) : text(t) {}
        long get() override {
            if (pos < text.size()) return static_cast<unsigned char>(text[pos++]);
            reached_end = true;
            return kEnd;
        }
        void unget(long) override { --pos; }
        const std::string& text;
        std::size_t pos = 0;
        bool reached_end = false;
    } source(input);
    auto run = [&](const char* f, ...) {
        va_list args;
        va_start(args, f);
        const int r = vscan(source, f, args);
        va_end(args);
        return r;
    };
    const int result = run(format, &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6], &s[7]);
    reached_end = source.reached_end;
    return result;
}

int call_sscanf(const std::string& input, const char* format, Slot* s) {
    return std::sscanf(input.c_str(), format, &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6],
                       &s[7]);
}

// A random format of up to kSlots assigning conversions and an input that
// mostly matches it. Each item's input is exactly what its directives
// take when nothing is cut short by a width: numbers end at a literal
// separator, strings at white space the format skips, and what follows
// white space never starts with white space itself. Then no "%c" can come
// up short at the end of the input, where glibc stores a partial field.
struct ScanCase {
    std::string format;
    std::string input;
    // Input offsets at which an item ends, and whether a suppressed
    // conversion has completed by then.
    std::vector<std::pair<std::size_t, bool>> boundaries;
    int assignments = 0;
    // A "%f" into a float reads hexadecimal text: glibc's strtof misses
    // some underflows there (tiny results whose only lost bits lie below
    // the rounding bit), which are reported here.
    bool float_from_hex = false;
};

std::string integer_text(Random& rng, char conversion, bool is_signed, int bits, int& width) {
    // A magnitude that fits the destination, so no overflow is involved.
    const int magnitude_bits = uniform(rng, 0, is_signed ? bits - 1 : bits);
    std::uint64_t magnitude = magnitude_bits == 0 ? 0 : rng() >> (64 - magnitude_bits);
    if (magnitude_bits == 64 && magnitude == 0) magnitude = 1;
    const bool negative = conversion != 'p' && chance(rng, 0.3);
    std::string sign = negative ? "-" : (chance(rng, 0.1) ? "+" : "");
    char digits[40];
    bool prefixed = false;
    switch (conversion) {
    case 'o':
        std::snprintf(digits, sizeof digits, "%llo", static_cast<unsigned long long>(magnitude));
        break;
    case 'x': case 'X': case 'p':
        prefixed = chance(rng, 0.3);
        std::snprintf(digits, sizeof digits, chance(rng, 0.5) ? "%llx" : "%llX",
                      static_cast<unsigned long long>(magnitude));
        break;
    case 'i':
        switch (uniform(rng, 0, 2)) {
        case 0:
            std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(magnitude));
            break;
        case 1:
            std::snprintf(digits, sizeof digits, "0%llo", static_cast<unsigned long long>(magnitude));
            break;
        default:
            prefixed = true;
            std::snprintf(digits, sizeof digits, "%llx", static_cast<unsigned long long>(magnitude));
            break;
        }
        break;
    default:
        std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(magnitude));
        break;
    }
    std::string text = sign + (prefixed ? (chance(rng, 0.5) ? "0x" : "0X") : "") + digits;
    // A width may cut the digits, but never inside the sign or the prefix.
    const int minimum = static_cast<int>(sign.size()) + (prefixed ? 3 : 1);
    width = chance(rng, 0.3) ? uniform(rng, minimum, static_cast<int>(text.size()) + 2) : 0;
    return text;
}

ScanCase random_scan_case(Random& rng) {
    static const struct {
        const char* length;
        int bits;
    } kIntegerLengths[] = {{"hh", 8}, {"h", 16}, {"", 32}, {"l", 64}, {"ll", 64},
                           {"j", 64}, {"z", 64}, {"t", 64}};
    ScanCase c;
    bool suppressed_done = false;
    int slots = 0;
    for (int items = uniform(rng, 1, 10); items > 0; --items) {
        const int kind = uniform(rng, 0, 9);
        const bool suppress = chance(rng, 0.15);
        const std::string star = suppress ? "*" : "";
        bool takes_argument = !suppress;
        if (takes_argument && slots == kSlots) break;
        std::string lead = chance(rng, 0.3) ? repeat(rng, " \t\n", 1, 2) : "";
        switch (kind) {
        case 0: case 1: {  // integer
            const char conversion = pick(rng, "diuoxXp");
            const auto& length = kIntegerLengths[conversion == 'p' ? 3 : uniform(rng, 0, 7)];
            int width = 0;
            const std::string text = integer_text(
                rng, conversion, conversion == 'd' || conversion == 'i', length.bits, width);
            const char separator = pick(rng, ",;");
            c.format += "%" + star + (width ? std::to_string(width) : "") +
                        (conversion == 'p' ? "" : length.length) + conversion + separator;
            c.input += lead + text + separator;
            break;
        }
        case 2: case 3: {  // floating point
            const double d = random_double(rng);
            std::string text;
            int width = 0;
            switch (uniform(rng, 0, 4)) {
            case 0: text = printf_string("%.*g", d, uniform(rng, 1, 17)); break;
            case 1: text = printf_string("%.*a", d, uniform(rng, 0, 13)); break;
            case 2: text = printf_string("%.*e", d, uniform(rng, 0, 20)); break;
            case 3:
                text = printf_string("%.*f", std::fmod(d, 1e9), uniform(rng, 0, 8));
                // A width may cut plain decimals anywhere past a sign.
                if (chance(rng, 0.4)) width = uniform(rng, text[0] == '-' ? 2 : 1, 14);
                break;
            default: {
                static const char* const kWords[] = {"inf", "-INFINITY", "nan", "-nan",
                                                     "Infinity", "+inf"};
                text = kWords[uniform(rng, 0, 5)];
                break;
            }
            }
            const char separator = pick(rng, ",;");
            const bool single = chance(rng, 0.5);
            if (single && text.find_first_of("xX") != std::string::npos) c.float_from_hex = true;
            c.format += "%" + star + (width ? std::to_string(width) : "") + (single ? "" : "l") +
                        pick(rng, "aefgAEFG") + separator;
            c.input += lead + text + separator;
            break;
        }
        case 4: {  // string
            const int width = uniform(rng, 1, 15);
            c.format += "%" + star + std::to_string(width) + "s ";
            c.input += lead + repeat(rng, "abcXYZ019_-.\x80\xe9", 1, width) + pick(rng, " \t\n");
            break;
        }
        case 5: {  // characters, exactly as many as the width
            const int width = uniform(rng, 1, 16);
            c.format += "%" + star + (width > 1 || chance(rng, 0.5) ? std::to_string(width) : "") +
                        "c";
            c.input += pick(rng, "ab1\xff") + repeat(rng, "ab \t1\xff", width - 1, width - 1);
            break;
        }
        case 6: {  // scan set
            // Never '|' in the set: the field must be followed by one, so
            // that a field ended early stops the call rather than leave
            // characters to the next directive.
            const bool negated = chance(rng, 0.3);
            std::string set = negated ? "^|" : "";
            if (chance(rng, 0.2)) set += ']';
            if (chance(rng, 0.5)) {
                const char a = pick(rng, "ghrstw");
                set += std::string(1, a) + "-" + static_cast<char>(a + uniform(rng, 0, 3));
            }
            set += repeat(rng, "ghstwxyz ,-", 0, 4);
            c.format += "%" + star + std::to_string(uniform(rng, 1, 15)) + "[" + set + "]|";
            c.input += pick(rng, "ghrtwxyz,-]^") + repeat(rng, "ghrtwxyz ,-]^", 0, 15) + "|";
            break;
        }
        case 7:  // count: takes an argument, but is no assignment
            c.format += "%" + star + "n";
            break;
        case 8:  // literal, or a percent sign
            if (chance(rng, 0.5)) {
                c.format += "%%";
                c.input += lead + "%";
            } else {
                const char literal = pick(rng, ",;:ab");
                c.format += literal;
                c.input += literal;
            }
            takes_argument = false;
            break;
        default:  // white space
            c.format += repeat(rng, " \t\n", 1, 2);
            c.input += repeat(rng, " \t\n\v\f\r", 0, 3);
            takes_argument = false;
            break;
        }
        if (kind <= 6 && suppress) suppressed_done = true;
        if (takes_argument) ++slots;
        if (takes_argument && kind != 7) ++c.assignments;
        c.boundaries.emplace_back(c.input.size(), suppressed_done);
    }
    if (chance(rng, 0.05)) c.input += repeat(rng, "abc \x01", 1, 5);  // noise
    return c;
}

TEST_F(ScanDifferential, VscanMatchesSscanf) {
    Random rng(7031);
    int compared = 0, ended_early = 0;
    constexpr int kCases = 50000;
    int full = 0;
    for (int i = 0; i < kCases; ++i) {
        ScanCase c = random_scan_case(rng);
        bool suppressed_before_end = false;
        const bool truncated = chance(rng, 0.3);
        if (truncated) {  // end the input after some item
            const auto& b = c.boundaries[uniform(rng, 0, static_cast<int>(c.boundaries.size()) - 1)];
            c.input.resize(b.first);
            suppressed_before_end = b.second;
            ++ended_early;
        }
        Slot expected[kSlots], got[kSlots];
        std::memset(expected, 0x5A, sizeof expected);
        std::memset(got, 0x5A, sizeof got);
        errno = 0;
        const int expected_result = call_sscanf(c.input, c.format.c_str(), expected);
        const bool expected_range = errno == ERANGE;
        errno = 0;
        bool reached_end = false;
        const int got_result = call_vscan(c.input, c.format.c_str(), got, reached_end);
        const bool got_range = errno == ERANGE;
        SCOPED_TRACE("format \"" + c.format + "\" input \"" + c.input + "\"");
        if (expected_result == EOF && got_result == 0 && suppressed_before_end) {
            // glibc's EOF after a completed suppressed conversion: the C
            // standard counts that conversion, so 0 is the answer.
            continue;
        }
        ASSERT_EQ(got_result, expected_result);
        // glibc clears errno when the input runs out, even after a range
        // error; the error stands here.
        if (reached_end || c.float_from_hex) {
            ASSERT_TRUE(got_range || !expected_range);
        } else {
            ASSERT_EQ(got_range, expected_range);
        }
        for (int k = 0; k < kSlots; ++k) {
            ASSERT_EQ(std::memcmp(&expected[k], &got[k], sizeof(Slot)), 0) << "slot " << k;
        }
        ++compared;
        if (got_result == c.assignments) ++full;
    }
    // Most cases must really be compared, and both complete calls and ones
    // that end early must be common.
    EXPECT_GT(compared, kCases * 9 / 10);
    EXPECT_GT(ended_early, kCases / 5);
    EXPECT_GT(full, kCases / 4);
}

}  // namespace
}  // namespace numerio
