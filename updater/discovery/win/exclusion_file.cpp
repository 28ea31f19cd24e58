#include "discovery/win/exclusion_file.h"

#include <windows.h>

#include <vector>

namespace zu {

std::wstring ExclusionFilePath(const std::wstring& programFolder) {
    return programFolder + L"DRIVERS\\Adapters.use";
}

ExclusionTable LoadExclusions(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    // One byte more than the format's size shows a file that is too long.
    std::vector<std::uint8_t> bytes(kExclusionFileBytes + 1);
    DWORD read = 0;
    const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok) return {};
    return ParseExclusions(bytes.data(), read);
}

bool SaveExclusions(const std::wstring& path, const ExclusionTable& table) {
    const std::vector<std::uint8_t> bytes = SerializeExclusions(table);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const BOOL closed = CloseHandle(file);
    return ok && closed && written == bytes.size();
}

}  // namespace zu
