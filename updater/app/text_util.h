// Small text helpers shared by the platform-free parts of the update tool.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zu {

// Case folding for comparisons of option words and settings values: ASCII and
// the Latin-1 letters, which is every letter these words can contain
// ("Français").
wchar_t FoldCase(wchar_t c);
bool EqualsIgnoreCase(const std::wstring& a, const std::wstring& b);
bool StartsWithIgnoreCase(const std::wstring& text, const std::wstring& prefix);

// A leading decimal integer: optional blanks, optional sign, digits; text
// that does not start with a number gives 0. A number that does not fit into
// 32 bits gives nullopt, so that callers keep their default instead of taking
// a wrapped-around value.
std::optional<std::int32_t> ParseLeadingInt(const std::wstring& text);

}  // namespace zu
