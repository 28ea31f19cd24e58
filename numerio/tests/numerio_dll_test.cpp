// The DLL as a host sees it: loaded by import, called under German and
// French regional settings, its exports bound by both of their names.
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "numerio.h"

namespace {

struct HostLocale {
    const char* crt_name;
    LCID thread_locale;
    const char* host_one_and_a_half;  // how the host's own runtime prints 1.5
};

class UnderRegionalSettings : public ::testing::TestWithParam<HostLocale> {
protected:
    void SetUp() override {
        saved_crt_ = setlocale(LC_ALL, nullptr);
        saved_thread_ = GetThreadLocale();
        ASSERT_NE(setlocale(LC_ALL, GetParam().crt_name), nullptr);
        ASSERT_TRUE(SetThreadLocale(GetParam().thread_locale));
        active_crt_ = setlocale(LC_ALL, nullptr);
        // The host's own runtime really formats with a comma now; otherwise
        // these tests would prove nothing.
        char own[16];
        snprintf(own, sizeof own, "%.1f", 1.5);
        ASSERT_STREQ(own, GetParam().host_one_and_a_half);
    }
    void TearDown() override {
        // The library neither consults nor changes the host's locale.
        EXPECT_EQ(active_crt_, setlocale(LC_ALL, nullptr));
        EXPECT_EQ(GetThreadLocale(), GetParam().thread_locale);
        setlocale(LC_ALL, saved_crt_.c_str());
        SetThreadLocale(saved_thread_);
    }

