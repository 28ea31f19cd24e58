// Drives a Win32 program's windows from another process under Wine: starts
// it, finds its windows, clicks controls and menu commands by their IDs,
// reads texts and answers message boxes.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace guidriver {

// True when this process runs in a network of its own that has no interface
// but the loopback and the PC adapters of a tools/netlab test network; `why`
// says what was found otherwise. Programs that broadcast on every adapter are
// started only there.
bool InIsolatedNetwork(std::string* why);

struct LaunchOptions {
    std::wstring program;                        // absolute path
    std::wstring arguments;                      // after the program name
    std::map<std::wstring, std::wstring> environment;  // overrides
};

class Application {
public:
    Application() = default;
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Refuses (false, `error` set) outside an isolated network.
    bool Launch(const LaunchOptions& options, std::string* error);
    // The top-level dialog window of the program whose caption starts with `captionPrefix`.
    HWND WaitForMainWindow(const std::wstring& captionPrefix, DWORD timeoutMs);
    // A dialog of the program other than `except` (message box, file dialog).
    HWND WaitForDialog(HWND except, DWORD timeoutMs);
    // Asks the window to close and waits for the process; its exit code or -1.
    int CloseAndWait(HWND window, DWORD timeoutMs);
    DWORD ProcessId() const { return process_.dwProcessId; }
    // Lets the program run on after this object is gone.
    void Detach();

private:
    PROCESS_INFORMATION process_{};
};

// A visible top-level window of any process whose caption starts with the prefix.
HWND FindTopWindow(const std::wstring& captionPrefix, DWORD timeoutMs);
// A dialog (message box, file dialog) of the process that owns `window`, other than `window`.
HWND FindOtherDialog(HWND window, DWORD timeoutMs);

std::wstring Text(HWND window);
void SetText(HWND window, const std::wstring& text);
bool IsEnabled(HWND dialog, int controlId);
bool IsVisible(HWND dialog, int controlId);
// Clicks a button the way a user does; false when it is disabled or missing.
bool ClickButton(HWND dialog, int controlId);
// Chooses a menu command (the window's own or one of its popup menus).
void ChooseCommand(HWND window, int commandId);
// Waits until every message sent to the window so far has been handled.
void Sync(HWND window);
// Text of a message box's message.
std::wstring MessageBoxText(HWND box);
// Types a file name into a file dialog and confirms it.
void AnswerFileDialog(HWND dialog, const std::wstring& path);

// The whole virtual screen as a PNG file.
bool SaveScreenshot(const std::wstring& path);

}  // namespace guidriver
