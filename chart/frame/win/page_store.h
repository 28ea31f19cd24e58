// Pages and graphs held by the current top descriptor, and the pieces of
// their life that several files share.
#pragma once
#include "library_state.h"

namespace lmc32 {

PgDesc* PageByNumber(int number);  // 1..60, null when empty
GrDesc* GraphInSlot(const PgDesc* page, int slot);
bool IsOpenPage(const PgDesc* page);
bool IsOpenGraph(const GrDesc* graph);

// Mapping of a page: page logical units onto client pixels; of a graph:
// its own logical extent onto its window.
void ApplyPageMapping(HDC dc, const PgDesc& page);
void ApplyGraphMapping(HDC dc, const GrDesc& graph);
// A width in device pixels in logical units of the context (x and y).
POINT PixelsToLogical(HDC dc, int pixels);

void DeleteGraph(GrDesc* graph);

// Builders are host objects whose first virtual function builds a page
// (with its descriptor) or a graph (with its descriptor and paint context).
void CallPageBuilder(void* builder, PgDesc* page);
void CallGraphBuilder(void* builder, GrDesc* graph, HDC dc);

void PaintPage(HWND window, PgDesc* page);
void PaintGraph(HWND window, GrDesc* graph);

// Registered messages sent to a page's parent.
UINT EndPaintMessage();
UINT KeyMessage();
UINT MouseMessage();

}  // namespace lmc32
