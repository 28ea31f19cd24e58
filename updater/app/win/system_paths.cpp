#include "app/win/system_paths.h"

namespace zu {

std::wstring ModuleFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // truncated: try a larger buffer
    }
    return path;
}

std::wstring ProgramFolder() {
    const std::wstring path = ModuleFileName();
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring TemporaryFolder() {
    const DWORD size = GetTempPathW(0, nullptr);
    if (size == 0) return {};
    std::wstring path(size, L'\0');
    const DWORD length = GetTempPathW(size, path.data());
    path.resize(length < size ? length : 0);
    return path;
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace zu
