// Page and graph window procedures. Each message first makes the
// descriptor made by WGInit current again: a companion module may have
// switched it.
#include "window_procs.h"

#include "highlight.h"
#include "page_store.h"

namespace lmc32 {
namespace {

void ReselectLibraryDescriptor() {
    if (InitTopDesc()) _TopDesc = InitTopDesc();
}

// The key message's arguments, read by the receiver of a posted message.
LPARAM KeyPair(WPARAM wParam, LPARAM lParam) {
    static LONG_PTR pair[2];
    pair[0] = static_cast<LONG_PTR>(wParam);
    pair[1] = lParam;
    return reinterpret_cast<LPARAM>(pair);
}

bool IsGraphMouseMessage(UINT message) {
    return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) || message == WM_CONTEXTMENU;
}

void ForwardMouse(PgDesc* page, UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    DevDesc* device = GetDevDesc();
    device->xMouse = x;
    device->yMouse = y;
    LONG_PTR position[3] = {x, y, static_cast<LONG_PTR>(wParam)};
    LONG_PTR pair[2] = {static_cast<LONG_PTR>(wParam), reinterpret_cast<LONG_PTR>(position)};
    if (page) SendMessageW(page->hWndParent, MouseMessage(), message, reinterpret_cast<LPARAM>(pair));
}

}  // namespace

LRESULT CALLBACK PageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ReselectLibraryDescriptor();
    auto* page = reinterpret_cast<PgDesc*>(GetWindowLongPtrW(window, kPageSlotPage));
    switch (message) {
        case WM_CREATE: {
            page = static_cast<PgDesc*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            page->hWnd = window;
            SetWindowLongPtrW(window, kPageSlotPage, reinterpret_cast<LONG_PTR>(page));
            SetWindowLongPtrW(window, kPageSlotTop, reinterpret_cast<LONG_PTR>(_TopDesc));
            return 0;
        }
        case WM_PAINT:
            if (!page) break;
            PaintPage(window, page);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_DESTROY:
            if (page) {
                SetWindowLongPtrW(window, kPageSlotPage, 0);
                KillGraphPage(page->nPage);
            }
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (page) PostMessageW(page->hWndParent, KeyMessage(), message, KeyPair(wParam, lParam));
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ReselectLibraryDescriptor();
    auto* graph = reinterpret_cast<GrDesc*>(GetWindowLongPtrW(window, kGraphSlotGraph));
    switch (message) {
        case WM_CREATE: {
            graph = static_cast<GrDesc*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            graph->hWnd = window;
            SetWindowLongPtrW(window, kGraphSlotGraph, reinterpret_cast<LONG_PTR>(graph));
            SetWindowLongPtrW(window, kGraphSlotTop, reinterpret_cast<LONG_PTR>(_TopDesc));
            SetWindowLongPtrW(window, kGraphSlotPage, reinterpret_cast<LONG_PTR>(graph->pPage));
            return 0;
        }
        case WM_PAINT:
            if (!graph) break;
            PaintGraph(window, graph);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (graph && graph->pPage)
                PostMessageW(graph->pPage->hWndParent, KeyMessage(), message, KeyPair(wParam, lParam));
            break;
        case WM_CHAR:
            return 0;
        default:
            if (graph && IsGraphMouseMessage(message)) {
                if (message == WM_RBUTTONDOWN || message == WM_LBUTTONDBLCLK) HighlightObj(graph, graph->nSelObj);
                ForwardMouse(graph->pPage, message, wParam, lParam);
                return 0;
            }
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace lmc32
