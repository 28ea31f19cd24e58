// The pen attributes every object has.
#include "objects.h"
#include "page_store.h"

using namespace lmc32;

extern "C" {

LineDesc* WINAPI GetLineDesc(GrDesc* graph, int handle, int /*n: member or slice of groups and pie charts*/) {
    if (!graph) {
        ErrHdlr(65, 0, nullptr);
        return nullptr;
    }
    ObjDesc* object = ObjectOf(graph, handle);
    return object ? &object->Line : nullptr;
}

BOOL WINAPI WGChangeLineStyle(GrDesc* graph, int handle, int style, int n) {
    LineDesc* line = GetLineDesc(graph, handle, n);
    if (!line) return FALSE;
    line->nStyle = style;
    return TRUE;
}

int WINAPI WGGetLineStyle(GrDesc* graph, int handle, int n) {
    const LineDesc* line = GetLineDesc(graph, handle, n);
    return line ? line->nStyle : -1;
}

BOOL WINAPI WGChangeLineWidth(GrDesc* graph, int handle, int width, int n) {
    LineDesc* line = GetLineDesc(graph, handle, n);
    if (!line) return FALSE;
    line->nPixWidth = width;
    line->nWidthX = line->nWidthY = 0;
    if (line->nStyle == PS_SOLID || line->nStyle == PS_INSIDEFRAME) {
        HDC dc = GetDC(graph->hWnd);
        if (dc) {
            ApplyGraphMapping(dc, *graph);
            const POINT logical = PixelsToLogical(dc, width);
            line->nWidthX = logical.x;
            line->nWidthY = logical.y;
            ReleaseDC(graph->hWnd, dc);
        }
    }
    return TRUE;
}

int WINAPI WGGetLineWidth(GrDesc* graph, int handle, int n) {
    const LineDesc* line = GetLineDesc(graph, handle, n);
    return line ? line->nPixWidth : -1;
}

BOOL WINAPI WGChangeLineColor(GrDesc* graph, int handle, int color, int n) {
    LineDesc* line = GetLineDesc(graph, handle, n);
    if (!line) return FALSE;
    line->nColor = color;
    line->cr = WGGetRGBColor(static_cast<COLORREF>(color));
    return TRUE;
}

int WINAPI WGGetLineColor(GrDesc* graph, int handle, int n) {
    const LineDesc* line = GetLineDesc(graph, handle, n);
    return line ? line->nColor : 0;
}

BOOL WINAPI WGChangeLineColorRGB(GrDesc* graph, int handle, COLORREF color, int n) {
    LineDesc* line = GetLineDesc(graph, handle, n);
    if (!line) return FALSE;
    line->cr = color;
    line->nColor = -2;
    return TRUE;
}

COLORREF WINAPI WGGetLineColorRGB(GrDesc* graph, int handle, int n) {
    const LineDesc* line = GetLineDesc(graph, handle, n);
    return line ? line->cr : 0;
}

}  // extern "C"
