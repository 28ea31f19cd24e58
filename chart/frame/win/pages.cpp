// Page creation, lookup and destruction.
#include <string>

#include "../fault_report.h"
#include "../page_geometry.h"
#include "guarded_call.h"
#include "page_store.h"
#include "trace_log.h"

namespace lmc32 {
namespace {

constexpr char kTracePage[] = "LMC32_InitPage";
constexpr DWORD kDefaultPageStyle = 0x82CF0000;  // pop-up, clip children, overlapped window
constexpr int kUnsetPosition = static_cast<int>(0x80000000);

struct PageRequest {
    LPCWSTR name;
    HWND parent;
    LPCWSTR title;
    LPCWSTR menu;
    COLORREF color;
    int mapping;
    DWORD style;
    int positionMode;
    int x, y, width, height;
    void* builder;
    PgDesc* page;  // as far as it was created
};

std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }

// Names are unique among open pages (as stored, cut to 12 characters);
// pages without a name do not compete.
bool NameInUse(const std::wstring& name) {
    if (name.empty()) return false;
    for (int n = 1; n <= kMaxPages; ++n) {
        const PgDesc* page = PageByNumber(n);
        if (page && name == page->szName) return true;
    }
    return false;
}

void ForgetPage(TopDesc* top, PgDesc* page) {
    top->hPgDesc[page->nPage] = nullptr;
    page->dwMagic = 0;
    GlobalFree(page);
}

RECT PagePlacement(const PageRequest& r, int positionMode, bool child) {
    const DevDesc& screen = *GetDevDesc();
    if (positionMode == 0 && r.parent) {
        RECT client{}, frame{};
        GetClientRect(r.parent, &client);
        if (child) return {0, 0, client.right, client.bottom};
        GetWindowRect(r.parent, &frame);
        const int x = frame.left + GetSystemMetrics(SM_CXSIZEFRAME);
        const int y = frame.top - GetSystemMetrics(SM_CYSIZEFRAME) + ((frame.bottom - frame.top) - client.bottom);
        return {x, y, client.right, client.bottom};
    }
    if (positionMode == 2) {
        return {r.x == kUnsetPosition ? 0 : r.x, r.y == kUnsetPosition ? 0 : r.y,
                r.width == kUnsetPosition ? screen.nScreenWidth : r.width,
                r.height == kUnsetPosition ? screen.nScreenHeight : r.height};
    }
    return {0, 0, screen.nScreenWidth, screen.nScreenHeight};
}

void BuildPage(void* context) {
    PageRequest& r = *static_cast<PageRequest*>(context);
    TopDesc* top = _TopDesc;

    const std::wstring name = r.name ? std::wstring(r.name).substr(0, 12) : std::wstring();
    if (NameInUse(name)) return;  // null, without a message
    int number = 0;
    for (int n = 1; n <= kMaxPages && number == 0; ++n)
        if (!PageByNumber(n)) number = n;
    if (number == 0) {
        ErrHdlr(51, 0, nullptr);
        return;
    }
    auto* page = static_cast<PgDesc*>(GlobalAlloc(GPTR, sizeof(PgDesc)));
    if (!page) {
        ErrHdlr(53, 0, nullptr);
        return;
    }
    top->hPgDesc[number] = page;
    r.page = page;

    page->nPage = number;
    page->crBack = WGGetRGBColor(r.color);
    page->nMajorTick = 4;
    page->nMinorTick = 2;
    page->fScaleX = page->fScaleY = 1.0f;
    page->dwMagic = LMC32_PAGE_MAGIC;
    wcsncpy(page->szName, name.c_str(), 12);

    const PageMapping mapping = PageMappingFromArgument(r.mapping);
    page->nMapMode = mapping.mapMode;
    page->nKeepAspect = mapping.keepAspect;
    page->bFixedFonts = mapping.fixedFonts;

    const std::wstring title = r.title && *r.title ? std::wstring(r.title) : Wide(DefaultPageTitle(number));
    page->pBuilder = r.builder;
    page->pTop = top;

    int positionMode = (!r.parent && r.positionMode == 0) ? 1 : r.positionMode;
    page->nPosMode = positionMode;
    DWORD style = r.style;
    HMENU menuOrId = nullptr;
    const bool child = (style & WS_CHILD) != 0;
    if (child) {
        if (positionMode == 1) positionMode = 0;
        if (r.parent) {
            menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(number));
        } else {
            style = (style & ~WS_CHILD) | WS_POPUP;
        }
    } else if (r.menu) {
        menuOrId = LoadMenuW(top->hInst, r.menu);
    }

    HWND window = PendingFormPage();
    const bool formPage = window != nullptr;
    if (formPage) {
        SetFormPage(nullptr);  // one page per named form
        page->hWnd = window;
    } else {
        style = style ? (style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS) : kDefaultPageStyle;
        const RECT at = PagePlacement(r, positionMode, (style & WS_CHILD) != 0);
        window = CreateWindowExW(0, L"PgWin", title.c_str(), style, at.left, at.top, at.right, at.bottom,
                                 r.parent, menuOrId, top->hInst, page);
        if (!window) {
            if (menuOrId && !child) DestroyMenu(menuOrId);
            ErrHdlr(50, 2, name.c_str());
            ForgetPage(top, page);
            r.page = nullptr;
            return;
        }
        SetWindowLongPtrW(window, kPageSlotPage, reinterpret_cast<LONG_PTR>(page));
        SetWindowLongPtrW(window, kPageSlotTop, reinterpret_cast<LONG_PTR>(top));
    }
    page->hWnd = window;
    page->hWndParent = r.parent;
    if (!formPage) ShowWindow(window, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);

