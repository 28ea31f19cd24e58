// Graph creation, lookup, deletion and the graph-wide settings.
#include "../page_geometry.h"
#include "../palette.h"
#include "page_store.h"
#include "trace_log.h"

namespace lmc32 {
namespace {

constexpr char kTraceGraph[] = "LMC32_InitGraph";
constexpr LONG kInitialObjectSlots = 20;

void FinishGraphWindow(GrDesc* graph, TopDesc* top) {
    HWND window = graph->hWnd;
    graph->Border.hWnd = window;
    graph->CurLine.hWnd = window;
    SetWindowLongPtrW(window, kGraphSlotGraph, reinterpret_cast<LONG_PTR>(graph));
    SetWindowLongPtrW(window, kGraphSlotTop, reinterpret_cast<LONG_PTR>(top));
    SetWindowLongPtrW(window, kGraphSlotPage, reinterpret_cast<LONG_PTR>(graph->pPage));
    SetWindowLongPtrW(window, kGraphSlotDataTable, 0);
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_LAYOUTRTL);
}

}  // namespace
}  // namespace lmc32

using namespace lmc32;

extern "C" {

GrDesc* WINAPI InitGraph(TopDesc* top, PgDesc* page, double left, double top_, double right, double bottom,
                         COLORREF background, int borderColor, int borderWidth, void* builder) {
    TraceBegin(kTraceGraph, nullptr);
    _TopDesc = top;
    int slot = 0;
    while (slot < kGraphSlots && page->hGrDesc[slot]) ++slot;
    if (slot == kGraphSlots) {
        ErrHdlr(52, 0, nullptr);
        TraceEnd(kTraceGraph, nullptr);
        return nullptr;
    }
    auto* graph = static_cast<GrDesc*>(GlobalAlloc(GPTR, sizeof(GrDesc)));
    if (!graph) {
        ErrHdlr(53, 0, nullptr);
        TraceEnd(kTraceGraph, nullptr);
        return nullptr;
    }
    page->hGrDesc[slot] = graph;
    ++page->nGraphs;
    graph->nGraph = GraphNumber(page->nPage, slot);
    if (page->nGraphs == 1) page->nSel = graph->nGraph;

    graph->crGraphBack = WGGetRGBColor(background);
    graph->bBitBlt = TRUE;
    graph->CurLine.nStyle = PS_SOLID;
    graph->dX1 = 0.0, graph->dX2 = 1.0, graph->dY1 = 0.0, graph->dY2 = 1.0;
    graph->dWX1 = 1.0, graph->dWX2 = 10.0, graph->dWY1 = 1.0, graph->dWY2 = 10.0;
    graph->bEraseBack = 1;
    graph->nObjSlots = kInitialObjectSlots;
    graph->dwMagic = LMC32_GRAPH_MAGIC;

    HDC screen = GetDC(page->hWnd);
    ApplyPageMapping(screen, *page);
    graph->Border.nColor = borderColor;
    graph->Border.nPixWidth = borderWidth;
    graph->Border.nStyle = PS_INSIDEFRAME;
    if (borderColor >= 0 && borderWidth >= 1) {
        graph->Border.cr = WGGetRGBColor(static_cast<COLORREF>(borderColor));
        graph->bBorder = TRUE;
        const POINT width = PixelsToLogical(screen, borderWidth);
        graph->Border.nWidthX = width.x;
        graph->Border.nWidthY = width.y;
    }
    graph->nMapMode = page->nMapMode;
    graph->bPrinting = FALSE;
    const PixelRect pixels = GraphPixelRect(page->cxClient, page->cyClient, left, top_, right, bottom);
    graph->xPix = pixels.x, graph->yPix = pixels.y, graph->cxPix = pixels.cx, graph->cyPix = pixels.cy;
    POINT corners[2] = {{pixels.x, pixels.y}, {pixels.x + pixels.cx, pixels.y + pixels.cy}};
    DPtoLP(screen, corners, 2);
    graph->xLog = corners[0].x, graph->yLog = corners[0].y;
    graph->cxLog = corners[1].x - corners[0].x, graph->cyLog = corners[1].y - corners[0].y;

    for (int i = 0; i < 8; ++i) graph->MouseAct[i][0] = kMouseActionDefaults[i];
    graph->nMajorTick = page->nMajorTick;
    graph->nMinorTick = page->nMinorTick;
    const LONG colors = GetDevDesc()->nColors;
    if (screen && (colors < 0 || colors >= 17))
        SetPaletteEntry(kDisplayAdjustedEntry, GetNearestColor(screen, DefaultPalette()[kDisplayAdjustedEntry]));
    ReleaseDC(page->hWnd, screen);

    if (page->cxLog && page->cyLog) {
        graph->fX = static_cast<float>(graph->xLog) / static_cast<float>(page->cxLog);
        graph->fY = static_cast<float>(graph->yLog) / static_cast<float>(page->cyLog);
        graph->fW = RoundToThousandths(static_cast<float>(graph->cxLog) / static_cast<float>(page->cxLog));
        graph->fH = RoundToThousandths(static_cast<float>(graph->cyLog) / static_cast<float>(page->cyLog));
    }
    graph->fW0 = graph->fW;
    graph->fH0 = graph->fH;
    if (graph->cxPix) graph->cxPixel = RoundHalfUp(static_cast<double>(graph->cxLog) / graph->cxPix);
    if (graph->cyPix) graph->cyPixel = RoundHalfUp(static_cast<double>(graph->cyLog) / graph->cyPix);

    graph->bBuilding = TRUE;
    graph->bBuilt = FALSE;
    graph->pPage = page;
    graph->hObjArray = GlobalAlloc(GHND, kInitialObjectSlots * sizeof(HGLOBAL));
    graph->pObjArray = graph->hObjArray ? static_cast<HGLOBAL*>(GlobalLock(graph->hObjArray)) : nullptr;
    graph->pBuilder = builder;

    graph->hWnd = CreateWindowExW(WS_EX_NOPARENTNOTIFY, L"GrWin", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, pixels.x, pixels.y,
                                  pixels.cx, pixels.cy, page->hWnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(graph->nGraph)), top->hInst, graph);
    if (!graph->hWnd) {
        // A graph without a window could never be drawn or deleted by its page.
        DeleteGraph(graph);
        ErrHdlr(50, 0, nullptr);
        TraceEnd(kTraceGraph, nullptr);
        return nullptr;
    }
    FinishGraphWindow(graph, top);
    ShowWindow(graph->hWnd, SW_SHOW);
    SendMessageW(graph->hWnd, WM_PAINT, 0, 0);
    TraceEnd(kTraceGraph, nullptr);
    return graph;
}

