// The main window's caption: product name, version, and markers for the
// relaxed firmware checks so that nobody works with them unawares.
#pragma once

#include <cstdint>
#include <string>

#include "app/startup_options.h"

namespace zu {

inline constexpr wchar_t kProductCaption[] = L"Brenmar Zu Update Tool";

// "%u.%u.%u.%u" from the two 32-bit halves of a version resource.
std::wstring FormatVersion(std::uint32_t mostSignificant, std::uint32_t leastSignificant);

// An empty version leaves the caption without one.
std::wstring BuildCaption(const std::wstring& version, const StartupOptions& options);

}  // namespace zu