    RECT client{};
    if (!GetClientRect(window, &client)) TracePlain("   LMC32_InitPage", "   ERROR GetClientRect");
    int cx = client.right, cy = client.bottom;
    if (cy == 0) {
        if (formPage) {
            ++top->nPages;
            page->nMapMode = kMapIsotropic;
            return;
        }
        if (r.width >= 1 && r.height >= 1) {
            cx = r.width;
            cy = r.height;
        } else {
            // The page goes without a trace: its window must not delete it again.
            SetWindowLongPtrW(window, kPageSlotPage, 0);
            DestroyWindow(window);
            ForgetPage(top, page);
            r.page = nullptr;
            return;
        }
    }
    page->cxClient = page->cxOrig = cx;
    page->cyClient = page->cyOrig = cy;
    const DevDesc& screen = *GetDevDesc();
    const LogicalSize logical = PageLogicalSize(page->nMapMode, cx, cy, screen.nScreenWidth, screen.nScreenHeight);
    page->cxLog = logical.cx;
    page->cyLog = logical.cy;

    ++top->nPages;
    SendMessageW(window, WM_PAINT, 0, 0);  // the first paint runs the page's builder
}

}  // namespace
}  // namespace lmc32

using namespace lmc32;

extern "C" {

PgDesc* WINAPI InitPage(LPCWSTR name, HWND parent, LPCWSTR title, LPCWSTR menu, COLORREF color, int mapping,
                        DWORD style, int positionMode, int x, int y, int width, int height, void* builder) {
    TraceBegin(kTracePage, "");
    PageRequest request{name, parent, title, menu, color, mapping, style, positionMode, x, y, width, height,
                        builder, nullptr};
    CaughtFault fault{};
    if (!CallGuarded(&BuildPage, &request, &fault)) {
        const FaultReport report = DescribeFault(fault.exceptionCode, fault.address);
        const std::wstring text(report.text.begin(), report.text.end());
        ErrHdlr(report.errorCode, 2, text.c_str());
        ExitApplication(L"__except (ExpFilter (((GetExceptionInformation())->ExceptionRecord)))");
    }
    TraceEnd(kTracePage, "");
    return request.page;
}

PgDesc* WINAPI WGCreatePage(LPCWSTR name, HWND parent, int /*unused*/, LPCWSTR title, void* builder, LPCWSTR menu,
                            COLORREF color, int mapping, DWORD style, int positionMode, int x, int y, int width,
                            int height) {
    return InitPage(name, parent, title, menu, color, mapping, style, positionMode, x, y, width, height, builder);
}

void WINAPI KillGraphPage(int number) {
    PgDesc* page = PageByNumber(number);
    if (!page) return;
    for (int slot = 0; slot < kGraphSlots; ++slot)
        if (GrDesc* graph = GraphInSlot(page, slot)) DeleteGraph(graph);
    _TopDesc->hPgDesc[number] = nullptr;
    page->dwMagic = 0;
    GlobalFree(page);
    --_TopDesc->nPages;
}

void WINAPI WGClosePage(PgDesc* page) {
    if (!IsOpenPage(page)) return;
    wchar_t className[8] = {};
    GetClassNameW(page->hWnd, className, 8);
    if (wcscmp(className, L"PgWin") != 0) {
        // A host form lent to the page stays the host's.
        KillGraphPage(page->nPage);
        return;
    }
    DestroyWindow(page->hWnd);
}

PgDesc* WINAPI GetPgDescPtr(int number) { return PageByNumber(number); }

BOOL WINAPI WGIsPageDescValid(PgDesc* page) { return IsOpenPage(page); }

BOOL WINAPI WGIsDescValid(const void* pointer) {
    // Asked of the memory manager: probing by reading would fault.
    const auto* start = static_cast<const BYTE*>(pointer);
    const BYTE* end = start + 20;
    for (const BYTE* at = start; at < end;) {
        MEMORY_BASIC_INFORMATION info{};
        if (!VirtualQuery(at, &info, sizeof info) || info.State != MEM_COMMIT) return FALSE;
        const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                               PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
        if (!(info.Protect & readable) || (info.Protect & PAGE_GUARD)) return FALSE;
        at = static_cast<const BYTE*>(info.BaseAddress) + info.RegionSize;
    }
    return TRUE;
}

PgDesc* WINAPI WGGetPageDesc(HWND window) {
    if (!window) return nullptr;
    wchar_t className[8] = {};
    GetClassNameW(window, className, 8);
    if (wcscmp(className, L"PgWin") == 0) {
        auto* page = reinterpret_cast<PgDesc*>(GetWindowLongPtrW(window, kPageSlotPage));
        if (IsOpenPage(page) && page->hWnd == window) return page;
    }
    for (int n = 1; n <= kMaxPages; ++n) {
        PgDesc* page = PageByNumber(n);
        if (page && page->hWnd == window) return page;
    }
    return nullptr;
}

HWND WINAPI WGGetPageWindow(PgDesc* page) { return page ? page->hWnd : nullptr; }

}  // extern "C"
