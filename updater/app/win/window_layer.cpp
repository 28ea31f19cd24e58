#include "app/win/window_layer.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

namespace zu {

void PrepareMemo(HWND memo) {
    // The log of a long run must never be cut off at the default 30000 characters.
    SendMessageW(memo, EM_SETLIMITTEXT, 0, 0);
}

void MemoWriteText(HWND memo, MemoWrite mode, const std::wstring& text) {
    const auto length = static_cast<std::size_t>(GetWindowTextLengthW(memo));
    const LRESULT lines = SendMessageW(memo, EM_GETLINECOUNT, 0, 0);
    const LRESULT lastLineStart = SendMessageW(memo, EM_LINEINDEX, static_cast<WPARAM>(lines - 1), 0);
    const MemoEdit edit =
        PlanMemoEdit(length, lastLineStart < 0 ? length : static_cast<std::size_t>(lastLineStart), mode, text);
    SendMessageW(memo, EM_SETSEL, edit.from, length);
    SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(edit.text.c_str()));
}

void MemoSetText(HWND memo, const std::wstring& text) { SetWindowTextW(memo, text.c_str()); }

void Hints::Create(HWND owner) {
    owner_ = owner;
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    // A width makes the tooltip honour line breaks in its text.
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

void Hints::Set(HWND control, const std::wstring& text) {
    if (!tooltip_) return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    // Adding an existing tool fails; then only its text changes.
    if (!SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void ShowPopupAtCursor(HMENU menu, HWND owner, UINT alignment) {
    POINT cursor{};
    GetCursorPos(&cursor);
    // The owner must be the foreground window, or the menu does not close
    // when the user clicks elsewhere.
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, alignment | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

std::wstring AskSaveFileName(HWND owner, const std::wstring& initialFolder, const wchar_t* filter,
                             const wchar_t* defaultExtension) {
    // Long paths: the dialog fills at most this many characters.
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initialFolder.c_str();
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) return {};
    return file.data();
}

}  // namespace zu
