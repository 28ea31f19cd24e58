// Pictures of page and graph windows as the screen shows them.
#include <algorithm>

#include "win/page_store.h"

namespace lmc32 {
namespace {

constexpr int kWholeWindow = 1;
constexpr int kClientArea = 2;

// Pages and graphs both keep their window in the second field; only
// descriptors the library holds open are read.
HWND WindowOfDescriptor(const void* pageOrGraph) {
    const auto* page = static_cast<const PgDesc*>(pageOrGraph);
    if (IsOpenPage(page)) return page->hWnd;
    const auto* graph = static_cast<const GrDesc*>(pageOrGraph);
    if (IsOpenGraph(graph)) return graph->hWnd;
    return nullptr;
}

HBITMAP CopyArea(HDC source, int x, int y, int cx, int cy) {
    if (cx <= 0 || cy <= 0) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(source, cx, cy);
    HDC memory = CreateCompatibleDC(source);
    if (!bitmap || !memory) {
        if (bitmap) DeleteObject(bitmap);
        if (memory) DeleteDC(memory);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, cx, cy, source, x, y, SRCCOPY | CAPTUREBLT);
    SelectObject(memory, old);
    DeleteDC(memory);
    return bitmap;
}

}  // namespace
}  // namespace lmc32

using namespace lmc32;

extern "C" {

HBITMAP WINAPI WGGetPageBitmapHandle(const void* pageOrGraph, int mode) {
    HWND window = WindowOfDescriptor(pageOrGraph);
    if (!window || (mode != kWholeWindow && mode != kClientArea)) return nullptr;
    // What is pending must be on the screen before it is copied.
    UpdateWindow(window);
    HBITMAP bitmap = nullptr;
    if (mode == kWholeWindow) {
        RECT frame{};
        GetWindowRect(window, &frame);
        const int left = std::max<LONG>(frame.left, 0), top = std::max<LONG>(frame.top, 0);
        HDC screen = GetDC(nullptr);
        const int right = std::min<LONG>(frame.right, GetDeviceCaps(screen, HORZRES));
        const int bottom = std::min<LONG>(frame.bottom, GetDeviceCaps(screen, VERTRES));
        bitmap = CopyArea(screen, left, top, right - left, bottom - top);
        ReleaseDC(nullptr, screen);
    } else {
        RECT client{};
        GetClientRect(window, &client);
        HDC dc = GetDC(window);
        bitmap = CopyArea(dc, 0, 0, client.right, client.bottom);
        ReleaseDC(window, dc);
    }
    return bitmap;
}

}  // extern "C"
