#include "app/win/profile_file.h"

#include <windows.h>

namespace zu {

std::wstring PrivateProfileFile::Read(const wchar_t* section, const wchar_t* key) {
    // Values are short; 300 characters hold every valid one with room to spare.
    wchar_t buffer[300];
    const DWORD length = GetPrivateProfileStringW(section, key, L"", buffer, 300, path_.c_str());
    return std::wstring(buffer, length);
}

bool PrivateProfileFile::Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    return WritePrivateProfileStringW(section, key, value.c_str(), path_.c_str()) != FALSE;
}

}  // namespace zu
