// The engine against glibc's snprintf in the "C" locale, over a seeded
// stream of random conversions and values. Only conversions whose meaning is
// the same everywhere are drawn: %p, 'L', the I-modifiers and %S/%C follow
// the Windows convention on purpose, and glibc's C locale has no narrow form
// for wide characters above 127, so %lc/%ls are left to the unit tests.

#include <gtest/gtest.h>

#include <cinttypes>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "format.h"

// The formats are built at run time: that is the point of this test.
#pragma GCC diagnostic ignored "-Wformat-security"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

namespace {

class StringSink final : public numerio::OutputSink<char> {
public:
    bool write(const char* text, std::size_t count) override {
        text_.append(text, count);
        return true;
    }
    std::string text_;
};

int ours(std::string& text, const char* format, ...) {
    StringSink sink;
    va_list args;
    va_start(args, format);
    int result = numerio::vformat(sink, format, args);
    va_end(args);
    text = std::move(sink.text_);
    return result;
}

std::string describe(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    char text[80];
    std::snprintf(text, sizeof text, "double bits 0x%016" PRIx64 " (%a)", bits, d);
    return text;
}

std::string describe(const char* s) { return s ? '"' + std::string(s) + '"' : std::string("null"); }

template <typename T>
std::enable_if_t<std::is_integral_v<T>, std::string> describe(T v) {
    return "integer " + std::to_string(v);
}

int decimal_exponent(double magnitude, int significant) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", significant - 1, magnitude);
    return std::atoi(std::strchr(text, 'e') + 1);
}

// glibc drops the zeros that '#' keeps when rounding carries a %g value from
// fixed into exponent style ("%#g" of 999999.5 gives "1.e+06", not
// "1.00000e+06"); the engine prints what the C standard says.
bool glibc_drops_kept_zeros(char conv, bool alt, int precision, double v) {
    if (!alt || (conv != 'g' && conv != 'G') || !std::isfinite(v) || v == 0) return false;
    const int p = precision < 0 ? 6 : precision == 0 ? 1 : precision;
    const double magnitude = std::fabs(v);
    return decimal_exponent(magnitude, 40) == p - 1 && decimal_exponent(magnitude, p) == p;
}

// Flags, width and precision of one conversion, and the '*' arguments that
// go before its value.
struct Head {
    std::string text = "%";
    std::vector<int> stars;
    bool alt = false;
    int precision = -1;
};

class Generator {
public:
    explicit Generator(std::uint64_t seed) : rng_(seed) {}

