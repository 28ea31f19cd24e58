#include "message_box_answerer.h"

namespace {

MessageBoxAnswerer* g_active = nullptr;

std::wstring WindowText(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

}  // namespace

HICON SystemIcon(LPCWSTR id) { return LoadIconW(nullptr, id); }

MessageBoxAnswerer::MessageBoxAnswerer(int answer, std::function<void(const SeenBox&)> onBox)
    : answer_(answer), onBox_(std::move(onBox)) {
    g_active = this;
    hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    UnhookWindowsHookEx(hook_);
    g_active = nullptr;
}

// The box is activated before its dialog initialisation has set the text
// and hidden the unused buttons: it is read from its own message loop.
constexpr UINT_PTR kReadBoxTimer = 0x4C4D;

void CALLBACK ReadBox(HWND box, UINT, UINT_PTR timer, DWORD) {
    KillTimer(box, timer);
    if (g_active) g_active->Answer(box);
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_active) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring(className) == L"#32770") SetTimer(window, kReadBoxTimer, 1, &ReadBox);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxAnswerer::Answer(HWND box) {
    SeenBox seen;
    seen.caption = WindowText(box);
    // Control identifiers differ between systems, and unused buttons may
    // exist hidden: the controls are told apart by class and style.
    bool hasYes = false, hasNo = false, hasWanted = false;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const int id = GetDlgCtrlID(child);
        if (_wcsicmp(className, L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                seen.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
            } else if (seen.text.empty()) {
                seen.text = WindowText(child);
            }
        } else if (_wcsicmp(className, L"Button") == 0 && (style & WS_VISIBLE)) {
            hasYes |= id == IDYES;
            hasNo |= id == IDNO;
            hasWanted |= id == answer_;
        }
    }
    seen.yesNo = hasYes && hasNo;
    boxes_.push_back(seen);
    const int button = hasWanted ? answer_ : IDOK;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    if (onBox_) onBox_(seen);
}
