// Fuzzes the narrow and wide scanf engines. The data is a format, a NUL,
// then the input. The format is rebuilt so that it is safe by
// construction: at most kSlots directives take an argument, every one gets
// its own slot, and every text directive has a width that fits the slot.
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "scan.h"

namespace {

constexpr int kSlots = 8;
// Two more than the format may use: should the engine take an argument
// that the sanitizer did not count, it still lands in a slot.
constexpr int kPassed = kSlots + 2;

struct alignas(16) Slot {
    unsigned char bytes[64];
};

// Wide stand-ins for the bytes 0x80-0xFF: some fit a narrow destination,
// some do not.
wchar_t widen(unsigned char b) {
    static const wchar_t kOthers[] = {0x00E9, 0x00FF, 0x0100, 0x0416, 0x0660, 0x2003,
                                      0x3000, 0xFF11, 0x0131, 0xFFFF, 0x00A0, 0x20AC};
    if (b < 0x80) return static_cast<wchar_t>(b);
    return kOthers[b % (sizeof kOthers / sizeof *kOthers)];
}

// Input that traps when the engine breaks its side of the contract.
template <typename CharT>
class Source final : public numerio::InputSource<CharT> {
public:
    explicit Source(const std::basic_string<CharT>& text) : text_(text) {}
    long get() override {
        if (ended_) __builtin_trap();  // asked again after the end
        pushed_back_ = false;
        if (pos_ == text_.size()) {
            ended_ = true;
            return numerio::InputSource<CharT>::kEnd;
        }
        return static_cast<long>(static_cast<std::make_unsigned_t<CharT>>(text_[pos_++]));
    }
    void unget(long c) override {
        if (pushed_back_ || pos_ == 0 ||
            c != static_cast<long>(static_cast<std::make_unsigned_t<CharT>>(text_[pos_ - 1]))) {
            __builtin_trap();
        }
        --pos_;
        pushed_back_ = true;
    }

private:
    const std::basic_string<CharT>& text_;
    std::size_t pos_ = 0;
    bool pushed_back_ = false;
    bool ended_ = false;
};

enum class SlotUse { kNumber, kText };

struct Sanitized {
    std::string format;
    std::vector<SlotUse> uses;
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

Sanitized sanitize(const std::string& raw) {
    Sanitized out;
    std::size_t i = 0;
    while (i < raw.size()) {
        if (raw[i] != '%') {
            out.format += raw[i++];
            continue;
        }
        const std::size_t start = i++;
        if (i < raw.size() && raw[i] == '%') {
            out.format += "%%";
            ++i;
            continue;
        }
        const bool suppress = i < raw.size() && raw[i] == '*';
        if (suppress) ++i;
        long width = 0;
        while (i < raw.size() && is_digit(raw[i])) {
            if (width < 100000) width = width * 10 + (raw[i] - '0');
            ++i;
        }
        std::string length;
        static const char* const kLengths[] = {"hh", "h", "ll", "l", "L", "j", "z", "t",
                                               "I64", "I32", "I", "w"};
        for (const char* l : kLengths) {
            if (raw.compare(i, std::strlen(l), l) == 0) {
                length = l;
                i += length.size();
                break;
            }
        }
        const char conversion = i < raw.size() ? raw[i++] : '\0';
        std::string set;
        if (conversion == '[') {
            const std::size_t set_start = i;
            if (i < raw.size() && raw[i] == '^') ++i;
            if (i < raw.size() && raw[i] == ']') ++i;
            while (i < raw.size() && raw[i] != ']') ++i;
            if (i == raw.size()) {
                // Unterminated: the engine stops here, taking nothing.
                out.format += raw.substr(start);
                return out;
            }
            set = raw.substr(set_start, i - set_start + 1);
            ++i;
        }
        const bool text = std::strchr("cCsS[", conversion) != nullptr && conversion != '\0';
        const bool numeric = std::strchr("diuoxXnaefgAEFGp", conversion) != nullptr &&
                             conversion != '\0';
        const bool text_length = length.empty() || length == "h" || length == "l" || length == "w";
        if ((text && !text_length) || (!text && !numeric)) {
            // A directive the engine rejects: it stops there. Text ones are
            // replaced, so that a disagreement can never mean an unbounded
            // string.
            out.format += text ? std::string("%y") : raw.substr(start, i - start);
            return out;
        }
        if (!suppress && static_cast<int>(out.uses.size()) == kSlots) return out;
        if (text) {
            const long limit = (conversion == 'c' || conversion == 'C') ? 16 : 15;
            if (width == 0 || width > limit) width = limit;
        }
        out.format += '%';
        if (suppress) out.format += '*';
        if (width != 0) out.format += std::to_string(width);
        out.format += length;
        out.format += conversion;
        out.format += set;
        if (!suppress) out.uses.push_back(text ? SlotUse::kText : SlotUse::kNumber);
    }
    return out;
}

template <typename CharT>
int run(numerio::InputSource<CharT>& in, const CharT* format, Slot* s) {
    auto call = [&](const CharT* f, ...) {
        va_list args;
        va_start(args, f);
        const int r = numerio::vscan(in, f, args);
        va_end(args);
        return r;
    };
    static_assert(kPassed == 10);
    return call(format, &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6], &s[7], &s[8], &s[9]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto* bytes = reinterpret_cast<const char*>(data);
    const auto* split = static_cast<const char*>(std::memchr(bytes, 0, size));
    const std::size_t format_size = split ? static_cast<std::size_t>(split - bytes) : size;
    const std::string raw_format(bytes, format_size);
    const std::string input = split ? std::string(split + 1, bytes + size) : std::string();

    const Sanitized sanitized = sanitize(raw_format);
    bool ascii = true;
    for (unsigned char c : raw_format + input) ascii &= c < 0x80;

    Slot narrow_slots[kPassed], wide_slots[kPassed];
    std::memset(narrow_slots, 0, sizeof narrow_slots);
    std::memset(wide_slots, 0, sizeof wide_slots);

    Source<char> narrow_in(input);
    const int narrow = run(narrow_in, sanitized.format.c_str(), narrow_slots);

    std::wstring wide_format, wide_input;
    for (unsigned char c : sanitized.format) wide_format.push_back(widen(c));
    for (unsigned char c : input) wide_input.push_back(widen(c));
    Source<wchar_t> wide_in(wide_input);
    const int wide = run(wide_in, wide_format.c_str(), wide_slots);

    const int assigning = static_cast<int>(sanitized.uses.size());
    if (narrow < -1 || narrow > assigning || wide < -1 || wide > assigning) __builtin_trap();
    // The unused slots stay untouched.
    for (int k = assigning; k < kPassed; ++k) {
        for (unsigned char b : narrow_slots[k].bytes) if (b != 0) __builtin_trap();
        for (unsigned char b : wide_slots[k].bytes) if (b != 0) __builtin_trap();
    }
    // On ASCII text both engines read alike; only text is stored in
    // characters of different widths.
    if (ascii) {
        if (narrow != wide) __builtin_trap();
        for (int k = 0; k < assigning; ++k) {
            if (sanitized.uses[k] == SlotUse::kNumber &&
                std::memcmp(narrow_slots[k].bytes, wide_slots[k].bytes, sizeof(Slot)) != 0) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
