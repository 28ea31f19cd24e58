#include "trace_log.h"

#include <cstdio>
#include <string>

#include "../trace_text.h"

namespace lmc32 {
namespace {

constexpr DWORD kModulePathChars = 300;
constexpr DWORD kSettingChars = 256;

bool g_enabled = false;
std::wstring g_logPath;

std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

void Write(TraceKind kind, const char* name, const char* detail) {
    if (!g_enabled) return;
    // Opened per event so that the log survives a crash of the host.
    FILE* file = _wfopen(g_logPath.c_str(), L"a");
    if (!file) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string record =
        TraceRecord(kind, {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds}, name, detail);
    std::fputs(record.c_str(), file);
    std::fclose(file);
}

}  // namespace

void LoadTraceSetting(HMODULE module) {
    wchar_t path[kModulePathChars + 1] = {};
    GetModuleFileNameW(module, path, kModulePathChars);
    const std::wstring modulePath(path);
    const TracePaths paths = TracePathsForModule(std::u16string(modulePath.begin(), modulePath.end()));
    g_logPath = Wide(paths.log);
    wchar_t value[kSettingChars + 1] = {};
    GetPrivateProfileStringW(L"Logging", L"LMW_FUNCTIONS", L"", value, kSettingChars + 1,
                             Wide(paths.config).c_str());
    const std::wstring setting(value);
    g_enabled = TraceSettingIsOn(std::u16string(setting.begin(), setting.end()));
}

bool TraceEnabled() { return g_enabled; }

void TraceBegin(const char* name, const char* detail) { Write(TraceKind::Begin, name, detail); }
void TraceEnd(const char* name, const char* detail) { Write(TraceKind::End, name, detail); }
void TracePlain(const char* name, const char* detail) { Write(TraceKind::Plain, name, detail); }

}  // namespace lmc32
