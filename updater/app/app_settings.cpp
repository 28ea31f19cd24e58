#include "app/app_settings.h"

#include <cstdio>

#include "app/text_util.h"

namespace zu {
namespace {

constexpr wchar_t kSectionSettings[] = L"SETTINGS";
constexpr wchar_t kSectionHmi[] = L"HMI";

// Takes the value only when it is a number inside [low, high].
template <typename Field>
void ReadBounded(ProfileStore& store, const wchar_t* section, const wchar_t* key,
                 std::int32_t low, std::int32_t high, Field& field) {
    const std::wstring text = store.Read(section, key);
    if (text.empty()) return;
    const auto value = ParseLeadingInt(text);
    if (value && *value >= low && *value <= high) field = static_cast<Field>(*value);
}

}  // namespace

std::wstring FormatLastAccess(const LocalTime& t) {
    wchar_t buffer[64];
    std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"%02i-%02i-%04i %02i:%02i:%02i",
                  t.day, t.month, t.year, t.hour, t.minute, t.second);
    return buffer;
}

bool WriteLastAccess(ProfileStore& store, const LocalTime& time) {
    return store.Write(kSectionSettings, L"Last access", FormatLastAccess(time));
}

LanguageId LanguageFromSetting(const std::wstring& value) {
    if (EqualsIgnoreCase(value, L"Deutsch")) return LanguageGerman;
    if (EqualsIgnoreCase(value, L"Fran\u00E7ais")) return LanguageFrench;
    return LanguageEnglish;
}

std::wstring LanguageSettingText(LanguageId language) {
    switch (language) {
        case LanguageGerman: return L"Deutsch";
        case LanguageFrench: return L"Fran\u00E7ais";
        default: return L"";
    }
}

void ReadSettings(ProfileStore& store, AppSettings& settings) {
    const std::wstring language = store.Read(kSectionSettings, L"Language");
    if (!language.empty()) settings.Language = LanguageFromSetting(language);
    ReadBounded(store, kSectionSettings, L"AutoSearchDevices", 0, 1, settings.AutoSearchDevices);
    ReadBounded(store, kSectionHmi, L"WaitingTime", 30, 4999, settings.WaitingTime);
    ReadBounded(store, kSectionHmi, L"SendBufferSize", 50, 1500, settings.SendBufferSize);
}

void WriteSettings(ProfileStore& store, const AppSettings& settings, const LocalTime& now) {
    WriteLastAccess(store, now);
    store.Write(kSectionSettings, L"AutoSearchDevices", settings.AutoSearchDevices ? L"1" : L"0");
    store.Write(kSectionSettings, L"Language", LanguageSettingText(settings.Language));
}

}  // namespace zu