GrDesc* WINAPI WGCreateGraph(PgDesc* page, void* builder, double left, double top, double right, double bottom,
                             COLORREF background, int borderColor, int borderWidth) {
    return InitGraph(_TopDesc, page, left, top, right, bottom, background, borderColor, borderWidth, builder);
}

void WINAPI WGDeleteGraph(GrDesc* graph) {
    if (IsOpenGraph(graph)) DeleteGraph(graph);
}

GrDesc* WINAPI GetGrDescPtr(int number) {
    const GraphAddress address = SplitGraphNumber(number);
    GrDesc* graph = number >= kFirstGraphNumber ? GraphInSlot(PageByNumber(address.page), address.slot) : nullptr;
    if (!graph) ErrHdlr(65, 0, nullptr);
    return graph;
}

GrDesc* WINAPI WGGetGraphInPage(PgDesc* page, int slot) { return GraphInSlot(page, slot); }
GrDesc* WINAPI GetGrDescNum(PgDesc* page, int slot) { return GraphInSlot(page, slot); }

BOOL WINAPI WGIsGraphDescValid(GrDesc* graph) { return IsOpenGraph(graph); }

GrDesc* WINAPI WGGetGraphDesc(HWND window) {
    if (!window) return nullptr;
    wchar_t className[8] = {};
    GetClassNameW(window, className, 8);
    if (wcscmp(className, L"GrWin") != 0) return nullptr;
    auto* graph = reinterpret_cast<GrDesc*>(GetWindowLongPtrW(window, kGraphSlotGraph));
    return IsOpenGraph(graph) && graph->hWnd == window ? graph : nullptr;
}

