// WGInit, InitTop and Cleanup: the top descriptor's life.
#include "../bad_value.h"
#include "library_state.h"
#include "window_procs.h"

namespace lmc32 {
namespace {

constexpr LONG kRealSize = sizeof(double);
constexpr int kDefaultTextPoints = 10;
constexpr BYTE kDefaultPitchAndFamily = 32;
constexpr UINT kPageClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
constexpr UINT kGraphClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_PARENTDC;

bool SystemHasEnhancedMetafiles() {
    OSVERSIONINFOEXW wanted{};
    wanted.dwOSVersionInfoSize = sizeof wanted;
    wanted.dwMajorVersion = 5;
    wanted.dwMinorVersion = 1;
    wanted.wServicePackMajor = 0;
    DWORDLONG condition = 0;
    condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
    condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
    condition = VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, condition);
}

// A class left registered by an earlier descriptor of the same instance
// would make the registration fail; it is replaced once.
bool RegisterOrReplace(const WNDCLASSW& windowClass) {
    if (RegisterClassW(&windowClass)) return true;
    UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
    return RegisterClassW(&windowClass) != 0;
}

void SetDefaultText(TextDesc& text) {
    text.crColor = 0;
    text.lf.lfPitchAndFamily = kDefaultPitchAndFamily;
    text.lf.lfWeight = FW_NORMAL;
    text.nSize = kDefaultTextPoints;
    text.nBaseSize = kDefaultTextPoints;
}

void SetDefaultPrintOptions(PrintOpts& options) {
    options = PrintOpts{};
    options.bScaleLineWidths = TRUE;
    options.bPrintKeepAspect = TRUE;
}

}  // namespace
}  // namespace lmc32

using namespace lmc32;

extern "C" {

BOOL WINAPI InitTop(TopDesc* top, WNDPROC pageProc, WNDPROC graphProc, UINT graphClassStyle) {
    SetEnhancedMetafilesAvailable(SystemHasEnhancedMetafiles());
    _TopDesc = top;
    if (top->nRealSize != kRealSize) {
        ErrHdlr(69, 2, top->nRealSize == 4 ? L"DOUBLE" : L"FLOAT");
        return FALSE;
    }

    top->DefText.nSize = kDefaultTextPoints;
    top->PrintOpts.bScaleLineWidths = TRUE;
    top->bErrMsg = TRUE;
    top->bInit = TRUE;
    top->dMaxVal = kMaxGoodValue;
    top->dMinVal = kMinGoodValue;
    top->dBadVal = kBadValueMarker;
    top->nNextUserID = 1;
    top->bNoAutoUserID = FALSE;
    top->pDevDesc = &ScreenDevice();
    for (HGLOBAL& entry : top->hPgDesc) entry = nullptr;

    top->hClipRgn = CreateRectRgn(0, 0, 30000, 30000);
    SetDefaultText(top->DefText);
    if (!top->PrintOpts.bPrintOptsSet) SetDefaultPrintOptions(top->PrintOpts);

    WNDCLASSW page{};
    page.style = kPageClassStyle;
    page.lpfnWndProc = pageProc;
    page.cbWndExtra = kPageWindowExtra;
    page.hInstance = top->hInst;
    page.hIcon = LoadIconW(top->hInst, L"PgWin");
    page.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    page.lpszClassName = L"PgWin";
    bool registered = RegisterOrReplace(page);

    if (registered) {
        top->hGraphCursor = LoadCursorW(top->hInst, L"chartcur");
        WNDCLASSW graph{};
        graph.style = graphClassStyle;
        graph.lpfnWndProc = graphProc;
        graph.cbWndExtra = kGraphWindowExtra;
        graph.hInstance = top->hInst;
        graph.hCursor = top->hGraphCursor ? top->hGraphCursor : LoadCursorW(nullptr, IDC_ARROW);
        graph.lpszClassName = L"GrWin";
        registered = RegisterOrReplace(graph);
    }

    top->pfnSaveDynObj = nullptr;
    top->pfnRestoreDynObj = nullptr;
    return registered ? TRUE : FALSE;
}

void WINAPI WGInit(HINSTANCE hInst, HWND hWndMain) {
    HGLOBAL block = GlobalAlloc(GHND, sizeof(TopDesc));
    TopDesc* top = block ? static_cast<TopDesc*>(GlobalLock(block)) : nullptr;
    if (!top) {
        // The previous descriptor, if any, stays current and usable.
        if (block) GlobalFree(block);
        ErrHdlr(53, 0, nullptr);
        return;
    }
    _TopDesc = top;
    SetInitTopDesc(top);
    if (top->bInit) return;
    top->pDevDesc = GetDevDesc();
    top->hWndMain = hWndMain;
    top->hInst = hInst;
    top->nRealSize = sizeof(double);
    if (!InitTop(top, &PageWindowProc, &GraphWindowProc, kGraphClassStyle))
        ExitApplication(L"Call from DRAWAPI: WGInit");
}

BOOL WINAPI Cleanup(TopDesc* top, BOOL /*bFreeArrays: passed on to the data sets' release*/) {
    _TopDesc = top;
    if (!top->bInit) return FALSE;
    if (top->hGraphCursor) DestroyCursor(top->hGraphCursor);
    top->hGraphCursor = nullptr;
    top->bInit = FALSE;
    if (top->hClipRgn) DeleteObject(top->hClipRgn);
    top->hClipRgn = nullptr;
    return TRUE;
}

}  // extern "C"