    std::uint64_t bits() { return rng_(); }
    int below(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

    Head head(bool long_precision) {
        Head h;
        while (chance(35)) {
            char flag = "-+ #0"[below(5)];
            h.text += flag;
            h.alt |= flag == '#';
        }
        int w = below(100);
        if (w < 40) {
            h.text += std::to_string(below(30));
        } else if (w < 45) {
            h.text += std::to_string(100 + below(300));
        } else if (w < 55) {
            h.text += '*';
            h.stars.push_back(below(61) - 30);
        }
        int p = below(100);
        if (p < 35) {
            h.precision = below(25);
            h.text += '.' + std::to_string(h.precision);
        } else if (p < 40) {
            h.precision = 0;
            h.text += '.';
        } else if (p < 48) {
            int star = below(36) - 6;
            h.precision = star < 0 ? -1 : star;
            h.text += ".*";
            h.stars.push_back(star);
        } else if (p < 52 && long_precision) {
            h.precision = below(1200);
            h.text += '.' + std::to_string(h.precision);
        } else if (p < 53 && long_precision) {
            h.precision = 1000 + below(2000);
            h.text += '.' + std::to_string(h.precision);
        }
        return h;
    }

    double value() {
        switch (below(12)) {
            case 0:  // any bit pattern: huge, tiny, subnormal, inf, nan
                return from_bits(bits());
            case 1:  // subnormal, either sign
                return from_bits((bits() >> 12) | (bits() & (std::uint64_t{1} << 63)));
            case 2: {
                static const double special[] = {
                    0.0,
                    -0.0,
                    std::numeric_limits<double>::infinity(),
                    -std::numeric_limits<double>::infinity(),
                    std::numeric_limits<double>::quiet_NaN(),
                    -std::numeric_limits<double>::quiet_NaN(),
                    std::numeric_limits<double>::max(),
                    std::numeric_limits<double>::min(),
                    std::numeric_limits<double>::denorm_min(),
                    -std::numeric_limits<double>::denorm_min(),
                    std::numeric_limits<double>::epsilon(),
                    1.0,
                    0.1,
                    9.5,
                    99999.5,
                    999999.5,
                    0.000099999,
                    0.0001,
                    1e-5,
                    1e15,
                    1e16,
                    1e17,
                    9007199254740993.0,
                };
                return special[below(sizeof special / sizeof special[0])];
            }
            case 3:  // decimal ties: k + 0.5
                return (below(2000) - 1000) + 0.5;
            case 4:  // ties further right: k/8 ... k/1024
                return (below(20000) - 10000) / static_cast<double>(1 << (3 + below(8)));
            case 5:  // just below a power of ten, where %g changes style
                return std::pow(10.0, below(40) - 20) * (1.0 - std::ldexp(static_cast<double>(below(64)), -50));
            case 6:  // few significant bits: %a ties
                return std::ldexp(static_cast<double>(bits() >> (11 + below(50))), below(200) - 100);
            default: {  // ordinary magnitudes
                double mantissa = std::ldexp(static_cast<double>(bits() >> 11), -53);
                double d = std::ldexp(mantissa, below(140) - 70);
                return chance(50) ? -d : d;
            }
        }
    }

    std::uint64_t integer_bits() {
        switch (below(6)) {
            case 0:
                return 0;
            case 1: {
                static const std::uint64_t edges[] = {
                    1,
                    ~std::uint64_t{0},
                    0x7F,
                    0x80,
                    0xFF,
                    0x7FFF,
                    0x8000,
                    0xFFFF,
                    0x7FFFFFFF,
                    0x80000000,
                    0xFFFFFFFF,
                    0x7FFFFFFFFFFFFFFF,
                    0x8000000000000000,
                    ~std::uint64_t{127},
                    ~std::uint64_t{32767},
                };
                return edges[below(sizeof edges / sizeof edges[0])];
            }
            case 2:
                return static_cast<std::uint64_t>(below(2000) - 1000);
            case 3:
                return bits() >> below(64);
            default:
                return bits();
        }
    }

private:
    static double from_bits(std::uint64_t b) {
        double d;
        std::memcpy(&d, &b, sizeof d);
        return d;
    }

    std::mt19937_64 rng_;
};

}  // namespace

class FormatDifferential : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_ALL, "C"); }

    template <typename... Args>
    void compare(const std::string& format, const std::string& value, Args... args) {
        ++cases_;
        std::string expected(4096, '\0');
        int expected_result = std::snprintf(expected.data(), expected.size(), format.c_str(), args...);
        if (expected_result >= static_cast<int>(expected.size())) {
            expected.assign(static_cast<std::size_t>(expected_result) + 1, '\0');
            std::snprintf(expected.data(), expected.size(), format.c_str(), args...);
        }
        expected.resize(expected_result < 0 ? 0 : static_cast<std::size_t>(expected_result));

        std::string actual;
        int actual_result = ours(actual, format.c_str(), args...);
        if (actual_result != expected_result || actual != expected) {
            if (++failures_ <= 20) {
                ADD_FAILURE() << "format \"" << format << "\" with " << value << "\n  glibc:   "
                              << expected_result << " [" << expected << "]\n  numerio: " << actual_result
                              << " [" << actual << "]";
            }
        }
    }

    // The '*' arguments go in front of the value.
    template <typename T>
    void run(const Head& head, const std::string& rest, T value) {
        const std::string format = head.text + rest;
        switch (head.stars.size()) {
            case 0:
                compare(format, describe(value), value);
                break;
            case 1:
                compare(format, describe(value), head.stars[0], value);
                break;
            default:
                compare(format, describe(value), head.stars[0], head.stars[1], value);
                break;
        }
    }

    template <typename Signed, typename Unsigned>
    void integer(const Head& head, const char* length, char conv, std::uint64_t bits) {
        const std::string rest = std::string(length) + conv + "|";
        if (conv == 'd' || conv == 'i') {
            run(head, rest, static_cast<Signed>(bits));
        } else {
            run(head, rest, static_cast<Unsigned>(bits));
        }
    }

    int cases_ = 0;
    int failures_ = 0;
};

