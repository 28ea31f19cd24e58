#include "text_fields.h"

#include <climits>

namespace instsim {

std::vector<std::string_view> split_all(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::optional<std::uint64_t> parse_decimal(std::string_view text, std::uint64_t limit) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (limit - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<int> parse_signed(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    const auto magnitude = parse_decimal(text, static_cast<std::uint64_t>(INT_MAX) + (negative ? 1 : 0));
    if (!magnitude) return std::nullopt;
    return negative ? static_cast<int>(-static_cast<std::int64_t>(*magnitude)) : static_cast<int>(*magnitude);
}

}  // namespace instsim
