#include "app/caption.h"

namespace zu {

std::wstring FormatVersion(std::uint32_t ms, std::uint32_t ls) {
    return std::to_wstring(ms >> 16) + L'.' + std::to_wstring(ms & 0xFFFF) + L'.' +
           std::to_wstring(ls >> 16) + L'.' + std::to_wstring(ls & 0xFFFF);
}

std::wstring BuildCaption(const std::wstring& version, const StartupOptions& options) {
    std::wstring caption = kProductCaption;
    if (!version.empty()) caption += L"    " + version;
    if (!options.TypeCheck) caption += L"   >> NOTYPECHECK <<";
    if (options.NoCheck) caption += L"   >> NOCHECK <<";
    return caption;
}

}  // namespace zu
