// The settings file, read and written one key at a time through the
// platform's private-profile functions.
#pragma once

#include <string>

#include "app/app_settings.h"

namespace zu {

class PrivateProfileFile : public ProfileStore {
public:
    explicit PrivateProfileFile(std::wstring path) : path_(std::move(path)) {}
    std::wstring Read(const wchar_t* section, const wchar_t* key) override;
    bool Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) override;

private:
    std::wstring path_;
};

}  // namespace zu
