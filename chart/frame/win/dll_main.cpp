// Loading and unloading of the library.
#include "../palette.h"
#include "guarded_call.h"
#include "library_state.h"
#include "trace_log.h"

namespace lmc32 {
namespace {

constexpr int kSelectorButtonExtra = 4 * kWindowSlot;
constexpr int kDataTableExtra = 10 * kWindowSlot;
constexpr int kDataTableBrushColor = 1;

int g_attachCount = 0;
HBRUSH g_dataTableBrush = nullptr;

// The classes' procedures belong to the selector buttons and the data
// table window; until those exist their windows behave as plain windows.
bool RegisterLibraryClasses(HINSTANCE module) {
    WNDCLASSW button{};
    button.lpfnWndProc = DefWindowProcW;
    button.cbWndExtra = kSelectorButtonExtra;
    button.hInstance = module;
    button.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    button.lpszClassName = L"CusButton";
    if (!RegisterClassW(&button)) return true;  // neither class, but the library still loads

    g_dataTableBrush = CreateSolidBrush(PaletteEntry(kDataTableBrushColor));
    WNDCLASSW table{};
    table.style = CS_VREDRAW | CS_HREDRAW | CS_SAVEBITS;
    table.lpfnWndProc = DefWindowProcW;
    table.cbWndExtra = kDataTableExtra;
    table.hInstance = module;
    table.hIcon = LoadIconW(module, L"TableIcon");
    table.hCursor = LoadCursorW(nullptr, IDC_UPARROW);
    table.hbrBackground = g_dataTableBrush;
    table.lpszMenuName = L"DATAMENU";
    table.lpszClassName = L"DataTab";
    return RegisterClassW(&table) != 0;
}

void FillScreenDevice(HINSTANCE module) {
    DevDesc& screen = ScreenDevice();
    screen.nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    screen.nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    HDC dc = GetDC(nullptr);
    if (dc) {
        screen.nScreenPpiX = GetDeviceCaps(dc, LOGPIXELSX);
        screen.nScreenPpiY = GetDeviceCaps(dc, LOGPIXELSY);
        screen.nColors = GetDeviceCaps(dc, NUMCOLORS);
        ReleaseDC(nullptr, dc);
    }
    screen.hModule = module;
}

BOOL OnProcessAttach(HINSTANCE module) {
    ++g_attachCount;
    SetLibraryModule(module);
    OutputDebugStringA("LMC32-DLL: DLL_PROCESS_ATTACH");
    LoadTraceSetting(module);
    if (!RegisterLibraryClasses(module)) return FALSE;
    FillScreenDevice(module);
    return TRUE;
}

void OnProcessDetach() {
    OutputDebugStringA("LMC32-DLL: DLL_PROCESS_DETACH Begin");
    if (--g_attachCount < 1) {
        if (g_dataTableBrush) DeleteObject(g_dataTableBrush);
        g_dataTableBrush = nullptr;
        RemoveFaultHandler();
    }
    OutputDebugStringA("LMC32-DLL: DLL_PROCESS_DETACH End");
}

}  // namespace
}  // namespace lmc32

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    switch (reason) {
        case DLL_PROCESS_ATTACH: return lmc32::OnProcessAttach(module);
        case DLL_PROCESS_DETACH: lmc32::OnProcessDetach(); break;
        default: break;
    }
    return TRUE;
}
