// Conversions between the window's UTF-16 text and the 8-bit text of the
// system code page (wire, device records, saved logs).
#pragma once

#include <string>

namespace zu {

std::string ToSystemCodePage(const std::wstring& text);
std::wstring FromSystemCodePage(const std::string& text);

}  // namespace zu
