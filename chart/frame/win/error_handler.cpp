// The one error handler of the library, and the boxes shown outside it.
#include <string>

#include "../error_policy.h"
#include "error_boxes.h"
#include "library_state.h"

namespace lmc32 {
namespace {

int g_lastError = 0;
bool g_boxOpen = false;  // a box of the handler is open; its message loop may re-enter

struct BoxOpenGuard {
    BoxOpenGuard() { g_boxOpen = true; }
    ~BoxOpenGuard() { g_boxOpen = false; }
};

UINT BoxFlags(const BoxStyle& style) {
    UINT flags = MB_TASKMODAL;
    flags |= style.buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK;
    switch (style.icon) {
        case BoxIcon::Information: flags |= MB_ICONINFORMATION; break;
        case BoxIcon::Question: flags |= MB_ICONQUESTION; break;
        case BoxIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
    }
    return flags;
}

std::u16string LibraryText(int id, int limit) {
    wchar_t buffer[kMaxMessageChars + 1];
    std::size_t n = LoadLibraryText(id, buffer, limit);
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), n);
}

// Keys typed while the box was up must not reach the host once the user
// chose to stop.
void DropPendingKeys() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

}  // namespace

void ShowNotInitialisedBox() {
    wchar_t text[51];
    LoadLibraryText(6, text, 50);
    MessageBoxW(nullptr, text, nullptr, MB_OK | MB_ICONINFORMATION);
}

}  // namespace lmc32

using namespace lmc32;

extern "C" {

int WINAPI WGGetLastError(void) { return g_lastError; }

void WINAPI WGEnableErrorMessages(BOOL enable) {
    if (_TopDesc) _TopDesc->bErrMsg = enable;
}

int WINAPI ErrHdlr(int code, int mode, LPCWSTR text) {
    g_lastError = code;
    TopDesc* top = _TopDesc;
    const BoxDecision decision = DecideErrorBox(code, top && top->bTerm, g_boxOpen, !top || top->bErrMsg);
    if (!decision.show) return decision.result;

    const BoxStyle style = StyleOfClass(decision.cls);
    int answer;
    {
        BoxOpenGuard guard;
        const std::u16string suffix = style.suffixId ? LibraryText(style.suffixId, kMaxMessageChars) : u"";
        const std::u16string body = ComposeErrorText(mode, LibraryText(code, kMaxMessageChars),
                                                     reinterpret_cast<const char16_t*>(text), suffix);
        const std::u16string caption = LibraryText(style.captionId, kMaxCaptionChars);
        answer = MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(body.c_str()),
                             reinterpret_cast<const wchar_t*>(caption.c_str()), BoxFlags(style));
    }

    switch (OutcomeOfAnswer(decision.cls, answer == IDNO || answer == IDABORT)) {
        case AfterBox::Continue:
            return 0;
        case AfterBox::Stop:
            DropPendingKeys();
            if (top) top->bTerm = TRUE;
            return 1;
        case AfterBox::EndProcess:
            break;
    }
    DropPendingKeys();
    if (top) top->bTerm = TRUE;
    ExitProcess(static_cast<UINT>(code));
}

int WINAPI ExitApplication(LPCWSTR text) {
    std::wstring message = L"Function ExitApplication\n";
    message += text ? text : L"";
    message += L"\nPlease close application and restart";
    return MessageBoxW(nullptr, message.c_str(), L"LMC32.dll", MB_OK | MB_ICONSTOP | MB_TOPMOST);
}

}  // extern "C"
