#include "app/app_settings.h"

#include <gtest/gtest.h>

#include <map>

namespace zu {
namespace {

// An in-memory settings file; `writable` false acts as a file that cannot be written.
class MemoryProfile : public ProfileStore {
public:
    std::map<std::wstring, std::wstring> values;  // "SECTION/key" → value
    bool writable = true;

    std::wstring Read(const wchar_t* section, const wchar_t* key) override {
        const auto it = values.find(std::wstring(section) + L"/" + key);
        return it == values.end() ? L"" : it->second;
    }
    bool Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) override {
        if (!writable) return false;
        values[std::wstring(section) + L"/" + key] = value;
        return true;
    }
};

AppSettings ReadFrom(std::map<std::wstring, std::wstring> values) {
    MemoryProfile store;
    store.values = std::move(values);
    AppSettings settings;
    ReadSettings(store, settings);
    return settings;
}

TEST(AppSettings, EmptyFileKeepsDefaults) {
    const AppSettings s = ReadFrom({});
    EXPECT_EQ(s.Language, LanguageEnglish);
    EXPECT_EQ(s.AutoSearchDevices, 1);
    EXPECT_EQ(s.SendBufferSize, 1000);
    EXPECT_EQ(s.WaitingTime, 100);
}

TEST(AppSettings, Language) {
    struct Case {
        const wchar_t* value;
        LanguageId expected;
    };
    const Case cases[] = {
        {L"Deutsch", LanguageGerman},    {L"deutsch", LanguageGerman},
        {L"Fran\u00E7ais", LanguageFrench}, {L"FRAN\u00C7AIS", LanguageFrench},
        {L"English", LanguageEnglish},   {L"", LanguageEnglish},
        {L"Deutsch ", LanguageEnglish},  {L"Francais", LanguageEnglish},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadFrom({{L"SETTINGS/Language", c.value}}).Language, c.expected) << c.value;
    }
}

TEST(AppSettings, NumbersOutsideTheirRangeKeepTheDefault) {
    struct Case {
        const wchar_t* key;
        const wchar_t* value;
        std::int32_t AppSettings::*field;
        std::int32_t expected;
    };
    const Case cases[] = {
        {L"HMI/SendBufferSize", L"1500", &AppSettings::SendBufferSize, 1500},
        {L"HMI/SendBufferSize", L"50", &AppSettings::SendBufferSize, 50},
        {L"HMI/SendBufferSize", L"1501", &AppSettings::SendBufferSize, 1000},
        {L"HMI/SendBufferSize", L"49", &AppSettings::SendBufferSize, 1000},
        {L"HMI/SendBufferSize", L"abc", &AppSettings::SendBufferSize, 1000},
        // 2^32 + 500 must not wrap into the range.
        {L"HMI/SendBufferSize", L"4294967796", &AppSettings::SendBufferSize, 1000},
        {L"HMI/WaitingTime", L"4999", &AppSettings::WaitingTime, 4999},
        {L"HMI/WaitingTime", L"5000", &AppSettings::WaitingTime, 100},
        {L"HMI/WaitingTime", L"30", &AppSettings::WaitingTime, 30},
        {L"HMI/WaitingTime", L"29", &AppSettings::WaitingTime, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadFrom({{c.key, c.value}}).*c.field, c.expected) << c.key << L"=" << c.value;
    }
}

TEST(AppSettings, AutoSearchTakesOnlyZeroAndOne) {
    EXPECT_EQ(ReadFrom({{L"SETTINGS/AutoSearchDevices", L"0"}}).AutoSearchDevices, 0);
    EXPECT_EQ(ReadFrom({{L"SETTINGS/AutoSearchDevices", L"2"}}).AutoSearchDevices, 1);
    EXPECT_EQ(ReadFrom({{L"SETTINGS/AutoSearchDevices", L"4294967296"}}).AutoSearchDevices, 1);
}

TEST(AppSettings, WrittenValuesReadBackTheSame) {
    for (LanguageId language : {LanguageEnglish, LanguageGerman, LanguageFrench}) {
        MemoryProfile store;
        AppSettings written;
        written.Language = language;
        written.AutoSearchDevices = 0;
        WriteSettings(store, written, {2026, 3, 7, 9, 5, 4, 0});
        EXPECT_EQ(store.values[L"SETTINGS/Last access"], L"07-03-2026 09:05:04");
        EXPECT_EQ(store.values[L"SETTINGS/AutoSearchDevices"], L"0");
        AppSettings read;
        ReadSettings(store, read);
        EXPECT_EQ(read.Language, language);
        EXPECT_EQ(read.AutoSearchDevices, 0);
    }
}

TEST(AppSettings, LanguageIsWrittenAsItsSettingText) {
    EXPECT_EQ(LanguageSettingText(LanguageEnglish), L"");
    EXPECT_EQ(LanguageSettingText(LanguageGerman), L"Deutsch");
    EXPECT_EQ(LanguageSettingText(LanguageFrench), L"Fran\u00E7ais");
}

TEST(AppSettings, LastAccessReportsAFailedWrite) {
    MemoryProfile store;
    store.writable = false;
    EXPECT_FALSE(WriteLastAccess(store, {2026, 12, 31, 23, 59, 58, 0}));
    store.writable = true;
    EXPECT_TRUE(WriteLastAccess(store, {2026, 12, 31, 23, 59, 58, 0}));
    EXPECT_EQ(store.values[L"SETTINGS/Last access"], L"31-12-2026 23:59:58");
}

}  // namespace
}  // namespace zu
