// The few control operations the main window needs, over plain Win32
// controls: memos are multi-line edit controls, hints are tooltips.
#pragma once

#include <windows.h>

#include <string>

#include "app/log_text.h"

namespace zu {

// Memo: a read-only multi-line edit control without a text limit.
void PrepareMemo(HWND memo);
void MemoWriteText(HWND memo, MemoWrite mode, const std::wstring& text);
void MemoSetText(HWND memo, const std::wstring& text);

// Hints: one tooltip control serving several controls of a window.
class Hints {
public:
    void Create(HWND owner);
    void Set(HWND control, const std::wstring& text);

private:
    HWND tooltip_ = nullptr;
    HWND owner_ = nullptr;
};

// Opens a popup menu at the mouse position and returns at once; the chosen
// command reaches `owner` as WM_COMMAND.
void ShowPopupAtCursor(HMENU menu, HWND owner, UINT alignment);

// Asks for a file to save to; empty when the user cancels.
std::wstring AskSaveFileName(HWND owner, const std::wstring& initialFolder, const wchar_t* filter,
                             const wchar_t* defaultExtension);

}  // namespace zu
