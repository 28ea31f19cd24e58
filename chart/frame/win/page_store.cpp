#include "page_store.h"

#include "../page_geometry.h"

namespace lmc32 {

PgDesc* PageByNumber(int number) {
    if (!_TopDesc || number < 1 || number > kMaxPages + 1) return nullptr;
    return static_cast<PgDesc*>(_TopDesc->hPgDesc[number]);
}

GrDesc* GraphInSlot(const PgDesc* page, int slot) {
    if (!page || slot < 0 || slot >= kGraphSlots) return nullptr;
    return static_cast<GrDesc*>(page->hGrDesc[slot]);
}

bool IsOpenPage(const PgDesc* page) {
    if (!page) return false;
    for (int n = 1; n <= kMaxPages; ++n)
        if (PageByNumber(n) == page) return page->dwMagic == LMC32_PAGE_MAGIC;
    return false;
}

bool IsOpenGraph(const GrDesc* graph) {
    if (!graph) return false;
    for (int n = 1; n <= kMaxPages; ++n) {
        const PgDesc* page = PageByNumber(n);
        for (int slot = 0; page && slot < kGraphSlots; ++slot)
            if (GraphInSlot(page, slot) == graph) return graph->dwMagic == LMC32_GRAPH_MAGIC;
    }
    return false;
}

void ApplyPageMapping(HDC dc, const PgDesc& page) {
    SetMapMode(dc, page.nMapMode);
    SetWindowExtEx(dc, page.cxLog, page.cyLog, nullptr);
    SetViewportExtEx(dc, page.cxClient, page.cyClient, nullptr);
}

void ApplyGraphMapping(HDC dc, const GrDesc& graph) {
    SetMapMode(dc, graph.nMapMode ? graph.nMapMode : kMapAnisotropic);
    SetWindowExtEx(dc, graph.cxLog, graph.cyLog, nullptr);
    SetViewportExtEx(dc, graph.cxPix, graph.cyPix, nullptr);
}

POINT PixelsToLogical(HDC dc, int pixels) {
    POINT ends[2] = {{0, 0}, {pixels, pixels}};
    DPtoLP(dc, ends, 2);
    return {ends[1].x - ends[0].x, ends[1].y - ends[0].y};
}

void DeleteGraph(GrDesc* graph) {
    PgDesc* page = graph->pPage;
    const int slot = SplitGraphNumber(graph->nGraph).slot;
    // Objects own further blocks by type; the records themselves go here.
    for (LONG i = 0; graph->pObjArray && i < graph->nObjSlots; ++i) {
        if (graph->pObjArray[i]) GlobalFree(graph->pObjArray[i]);
        graph->pObjArray[i] = nullptr;
    }
    if (graph->hTempObj) GlobalFree(graph->hTempObj);
    graph->hTempObj = nullptr;
    if (page && page->nSel == graph->nGraph) page->nSel = 0;
    if (graph->hBuildDC) {
        CleanGDI(graph->hBuildDC);
        ReleaseDC(graph->hWnd, graph->hBuildDC);
        graph->hBuildDC = nullptr;
    }
    if (graph->hWnd) {
        // The window must not reach the descriptor while it goes away.
        SetWindowLongPtrW(graph->hWnd, kGraphSlotGraph, 0);
        SetWindowLongPtrW(graph->hWnd, kGraphSlotPage, 0);
        DestroyWindow(graph->hWnd);
    }
    if (page) {
        --page->nGraphs;
        if (page->hGrDesc[slot] == graph) page->hGrDesc[slot] = nullptr;
    }
    if (graph->hObjArray) GlobalFree(graph->hObjArray);
    for (HGLOBAL& saved : graph->hSavedXAxes) {
        if (saved) GlobalFree(saved);
        saved = nullptr;
    }
    for (HGLOBAL& saved : graph->hSavedYAxes) {
        if (saved) GlobalFree(saved);
        saved = nullptr;
    }
    graph->nGraph = 0;
    graph->pPage = nullptr;
    graph->dwMagic = 0;
    GlobalFree(graph);
}

namespace {

#if defined(_WIN64)
using PageBuildFunction = void (*)(void*, PgDesc*);
using GraphBuildFunction = void (*)(void*, GrDesc*, HDC);
#else
// A member function of a 32-bit C++ host: the object travels in ECX.
using PageBuildFunction = void(__attribute__((thiscall)) *)(void*, PgDesc*);
using GraphBuildFunction = void(__attribute__((thiscall)) *)(void*, GrDesc*, HDC);
#endif

void* FirstVirtualFunction(void* object) { return (*static_cast<void***>(object))[0]; }

}  // namespace

void CallPageBuilder(void* builder, PgDesc* page) {
    reinterpret_cast<PageBuildFunction>(FirstVirtualFunction(builder))(builder, page);
}

void CallGraphBuilder(void* builder, GrDesc* graph, HDC dc) {
    reinterpret_cast<GraphBuildFunction>(FirstVirtualFunction(builder))(builder, graph, dc);
}

UINT EndPaintMessage() {
    static const UINT message = RegisterWindowMessageW(L"WM_EndPaint");
    return message;
}

UINT KeyMessage() {
    static const UINT message = RegisterWindowMessageW(L"WM_KeyGrafik_Win");
    return message;
}

UINT MouseMessage() {
    static const UINT message = RegisterWindowMessageW(L"WM_Grafik_Win");
    return message;
}

}  // namespace lmc32
