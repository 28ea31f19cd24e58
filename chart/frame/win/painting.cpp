// The two-phase protocol (build, then paint) and the painting of pages
// and graphs.
#include "../page_geometry.h"
#include "page_store.h"

namespace lmc32 {
namespace {

void EndBuilding(GrDesc* graph) {
    graph->nCurObj = 0;
    graph->bBuilding = FALSE;
}

void FillLogical(HDC dc, const RECT& area, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

}  // namespace

void PaintPage(HWND window, PgDesc* page) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (page->pBuilder && !page->bBuilt) {
        page->bBuilt = TRUE;
        CallPageBuilder(page->pBuilder, page);
    }
    RECT clip;
    GetClipBox(dc, &clip);
    FillLogical(dc, clip, page->crBack);
    EndPaint(window, &paint);
    SendMessageW(page->hWndParent, EndPaintMessage(), 0, 0);
}

void PaintGraph(HWND window, GrDesc* graph) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PgDesc* page = graph->pPage;
    if (page && page->bBlownUp && page->nSel != graph->nGraph) {
        EndPaint(window, &paint);
        return;
    }
    graph->bPrinting = FALSE;
    // While the graph is building nCurObj is where its next object goes.
    if (!graph->bBuilding) graph->nCurObj = 0;
    if (graph->pBuilder && !graph->bBuilt) {
        graph->bBuilt = TRUE;
        CallGraphBuilder(graph->pBuilder, graph, dc);
        // The builder may have deleted the graph or closed its page.
        if (!GetWindowLongPtrW(window, kGraphSlotPage)) {
            ErrHdlr(65, 0, nullptr);
            EndPaint(window, &paint);
            return;
        }
        EndBuilding(graph);
    }
    if (!graph->bBuilding) {
        if (_TopDesc->bTerm) {
            ExitApplication(L"Call from DRAWAPI: GraphProc case WM_PAINT: if (_TopDesc->bTerm)");
        } else {
            ObjectInterpreter(graph, dc);
            graph->bPaintedOnce = 1;
            if (_TopDesc->bTerm)
                ExitApplication(L"Call from DRAWAPI: GraphProc case WM_PAINT: else if (_TopDesc->bTerm)");
        }
    }
    CleanGDI(dc);
    EndPaint(window, &paint);
}

}  // namespace lmc32

using namespace lmc32;

extern "C" {

void WINAPI ObjectInterpreter(GrDesc* graph, HDC dc) {
    if (_TopDesc->bTerm) return;
    const LONG savedCurrent = graph->nCurObj;
    const bool toMemory = graph->bBitBlt && !graph->bPrinting && !graph->hMetaDC;
    HDC target = dc;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    HDC savedBuildDC = graph->hBuildDC;
    if (toMemory) {
        bitmap = CreateCompatibleBitmap(dc, graph->cxPix, graph->cyPix);
        target = CreateCompatibleDC(dc);
        oldBitmap = SelectObject(target, bitmap);
        ApplyGraphMapping(target, *graph);
        FillLogical(target, {0, 0, graph->cxLog, graph->cyLog}, graph->crPlotBack);
        if (graph->hBuildDC) graph->hBuildDC = target;
        if (graph->bBuilding) SetRectEmpty(&graph->rcPlot);
    } else if (!graph->hMetaDC) {
        // A metafile's maker has placed the graph on its page already.
        ApplyGraphMapping(target, *graph);
    }

    // The graph's own background; the plot area is the scaling's to paint.
    FillLogical(target, {0, 0, graph->cxLog, graph->cyLog}, graph->crGraphBack);

    for (LONG slot = 0; graph->pObjArray && slot < graph->nObjSlots; ++slot) {
        if (_TopDesc->bTerm) break;
        auto* object = static_cast<ObjDesc*>(graph->pObjArray[slot]);
        if (!object || !object->bVisible || !object->pfnDraw) continue;
        graph->nCurObj = slot;
        graph->pCurObj = object;
        object->pfnDraw(graph, target);
    }

    if (graph->bBorder && graph->Border.nPixWidth >= 1) {
        LOGPEN pen{static_cast<UINT>(graph->Border.nStyle), {graph->Border.nWidthX, graph->Border.nWidthY},
                   graph->Border.cr};
        SelectPenIndirect(graph, target, &pen);
        SelectObject(target, GetStockObject(HOLLOW_BRUSH));
        Rectangle(target, 0, 0, graph->cxLog, graph->cyLog);
    }
    CleanGDI(target);

    if (toMemory) {
        ApplyGraphMapping(dc, *graph);
        StretchBlt(dc, 0, 0, graph->cxLog, graph->cyLog, target, 0, 0, graph->cxLog, graph->cyLog, SRCCOPY);
        SelectObject(target, oldBitmap);
        DeleteDC(target);
        DeleteObject(bitmap);
        graph->hBuildDC = savedBuildDC;
    }
    graph->nCurObj = savedCurrent;
}

void WINAPI WGUpdatePage(PgDesc* page) {
    if (!page || page->bBuilt) return;
    page->bBuilt = TRUE;
    for (int slot = 0; slot < kGraphSlots; ++slot) {
        GrDesc* graph = GraphInSlot(page, slot);
        if (!graph) break;
        if (graph->bBuilt) continue;
        graph->bBuilt = TRUE;
        EndBuilding(graph);
        if (graph->hBuildDC) {
            CleanGDI(graph->hBuildDC);
            ReleaseDC(graph->hWnd, graph->hBuildDC);
            graph->hBuildDC = nullptr;
        }
        InvalidateRect(graph->hWnd, nullptr, FALSE);
    }
    RedrawWindow(page->hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void WINAPI WGRedrawGraph(GrDesc* graph, BOOL /*recompute: drops plots' cached data*/) {
    if (graph) InvalidateRect(graph->hWnd, nullptr, TRUE);
}

}  // extern "C"