HWND WINAPI WGGetGraphWindow(GrDesc* graph) { return graph ? graph->hWnd : nullptr; }

LONG WINAPI GetpGCO(GrDesc* graph) { return graph ? graph->pGCO : 0; }

void WINAPI SetpGCO(GrDesc* graph, LONG value) {
    if (graph) graph->pGCO = value;
}

void WINAPI WGChangeGraphBackgnd(GrDesc* graph, COLORREF color) {
    if (!graph) return;
    graph->crGraphBack = WGGetRGBColor(color);
    graph->bEraseBack = 1;
    InvalidateRect(graph->hWnd, nullptr, TRUE);
}

COLORREF WINAPI WGGetGraphBackgnd(GrDesc* graph) { return graph ? graph->crGraphBack : 0; }

void WINAPI WGChangePlotBackgnd(GrDesc* graph, COLORREF color) {
    if (!graph) return;
    graph->crPlotBack = WGGetRGBColor(color);
    InvalidateRect(graph->hWnd, nullptr, TRUE);
}

COLORREF WINAPI WGGetPlotBackgnd(GrDesc* graph) { return graph ? graph->crPlotBack : 0; }

void WINAPI WGSetGraphBorder(GrDesc* graph, BOOL on, int color, int width) {
    if (!graph || (on != FALSE) == (graph->bBorder != FALSE)) return;
    graph->bBorder = on != FALSE;
    if (!on) {
        InvalidateRect(graph->hWnd, nullptr, TRUE);
        return;
    }
    HDC dc = GetDC(graph->hWnd);
    ApplyGraphMapping(dc, *graph);
    const POINT logical = PixelsToLogical(dc, width);
    graph->Border = {PS_INSIDEFRAME, logical.x, logical.y, WGGetRGBColor(static_cast<COLORREF>(color)), width,
                     color, graph->hWnd};
    LOGPEN pen{PS_INSIDEFRAME, {logical.x, logical.y}, graph->Border.cr};
    SelectPenIndirect(graph, dc, &pen);
    SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, 0, 0, graph->cxLog, graph->cyLog);
    CleanGDI(dc);
    ReleaseDC(graph->hWnd, dc);
}

void WINAPI WGRaiseGraph(GrDesc* graph, int depth) {
    if (graph) graph->nRaised = static_cast<BYTE>(depth);
}

void WINAPI WGSetGraphBitBltMode(GrDesc* graph, BOOL on) {
    if (graph) graph->bBitBlt = on;
}

BOOL WINAPI WGGetGraphBitBltMode(GrDesc* graph) { return graph ? graph->bBitBlt : FALSE; }

void WINAPI WGSetMouseEventAction(GrDesc* graph, UINT message, int action, int parameter) {
    if (!graph) return;
    const int slot = MouseActionSlot(message);
    graph->MouseAct[slot][0] = action;
    if (action == 6) graph->MouseAct[slot][1] = parameter;
}

int WINAPI WGGetMouseEventAction(GrDesc* graph, UINT message, int* parameter) {
    if (!graph) return 0;
    const int slot = MouseActionSlot(message);
    if (parameter) *parameter = graph->MouseAct[slot][1];
    return graph->MouseAct[slot][0];
}

void WINAPI SetLine(LineDesc* line, HDC dc, int color, int style, int width) {
    if (style < 0 || style >= 7) {
        ErrHdlr(30, 2, L"WGSetLineStyle");
        return;
    }
    line->nStyle = style;
    if (color >= 0) line->cr = WGGetRGBColor(static_cast<COLORREF>(color));
    line->nColor = color;
    line->nPixWidth = width;
    if (width != 0 && (style == PS_SOLID || style == PS_INSIDEFRAME)) {
        const POINT logical = PixelsToLogical(dc, width);
        line->nWidthX = logical.x;
        line->nWidthY = logical.y;
    } else {
        line->nWidthX = line->nWidthY = 0;
    }
}

}  // extern "C"
