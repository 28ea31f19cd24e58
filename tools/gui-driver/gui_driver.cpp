#include "gui_driver.h"

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <filesystem>
#include <fstream>

#include "png_writer.h"

namespace guidriver {
namespace {

constexpr UINT kSendTimeoutMs = 2000;
constexpr int kFileNameCombo = 0x47C;  // cmb13 of the explorer-style file dialogs
constexpr int kMessageBoxText = 0xFFFF;

std::string ReadWholeFile(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    // Files under /proc report size 0: read until the end instead.
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    CloseHandle(file);
    return content;
}

std::wstring Upper(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towupper(c); });
    return text;
}

std::vector<wchar_t> EnvironmentBlock(const std::map<std::wstring, std::wstring>& overrides) {
    std::map<std::wstring, std::wstring> entries;  // upper-case name → "Name=Value"
    wchar_t* current = GetEnvironmentStringsW();
    for (const wchar_t* entry = current; *entry; entry += wcslen(entry) + 1) {
        const std::wstring text = entry;
        const std::size_t equals = text.find(L'=', 1);  // names like "=C:" start with '='
        entries[Upper(text.substr(0, equals))] = text;
    }
    FreeEnvironmentStringsW(current);
    for (const auto& [name, value] : overrides) entries[Upper(name)] = name + L"=" + value;
    std::vector<wchar_t> block;
    for (const auto& [key, text] : entries) {
        block.insert(block.end(), text.begin(), text.end());
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

struct WindowSearch {
    DWORD processId;
    std::wstring captionPrefix;
    HWND except;
    bool dialogsOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if ((search->processId && processId != search->processId) || window == search->except || !IsWindowVisible(window)) return TRUE;
    if (search->dialogsOnly) {
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        if (wcscmp(className, L"#32770") != 0) return TRUE;
    }
    if (Text(window).rfind(search->captionPrefix, 0) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForWindow(WindowSearch search, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        search.found = nullptr;
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

// The PC side of a tools/netlab network: "nl<hex id>p<link>", the peer of a
// veth pair that leads only into the test's own instrument namespaces.
bool IsTestNetworkAdapter(const std::string& name) {
    std::size_t at = 2;
    if (name.compare(0, at, "nl") != 0) return false;
    const std::size_t idStart = at;
    while (at < name.size() && std::isxdigit(static_cast<unsigned char>(name[at]))) ++at;
    // The id's hex digits may include 'b' to 'f' but never 'p'.
    if (at == idStart || at == name.size() || name[at] != 'p') return false;
    const std::size_t linkStart = ++at;
    while (at < name.size() && std::isdigit(static_cast<unsigned char>(name[at]))) ++at;
    return at > linkStart && at == name.size();
}

}  // namespace

bool InIsolatedNetwork(std::string* why) {
    const std::string devices = ReadWholeFile(L"Z:\\proc\\self\\net\\dev");
    if (devices.empty()) {
        if (why) *why = "cannot read /proc/self/net/dev";
        return false;
    }
    // Two header lines, then one "name: counters" line per interface.
    std::size_t at = 0;
    int line = 0;
    while (at < devices.size()) {
        std::size_t end = devices.find('\n', at);
        if (end == std::string::npos) end = devices.size();
        const std::string text = devices.substr(at, end - at);
        at = end + 1;
        if (line++ < 2 || text.find(':') == std::string::npos) continue;
        std::string name = text.substr(0, text.find(':'));
        name.erase(0, name.find_first_not_of(' '));
        if (name != "lo" && !IsTestNetworkAdapter(name)) {
            if (why) *why = "network interface " + name + " is present: not an isolated network namespace";
            return false;
        }
    }
    return true;
}

Application::~Application() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool Application::Launch(const LaunchOptions& options, std::string* error) {
    std::string why;
    if (!InIsolatedNetwork(&why)) {
        if (error) *error = "refusing to start the program: " + why;
        return false;
    }
    std::wstring commandLine = L"\"" + options.program + L"\"";
    if (!options.arguments.empty()) commandLine += L" " + options.arguments;
    std::vector<wchar_t> environment = EnvironmentBlock(options.environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(options.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup, &process_)) {
        if (error) *error = "CreateProcess failed: " + std::to_string(GetLastError());
        return false;
    }
    WaitForInputIdle(process_.hProcess, 10000);
    return true;
}

HWND Application::WaitForMainWindow(const std::wstring& captionPrefix, DWORD timeoutMs) {
    return WaitForWindow({process_.dwProcessId, captionPrefix, nullptr, true, nullptr}, timeoutMs);
}

HWND Application::WaitForDialog(HWND except, DWORD timeoutMs) {
    return WaitForWindow({process_.dwProcessId, L"", except, true, nullptr}, timeoutMs);
}

void Application::Detach() {
    if (process_.hProcess) CloseHandle(process_.hProcess);
    if (process_.hThread) CloseHandle(process_.hThread);
    process_ = {};
}

HWND FindTopWindow(const std::wstring& captionPrefix, DWORD timeoutMs) {
    return WaitForWindow({0, captionPrefix, nullptr, false, nullptr}, timeoutMs);
}

HWND FindOtherDialog(HWND window, DWORD timeoutMs) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return WaitForWindow({processId, L"", window, true, nullptr}, timeoutMs);
}

int Application::CloseAndWait(HWND window, DWORD timeoutMs) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

std::wstring Text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        kSendTimeoutMs, &copied);
    text.resize(copied);
    return text;
}

void SetText(HWND window, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        kSendTimeoutMs, &ignored);
}

bool IsEnabled(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control && IsWindowEnabled(control);
}

bool IsVisible(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    return control && IsWindowVisible(control);
}

bool ClickButton(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control || !IsWindowEnabled(control)) return false;
    DWORD_PTR ignored = 0;
    // Waits for the handler unless it opens a modal window.
    SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED), reinterpret_cast<LPARAM>(control),
                        SMTO_NORMAL, 500, &ignored);
    return true;
}

void ChooseCommand(HWND window, int commandId) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0, SMTO_NORMAL, 500, &ignored);
}

void Sync(HWND window) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &ignored);
}

std::wstring MessageBoxText(HWND box) { return Text(GetDlgItem(box, kMessageBoxText)); }

void AnswerFileDialog(HWND dialog, const std::wstring& path) {
    SetText(GetDlgItem(dialog, kFileNameCombo), path);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

bool SaveScreenshot(const std::wstring& path) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    std::vector<std::uint8_t> rgb;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY) != FALSE;
        GdiFlush();
        const auto* pixels = static_cast<const std::uint8_t*>(bits);  // blue, green, red, unused
        rgb.reserve(static_cast<std::size_t>(width) * height * 3);
        for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
            rgb.insert(rgb.end(), {pixels[4 * i + 2], pixels[4 * i + 1], pixels[4 * i]});
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) return false;
    const std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
    if (png.empty()) return false;
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return out.good();
}

}  // namespace guidriver