    std::wstring temp_file(const wchar_t* name) {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        std::wstring path = std::wstring(dir) + name;
        DeleteFileW(path.c_str());
        return path;
    }

private:
    std::string saved_crt_, active_crt_;
    LCID saved_thread_ = 0;
};

TEST_P(UnderRegionalSettings, FormatsWithAPointAndNoGrouping) {
    char out[64];
    EXPECT_EQ(sprintf_CL(out, "%.3f", 1234.5), 8);
    EXPECT_STREQ(out, "1234.500");
    sprintf_CL(out, "%g|%e|%.17g", 1234567.0, -0.25, 0.1);
    EXPECT_STREQ(out, "1.23457e+06|-2.500000e-01|0.10000000000000001");
    // The platform compiler's long double is a double; 64-bit integers by
    // both spellings.
    sprintf_CL(out, "%Lf|%I64d|%lld", 1.5, -9000000000LL, 9000000000LL);
    EXPECT_STREQ(out, "1.500000|-9000000000|9000000000");
    wchar_t wide[64];
    EXPECT_EQ(_stprintf_CL(wide, L"%.2f %s %S", 0.5, L"w", "n"), 8);
    EXPECT_STREQ(wide, L"0.50 w n");
}

TEST_P(UnderRegionalSettings, ParsesWithAPointAndStopsAtAComma) {
    EXPECT_EQ(atof_CL("3,5"), 3.0);
    EXPECT_EQ(_wtof_CL(L"3,5"), 3.0);
    const char* text = "2.5e3xyz";
    char* end = nullptr;
    EXPECT_EQ(strtod_CL(text, &end), 2500.0);
    EXPECT_EQ(end, text + 5);
    const wchar_t* wtext = L"  -0x1.8p1,";
    wchar_t* wend = nullptr;
    EXPECT_EQ(wcstod_CL(wtext, &wend), -3.0);
    EXPECT_EQ(wend, wtext + 10);

    double d = 0;
    int i = 0;
    EXPECT_EQ(sscanf_CL("1.25;7", "%lf;%d", &d, &i), 2);
    EXPECT_EQ(d, 1.25);
    EXPECT_EQ(i, 7);
    float f = 0;
    EXPECT_EQ(swscanf_CL(L"4,75", L"%f", &f), 1);
    EXPECT_EQ(f, 4.0f);
    double ld = 0;  // "%Lf" stores a double for this platform's hosts
    EXPECT_EQ(sscanf_CL("6.5", "%Lf", &ld), 1);
    EXPECT_EQ(ld, 6.5);
}

TEST_P(UnderRegionalSettings, WideStreamRoundTripWithSeekAndTell) {
    std::wstring path = temp_file(L"numerio-wide.txt");
    void* f = _tfopen_CL(path.c_str(), L"w+");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(fwprintf_CL(f, L"%.3f;%d\n%s\n", 1234.5, 42, L"Ende"), 17);
    EXPECT_EQ(_tftell_CL(f), 19);
    ASSERT_EQ(_tfseek_CL(f, 0, SEEK_SET), 0);
    double d = 0;
    int n = 0;
    wchar_t word[8] = {};
    EXPECT_EQ(fwscanf_CL(f, L"%lf;%d %7s", &d, &n, word), 3);
    EXPECT_EQ(d, 1234.5);
    EXPECT_EQ(n, 42);
    EXPECT_STREQ(word, L"Ende");
    EXPECT_EQ(_tftell_CL(f), 17);
    EXPECT_EQ(_tfclose_CL(f), 0);
    DeleteFileW(path.c_str());
}

TEST_P(UnderRegionalSettings, NarrowStreamRoundTripMatchesTheFileBytes) {
    std::wstring wpath = temp_file(L"numerio-narrow.txt");
    std::string path(wpath.begin(), wpath.end());
    void* f = fopen_CL(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    for (int k = 0; k < 3; ++k) fprintf_CL(f, "%d;%.2f\n", k, k + 0.25);
    EXPECT_EQ(fclose_CL(f), 0);

    HANDLE h = CreateFileW(wpath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char raw[64] = {};
    DWORD got = 0;
    ReadFile(h, raw, sizeof raw - 1, &got, nullptr);
    CloseHandle(h);
    EXPECT_STREQ(raw, "0;0.25\r\n1;1.25\r\n2;2.25\r\n");

    f = fopen_CL(path.c_str(), "r");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(fseek_CL(f, 8, SEEK_SET), 0);
    int k = 0;
    double v = 0;
    EXPECT_EQ(fscanf_CL(f, "%d;%lf", &k, &v), 2);
    EXPECT_EQ(k, 1);
    EXPECT_EQ(v, 1.25);
    EXPECT_EQ(ftell_CL(f), 14);
    fclose_CL(f);
    DeleteFileW(wpath.c_str());
}

INSTANTIATE_TEST_SUITE_P(Hosts, UnderRegionalSettings,
                         ::testing::Values(HostLocale{"German", 0x0407, "1,5"},
                                           HostLocale{"French", 0x040C, "1,5"}),
                         [](const auto& info) { return std::string(info.param.crt_name); });

TEST(Streams, ForeignAndNullStreamsAreRefused) {
    FILE* runtime_stream = fopen("numerio-foreign.txt", "w");
    ASSERT_NE(runtime_stream, nullptr);
    for (void* bad : {static_cast<void*>(nullptr), static_cast<void*>(runtime_stream)}) {
        errno = 0;
        EXPECT_EQ(fprintf_CL(bad, "x"), -1);
        EXPECT_EQ(errno, EINVAL);
        errno = 0;
        EXPECT_EQ(fclose_CL(bad), EOF);
        EXPECT_EQ(errno, EINVAL);
        errno = 0;
        EXPECT_EQ(_tftell_CL(bad), -1);
        EXPECT_EQ(errno, EINVAL);
    }
    fclose(runtime_stream);
    remove("numerio-foreign.txt");
}

// Every function is exported under its C name and under the decorated name
// a C++ host of the platform's compiler binds, and both are one function.
TEST(Exports, BothNamesOfEveryFunctionResolveToTheSameCode) {
#ifdef _WIN64
    // 64-bit pointers carry the "E" marker in decorated names.
    static const char* const kPairs[][2] = {
        {"sprintf_CL", "?sprintf_CL@@YAHPEADPEBDZZ"},       {"fprintf_CL", "?fprintf_CL@@YAHPEAXPEBDZZ"},
        {"sscanf_CL", "?sscanf_CL@@YAHPEBD0ZZ"},            {"fscanf_CL", "?fscanf_CL@@YAHPEAXPEBDZZ"},
        {"strtod_CL", "?strtod_CL@@YANPEBDPEAPEAD@Z"},      {"atof_CL", "?atof_CL@@YANPEBD@Z"},
        {"fopen_CL", "?fopen_CL@@YAPEAXPEBD0@Z"},           {"fclose_CL", "?fclose_CL@@YAHPEAX@Z"},
        {"fseek_CL", "?fseek_CL@@YAHPEAXJH@Z"},             {"ftell_CL", "?ftell_CL@@YAJPEAX@Z"},
        {"_stprintf_CL", "?_stprintf_CL@@YAHPEA_WPEB_WZZ"}, {"fwprintf_CL", "?fwprintf_CL@@YAHPEAXPEB_WZZ"},
        {"swscanf_CL", "?swscanf_CL@@YAHPEB_W0ZZ"},         {"fwscanf_CL", "?fwscanf_CL@@YAHPEAXPEB_WZZ"},
        {"wcstod_CL", "?wcstod_CL@@YANPEB_WPEAPEA_W@Z"},    {"_wtof_CL", "?_wtof_CL@@YANPEB_W@Z"},
        {"_tfopen_CL", "?_tfopen_CL@@YAPEAXPEB_W0@Z"},      {"_tfclose_CL", "?_tfclose_CL@@YAHPEAX@Z"},
        {"_tfseek_CL", "?_tfseek_CL@@YAHPEAXJH@Z"},         {"_tftell_CL", "?_tftell_CL@@YAJPEAX@Z"},
    };
#else
    static const char* const kPairs[][2] = {
        {"sprintf_CL", "?sprintf_CL@@YAHPADPBDZZ"},     {"fprintf_CL", "?fprintf_CL@@YAHPAXPBDZZ"},
        {"sscanf_CL", "?sscanf_CL@@YAHPBD0ZZ"},         {"fscanf_CL", "?fscanf_CL@@YAHPAXPBDZZ"},
        {"strtod_CL", "?strtod_CL@@YANPBDPAPAD@Z"},     {"atof_CL", "?atof_CL@@YANPBD@Z"},
        {"fopen_CL", "?fopen_CL@@YAPAXPBD0@Z"},         {"fclose_CL", "?fclose_CL@@YAHPAX@Z"},
        {"fseek_CL", "?fseek_CL@@YAHPAXJH@Z"},          {"ftell_CL", "?ftell_CL@@YAJPAX@Z"},
        {"_stprintf_CL", "?_stprintf_CL@@YAHPA_WPB_WZZ"}, {"fwprintf_CL", "?fwprintf_CL@@YAHPAXPB_WZZ"},
        {"swscanf_CL", "?swscanf_CL@@YAHPB_W0ZZ"},      {"fwscanf_CL", "?fwscanf_CL@@YAHPAXPB_WZZ"},
        {"wcstod_CL", "?wcstod_CL@@YANPB_WPAPA_W@Z"},   {"_wtof_CL", "?_wtof_CL@@YANPB_W@Z"},
        {"_tfopen_CL", "?_tfopen_CL@@YAPAXPB_W0@Z"},    {"_tfclose_CL", "?_tfclose_CL@@YAHPAX@Z"},
        {"_tfseek_CL", "?_tfseek_CL@@YAHPAXJH@Z"},      {"_tftell_CL", "?_tftell_CL@@YAJPAX@Z"},
    };
#endif
    HMODULE dll = GetModuleHandleW(L"numerio.dll");
    ASSERT_NE(dll, nullptr);
    for (const auto& pair : kPairs) {
        FARPROC plain = GetProcAddress(dll, pair[0]);
        FARPROC decorated = GetProcAddress(dll, pair[1]);
        EXPECT_NE(plain, nullptr) << pair[0];
        EXPECT_EQ(plain, decorated) << pair[1];
    }

    // And nothing else is exported.
    auto* base = reinterpret_cast<const BYTE*>(dll);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> exported;
    for (DWORD k = 0; k < exports->NumberOfNames; ++k)
        exported.insert(reinterpret_cast<const char*>(base + names[k]));
    std::set<std::string> expected;
    for (const auto& pair : kPairs) expected.insert({pair[0], pair[1]});
    EXPECT_EQ(exported, expected);
}

}  // namespace
