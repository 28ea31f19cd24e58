// Flashing an object so that the user sees which one is selected.
#include "highlight.h"

#include <algorithm>
#include <iterator>

#include "../object_types.h"
#include "objects.h"
#include "page_store.h"

namespace lmc32 {
namespace {

constexpr DWORD kFlashPause = 200;  // milliseconds

// Plots cover the plot area and companion objects draw themselves: a
// flash of those would repaint far more than the object.
constexpr int kNotFlashed[] = {ObjectType::Curve, ObjectType::Group, ObjectType::PieChart, 103, 104, 110};

bool IsFlashed(int type) {
    return std::find(std::begin(kNotFlashed), std::end(kNotFlashed), type) == std::end(kNotFlashed);
}

void DrawOnce(GrDesc* graph, ObjDesc* object, HDC dc, bool highlighted) {
    object->bHighlight = highlighted;
    graph->pCurObj = object;
    object->pfnDraw(graph, dc);
    CleanGDI(dc);
}

}  // namespace

void HighlightObj(GrDesc* graph, int handle) {
    ObjDesc* object = ObjectOf(graph, handle);
    if (!object || !object->pfnDraw || !graph->hWnd || !IsFlashed(object->nType)) return;
    HWND pageWindow = graph->pPage ? graph->pPage->hWnd : nullptr;
    // Clicks during the flash would act on a graph that is being drawn.
    EnableWindow(graph->hWnd, FALSE);
    if (pageWindow) EnableWindow(pageWindow, FALSE);
    HDC dc = GetDC(graph->hWnd);
    ApplyGraphMapping(dc, *graph);
    void* const savedCurrent = graph->pCurObj;
    for (int round = 0; round < 2; ++round) {
        DrawOnce(graph, object, dc, true);
        Delay(kFlashPause, FALSE);
        DrawOnce(graph, object, dc, false);
        if (round == 0) Delay(kFlashPause, FALSE);
    }
    graph->pCurObj = savedCurrent;
    ReleaseDC(graph->hWnd, dc);
    if (pageWindow) EnableWindow(pageWindow, TRUE);
    EnableWindow(graph->hWnd, TRUE);
    // A rectangle's fill may have covered what lies beneath it.
    if (object->nType == ObjectType::Rect) InvalidateRect(graph->hWnd, nullptr, TRUE);
}

}  // namespace lmc32