TEST_F(FormatDifferential, RandomConversionsMatchGlibc) {
    Generator gen(0x6e756d6572696fULL);
    static const char kIntConv[] = "diouxX";
    static const char kFloatConv[] = "eEfFgGaA";
    static const char* const kStrings[] = {
        "", "a", "hello", "hello, world", "\xe9t\xe9", nullptr,
        "a string longer than the engine's staging buffer, so that it has to be handed over in "
        "more than one piece: a string longer than the engine's staging buffer, so that it has to "
        "be handed over in more than one piece, and then some text to be quite sure of it......"};
    int excluded = 0;
    for (int i = 0; i < 60000; ++i) {
        // A literal "%%" now and then, before or after the conversion.
        const char* before = gen.chance(5) ? "%%<" : "<";
        const char* after = gen.chance(5) ? ">%%" : ">";
        const int kind = gen.below(20);
        if (kind < 8) {
            Head head = gen.head(true);
            const char conv = kFloatConv[gen.below(8)];
            const double v = gen.value();
            if (glibc_drops_kept_zeros(conv, head.alt, head.precision, v)) {
                ++excluded;
                continue;
            }
            head.text = before + head.text;
            run(head, std::string(gen.chance(10) ? "l" : "") + conv + after, v);
        } else if (kind < 16) {
            Head head = gen.head(false);
            head.text = before + head.text;
            const char conv = kIntConv[gen.below(6)];
            const std::uint64_t bits = gen.integer_bits();
            switch (gen.below(8)) {
                case 0:
                    integer<int, unsigned>(head, "hh", conv, bits);
                    break;
                case 1:
                    integer<int, unsigned>(head, "h", conv, bits);
                    break;
                case 2:
                    integer<long, unsigned long>(head, "l", conv, bits);
                    break;
                case 3:
                    integer<long long, unsigned long long>(head, "ll", conv, bits);
                    break;
                case 4:
                    integer<std::intmax_t, std::uintmax_t>(head, "j", conv, bits);
                    break;
                case 5:
                    integer<std::make_signed_t<std::size_t>, std::size_t>(head, "z", conv, bits);
                    break;
                case 6:
                    integer<std::ptrdiff_t, std::make_unsigned_t<std::ptrdiff_t>>(head, "t", conv, bits);
                    break;
                default:
                    integer<int, unsigned>(head, "", conv, bits);
                    break;
            }
        } else if (kind < 19) {
            Head head = gen.head(false);
            head.text = before + head.text;
            run(head, std::string("s") + after, kStrings[gen.below(sizeof kStrings / sizeof kStrings[0])]);
        } else {
            Head head = gen.head(false);
            head.text = before + head.text;
            run(head, std::string("c") + after, gen.chance(5) ? 0 : 1 + gen.below(255));
        }
    }
    EXPECT_EQ(failures_, 0) << "of " << cases_ << " cases";
    // The exclusion is for a rare rounding case; if it ever covered a real
    // share of the draws it would hide faults.
    EXPECT_LT(excluded, 100);
}
