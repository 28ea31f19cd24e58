// Command-line front of the GUI driver, for scripts and for looking at a
// running program by hand (inside an isolated network namespace):
//   gui-driver isolated                      exit 0 in an isolated network, else says why
//   gui-driver start PROGRAM [ARGUMENTS]     starts it (only in an isolated network)
//   gui-driver click CAPTION CONTROL_ID      clicks a button of the window
//   gui-driver command CAPTION COMMAND_ID    chooses a menu command
//   gui-driver text CAPTION [CONTROL_ID]     prints the caption or a control's text
//   gui-driver enabled CAPTION CONTROL_ID    prints 1 or 0
//   gui-driver answer CAPTION BUTTON_ID      prints a message box's text, then presses the button
//   gui-driver save-as CAPTION PATH          answers a file dialog with the path
//   gui-driver screenshot FILE.png           saves the virtual screen
//   gui-driver close CAPTION                 closes the window
// CAPTION is the start of the window's caption.
#include <cstdio>
#include <cwchar>
#include <string>

#include "gui_driver.h"

namespace {

constexpr DWORD kWaitMs = 10000;

void PrintUtf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

int Fail(const char* what) {
    std::fprintf(stderr, "gui-driver: %s\n", what);
    return 1;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 2) return Fail("usage: see the head of gui_driver_main.cpp");
    const std::wstring verb = argv[1];
    if (verb == L"screenshot" && argc == 3) return guidriver::SaveScreenshot(argv[2]) ? 0 : Fail("screenshot failed");
    if (verb == L"isolated" && argc == 2) {
        std::string why;
        return guidriver::InIsolatedNetwork(&why) ? 0 : Fail(why.c_str());
    }
    if (verb == L"start" && argc >= 3) {
        guidriver::LaunchOptions options;
        options.program = argv[2];
        for (int i = 3; i < argc; ++i) options.arguments += (i > 3 ? L" " : L"") + std::wstring(argv[i]);
        guidriver::Application application;
        std::string error;
        if (!application.Launch(options, &error)) return Fail(error.c_str());
        if (!application.WaitForDialog(nullptr, kWaitMs)) return Fail("no window appeared");
        application.Detach();
        return 0;
    }
    if (argc < 3) return Fail("missing caption");
    HWND window = guidriver::FindTopWindow(argv[2], kWaitMs);
    if (!window) return Fail("window not found");
    const int id = argc > 3 ? static_cast<int>(std::wcstol(argv[3], nullptr, 0)) : 0;
    if (verb == L"text") {
        PrintUtf8(guidriver::Text(argc > 3 ? GetDlgItem(window, id) : window));
    } else if (verb == L"click" && argc == 4) {
        if (!guidriver::ClickButton(window, id)) return Fail("control missing or disabled");
    } else if (verb == L"command" && argc == 4) {
        guidriver::ChooseCommand(window, id);
    } else if (verb == L"enabled" && argc == 4) {
        std::printf("%d\n", guidriver::IsEnabled(window, id) ? 1 : 0);
    } else if (verb == L"answer" && argc == 4) {
        HWND box = guidriver::FindOtherDialog(window, kWaitMs);
        if (!box) return Fail("no message box");
        PrintUtf8(guidriver::MessageBoxText(box));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    } else if (verb == L"save-as" && argc == 4) {
        HWND dialog = guidriver::FindOtherDialog(window, kWaitMs);
        if (!dialog) return Fail("no file dialog");
        guidriver::AnswerFileDialog(dialog, argv[3]);
    } else if (verb == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        return Fail("unknown command or wrong arguments");
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
