// The settings the main window holds, and how they map to the settings file.
#pragma once

#include <cstdint>
#include <string>

namespace zu {

enum LanguageId : std::uint16_t {
    LanguageEnglish = 1,
    LanguageGerman = 2,
    LanguageFrench = 3,
};

struct AppSettings {
    std::wstring IniPath;
    LanguageId Language = LanguageEnglish;
    std::uint16_t AutoSearchDevices = 1;
    std::int32_t SendBufferSize = 1000;
    std::int32_t WaitingTime = 100;  // read and range-checked; nothing uses it yet
};

struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
};

// The settings file seen one key at a time. Read gives an empty text for a
// missing key; Write reports whether the value reached the file.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual std::wstring Read(const wchar_t* section, const wchar_t* key) = 0;
    virtual bool Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) = 0;
};

// "day-month-year hour:minute:second".
std::wstring FormatLastAccess(const LocalTime& time);
bool WriteLastAccess(ProfileStore& store, const LocalTime& time);

// Takes every value the file holds within its range; the rest keep their
// current value.
void ReadSettings(ProfileStore& store, AppSettings& settings);
// Writes what the run may have changed: "Last access", "AutoSearchDevices",
// "Language".
void WriteSettings(ProfileStore& store, const AppSettings& settings, const LocalTime& now);

LanguageId LanguageFromSetting(const std::wstring& value);
std::wstring LanguageSettingText(LanguageId language);

}  // namespace zu
