// Waiting, menu check marks and the dialog cursor option.
#include "library_state.h"

namespace {
bool g_okCursor = true;
}

extern "C" {

DWORD WINAPI Delay(DWORD milliseconds, BOOL pump) {
    TopDesc* const entryTop = _TopDesc;
    const ULONGLONG start = GetTickCount64();
    ULONGLONG now = start;
    while (now - start < milliseconds) {
        if (pump) {
            MSG msg;
            if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        now = GetTickCount64();
    }
    // A dispatched message may have run a companion module that switched it.
    _TopDesc = entryTop;
    return static_cast<DWORD>(now);
}

int WINAPI WGMenuCheck(PgDesc* page, UINT item, int submenu) {
    if (!page) return 0;
    HMENU menu = GetSubMenu(GetMenu(page->hWnd), submenu);
    if (!menu) return 0;
    const bool checked = (GetMenuState(menu, item, MF_BYCOMMAND) & MF_CHECKED) != 0;
    CheckMenuItem(menu, item, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
    return checked ? 0 : 1;
}

void WINAPI WGToggleOKCursor(BOOL on) { g_okCursor = on != FALSE; }

void WINAPI WGSetOKCursor(HWND dialog) {
    if (!g_okCursor) return;
    HWND ok = GetDlgItem(dialog, IDOK);
    if (!ok) return;
    SetFocus(ok);
    RECT rc;
    if (GetWindowRect(ok, &rc)) SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

}  // extern "C"
