// Selecting and releasing the pens, brushes and fonts of a drawing context.
#include "library_state.h"

extern "C" {

void WINAPI CleanGDI(HDC dc) {
    HGDIOBJ brush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ font = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    // Stock objects are ignored by DeleteObject, so what the context held
    // before may be deleted without asking where it came from.
    if (brush) DeleteObject(brush);
    if (pen) DeleteObject(pen);
    if (font) DeleteObject(font);
}

HPEN WINAPI SelectPenIndirect(GrDesc*, HDC dc, const LOGPEN* pen) {
    HPEN created = CreatePenIndirect(pen);
    if (!created) {
        ErrHdlr(18, 0, nullptr);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, created);
    if (previous) DeleteObject(previous);
    return created;
}

HBRUSH WINAPI SelectSolidBrush(GrDesc* graph, HDC dc, COLORREF color) {
    HBRUSH created = CreateSolidBrush(color);
    if (!created) {
        ErrHdlr(17, 0, nullptr);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, created);
    // A metafile context records the brush by handle: its owner deletes it
    // once the recording is closed.
    if (previous && !(graph && graph->hMetaDC)) DeleteObject(previous);
    return created;
}

}  // extern "C"
