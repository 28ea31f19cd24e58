// Small text helpers shared by the option and command parsers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace instsim {

// Splits at every separator; empty pieces are kept.
std::vector<std::string_view> split_all(std::string_view text, char separator);

// Decimal digits only (no sign, no blanks), no overflow past `limit`.
std::optional<std::uint64_t> parse_decimal(std::string_view text, std::uint64_t limit);

// An optional minus sign followed by decimal digits that fit an int.
std::optional<int> parse_signed(std::string_view text);

}  // namespace instsim
