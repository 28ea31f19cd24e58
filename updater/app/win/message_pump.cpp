#include "app/win/message_pump.h"

namespace zu {
namespace {

HWND g_dialog = nullptr;

void Dispatch(MSG& message) {
    if (g_dialog && IsDialogMessageW(g_dialog, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace

void SetMessagePumpDialog(HWND dialog) { g_dialog = dialog; }

void ProcessPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
    return static_cast<int>(message.wParam);
}

}  // namespace zu
