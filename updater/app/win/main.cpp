// ZuUpdate: start-up and end of the process.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/startup_options.h"
#include "app/win/main_window.h"
#include "app/win/message_pump.h"

namespace {

std::vector<std::wstring> CommandLineArguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> result;
    for (int i = 1; i < count; ++i) result.emplace_back(arguments[i]);
    LocalFree(arguments);
    return result;
}

// Started once for the whole run; a failure is not shown, because socket
// operations report their own failures later.
class SocketLibrary {
public:
    SocketLibrary() {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
        started_ = true;
        if (data.wVersion != MAKEWORD(2, 2)) {
            WSACleanup();
            started_ = false;
        }
    }
    ~SocketLibrary() {
        if (started_) WSACleanup();
    }

private:
    bool started_ = false;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const zu::StartupOptions options = zu::ParseCommandLine(CommandLineArguments());
    SocketLibrary sockets;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    zu::TSDIAppForm form(options);
    if (!form.Create(instance)) return 1;
    return zu::RunMessageLoop();
}
