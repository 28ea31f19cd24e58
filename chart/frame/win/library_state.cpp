#include "library_state.h"

TopDesc* _TopDesc = nullptr;  // C linkage from the declaration

namespace lmc32 {
namespace {

HINSTANCE g_module = nullptr;
DevDesc g_screen{};
TopDesc* g_initTop = nullptr;
HWND g_formPage = nullptr;
LMHOOKPROC g_remoteRecalc = nullptr;
bool g_enhancedMetafiles = false;

}  // namespace

HINSTANCE LibraryModule() { return g_module; }
void SetLibraryModule(HINSTANCE module) { g_module = module; }
DevDesc& ScreenDevice() { return g_screen; }
TopDesc* InitTopDesc() { return g_initTop; }
void SetInitTopDesc(TopDesc* top) { g_initTop = top; }
HWND PendingFormPage() { return g_formPage; }
bool EnhancedMetafilesAvailable() { return g_enhancedMetafiles; }
void SetEnhancedMetafilesAvailable(bool available) { g_enhancedMetafiles = available; }

std::size_t LoadLibraryText(int id, wchar_t* buffer, int limit) {
    buffer[0] = L'\0';
    int n = LoadStringW(g_module, static_cast<UINT>(id), buffer, limit + 1);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

}  // namespace lmc32

using namespace lmc32;

extern "C" {

void WINAPI InitDll(TopDesc* top) { _TopDesc = top; }

DevDesc* WINAPI GetDevDesc(void) {
    return _TopDesc && _TopDesc->pDevDesc ? _TopDesc->pDevDesc : &g_screen;
}

int WINAPI WGGetVersion(int* minor) {
    if (minor) *minor = 0;
    return 3;
}

#define LMC32_WIDEN2(s) L##s
#define LMC32_WIDEN(s) LMC32_WIDEN2(s)

LPCWSTR WINAPI WGGetDate(void) {
    static const wchar_t kBuildDate[] = LMC32_WIDEN(__DATE__);
    return kBuildDate;
}

HWND WINAPI SetFormPage(HWND form) {
    g_formPage = form;
    return form;
}

LMHOOKPROC WINAPI SetRemoteRecalc(LMHOOKPROC recalc) {
    g_remoteRecalc = recalc;
    return recalc;
}

void WINAPI SetRemoteSaveRestDynObj(LMHOOKPROC save, LMHOOKPROC restore) {
    if (!_TopDesc) return;
    _TopDesc->pfnSaveDynObj = save;
    _TopDesc->pfnRestoreDynObj = restore;
}

}  // extern "C"
