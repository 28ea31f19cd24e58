#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lmc32.h"
#include "message_box_answerer.h"

namespace {

// The host's main window: receives the pages' notifications.
struct HostWindow {
    static inline int endPaints = 0;
    static inline std::vector<std::pair<WPARAM, std::vector<LONG_PTR>>> mouse;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == RegisterWindowMessageW(L"WM_EndPaint")) {
            ++endPaints;
            return 0;
        }
        if (message == RegisterWindowMessageW(L"WM_Grafik_Win")) {
            const auto* pair = reinterpret_cast<const LONG_PTR*>(lParam);
            const auto* position = reinterpret_cast<const LONG_PTR*>(pair[1]);
            mouse.push_back({wParam, {pair[0], position[0], position[1], position[2]}});
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window = nullptr;
    HostWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"Lmc32TestHost";
        RegisterClassW(&windowClass);
        window = CreateWindowW(L"Lmc32TestHost", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1100, 900,
                               nullptr, nullptr, windowClass.hInstance, nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
        endPaints = 0;
        mouse.clear();
    }
    ~HostWindow() { DestroyWindow(window); }
};

class Pages : public ::testing::Test {
protected:
    void SetUp() override { WGInit(GetModuleHandleW(nullptr), host.window); }
    void TearDown() override {
        for (int n = 1; n <= 59; ++n)
            if (PgDesc* page = GetPgDescPtr(n)) WGClosePage(page);
    }

    // A child page of the host with an exact client size.
    PgDesc* ChildPage(const wchar_t* name, int width = 1000, int height = 800, int mapping = 8) {
        return WGCreatePage(name, host.window, 0, nullptr, nullptr, nullptr, 15, mapping, WS_CHILD, 2, 0, 0,
                            width, height);
    }

    HostWindow host;
};

std::wstring WindowTitle(HWND window) {
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    return text;
}

TEST_F(Pages, PageCreationFillsTheDescriptorAndPaintsOnce) {
    PgDesc* page = ChildPage(L"first");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->nPage, 1);
    EXPECT_EQ(page->cxClient, 1000);
    EXPECT_EQ(page->cyClient, 800);
    EXPECT_EQ(page->cxLog, 13000);
    EXPECT_EQ(page->cyLog, 10400);
    EXPECT_EQ(page->nMapMode, 8);
    EXPECT_EQ(page->crBack, COLORREF{0xFFFFFF});
    EXPECT_EQ(page->fScaleX, 1.0f);
    EXPECT_EQ(page->nMajorTick, 4);
    EXPECT_EQ(page->nMinorTick, 2);
    EXPECT_EQ(std::wstring(page->szName), L"first");
    EXPECT_EQ(WindowTitle(page->hWnd), L"CHART #1");
    EXPECT_EQ(GetDlgCtrlID(page->hWnd), 1);
    EXPECT_TRUE(WGIsPageDescValid(page));
    EXPECT_EQ(GetPgDescPtr(1), page);
    EXPECT_EQ(WGGetPageDesc(page->hWnd), page);
    EXPECT_EQ(WGGetPageWindow(page), page->hWnd);
    EXPECT_EQ(page->pTop->nPages, 1);
    EXPECT_GE(HostWindow::endPaints, 1);
}

TEST_F(Pages, NamesAreCutToTwelveAndUniqueWithoutAMessage) {
    MessageBoxAnswerer answerer(IDYES);
    PgDesc* first = ChildPage(L"Measurements of today");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::wstring(first->szName), L"Measurements");
    EXPECT_EQ(ChildPage(L"Measurements of today"), nullptr);
    EXPECT_EQ(ChildPage(L"Measurements"), nullptr);  // the same 12 characters
    EXPECT_NE(ChildPage(L""), nullptr);
    EXPECT_NE(ChildPage(L""), nullptr);  // unnamed pages do not compete
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(Pages, SixtiethPageIsTooMany) {
    for (int n = 1; n <= 59; ++n) {
        ASSERT_NE(WGCreatePage(nullptr, nullptr, 0, L"p", nullptr, nullptr, 15, 8, WS_POPUP, 2, 0, 0, 40, 30), nullptr)
            << n;
    }
    MessageBoxAnswerer answerer(IDYES);
    EXPECT_EQ(WGCreatePage(nullptr, nullptr, 0, L"p", nullptr, nullptr, 15, 8, WS_POPUP, 2, 0, 0, 40, 30), nullptr);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, L"Too many pages\nWould you like to continue ?");
    EXPECT_EQ(WGGetLastError(), 51);
}

TEST_F(Pages, ClosingAPageFreesItsNumberAndGraphs) {
    PgDesc* page = ChildPage(L"closing");
    GrDesc* graph = WGCreateGraph(page, nullptr, 0.1, 0.1, 0.9, 0.9, 15, -1, 0);
    HWND graphWindow = graph->hWnd;
    TopDesc* top = page->pTop;
    WGClosePage(page);
    EXPECT_EQ(GetPgDescPtr(1), nullptr);
    EXPECT_EQ(top->nPages, 0);
    EXPECT_FALSE(IsWindow(graphWindow));
    PgDesc* again = ChildPage(L"closing");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->nPage, 1);
}

TEST_F(Pages, AFormWindowLentToAPageStaysTheHosts) {
    HWND form = CreateWindowW(L"STATIC", L"form", WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, host.window, nullptr,
                              nullptr, nullptr);
    EXPECT_EQ(SetFormPage(form), form);
    PgDesc* page = ChildPage(L"on a form");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->hWnd, form);
    EXPECT_EQ(page->cxClient, 600);
    EXPECT_EQ(WGGetPageDesc(form), page);
    PgDesc* next = ChildPage(L"own window");  // the form serves one page only
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next->hWnd, form);
    TopDesc* top = page->pTop;
    WGClosePage(page);
    EXPECT_TRUE(IsWindow(form));
    EXPECT_EQ(GetPgDescPtr(1), nullptr);
    EXPECT_EQ(top->nPages, 1);
    DestroyWindow(form);
}

TEST_F(Pages, APageWithoutHeightIsDroppedWithoutCountingIt) {
    HWND flat = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 0, host.window, nullptr, nullptr,
                              nullptr);
    PgDesc* kept = ChildPage(L"kept");
    TopDesc* top = kept->pTop;
    // Covers the parent's client area, which has no height, and names no size.
    EXPECT_EQ(WGCreatePage(L"flat", flat, 0, nullptr, nullptr, nullptr, 15, 8, WS_CHILD, 0, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(GetPgDescPtr(2), nullptr);
    EXPECT_EQ(top->nPages, 1);
    // With a size given the page is kept at that size.
    PgDesc* sized = WGCreatePage(L"sized", flat, 0, nullptr, nullptr, nullptr, 15, 8, WS_CHILD, 0, 0, 0, 200, 100);
    ASSERT_NE(sized, nullptr);
    EXPECT_EQ(sized->cxClient, 200);
    EXPECT_EQ(sized->cyClient, 100);
    EXPECT_EQ(top->nPages, 2);
    DestroyWindow(flat);
}

TEST_F(Pages, GraphPlacementNumbersAndSelection) {
    PgDesc* page = ChildPage(L"graphs");
    GrDesc* graph = WGCreateGraph(page, nullptr, 0.1, 0.2, 0.6, 0.7, 15, 0, 2);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->xPix, 100);
    EXPECT_EQ(graph->yPix, 160);
    EXPECT_EQ(graph->cxPix, 500);
    EXPECT_EQ(graph->cyPix, 400);
    EXPECT_EQ(graph->xLog, 1300);
    EXPECT_EQ(graph->cxLog, 6500);
    EXPECT_EQ(graph->cyLog, 5200);
    EXPECT_FLOAT_EQ(graph->fW, 0.5f);
    EXPECT_FLOAT_EQ(graph->fH, 0.5f);
    EXPECT_EQ(graph->cxPixel, 13);
    EXPECT_EQ(graph->nGraph, 76);
    EXPECT_EQ(page->nSel, 76);
    EXPECT_EQ(graph->nObjSlots, 20);
    EXPECT_TRUE(graph->bBuilding);
    EXPECT_TRUE(graph->bBorder);
    EXPECT_EQ(graph->Border.nWidthX, 26);
    EXPECT_EQ(graph->MouseAct[0][0], 1);
    EXPECT_EQ(graph->MouseAct[2][0], 3);
    EXPECT_EQ(graph->MouseAct[4][0], 2);
    RECT placed;
    GetWindowRect(graph->hWnd, &placed);
    MapWindowPoints(nullptr, page->hWnd, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 100);
    EXPECT_EQ(placed.top, 160);
    EXPECT_EQ(placed.right, 600);
    EXPECT_EQ(placed.bottom, 560);

    GrDesc* second = WGCreateGraph(page, nullptr, 0.0, 0.0, 0.5, 0.5, 15, -1, 0);
    EXPECT_EQ(second->nGraph, 77);
    EXPECT_EQ(page->nSel, 76);  // the first stays selected
    EXPECT_EQ(GetGrDescPtr(77), second);
    EXPECT_EQ(WGGetGraphInPage(page, 1), second);
    EXPECT_EQ(WGGetGraphDesc(second->hWnd), second);
    EXPECT_EQ(WGGetGraphDesc(page->hWnd), nullptr);
    EXPECT_TRUE(WGIsGraphDescValid(second));
    EXPECT_FALSE(WGIsGraphDescValid(reinterpret_cast<GrDesc*>(page)));
}

TEST_F(Pages, SeventeenthGraphIsTooMany) {
    PgDesc* page = ChildPage(L"full");
    for (int i = 0; i < 16; ++i) ASSERT_NE(WGCreateGraph(page, nullptr, 0, 0, 0.1, 0.1, 15, -1, 0), nullptr);
    MessageBoxAnswerer answerer(IDYES);
    EXPECT_EQ(WGCreateGraph(page, nullptr, 0, 0, 0.1, 0.1, 15, -1, 0), nullptr);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, L"Too many graphs\nWould you like to continue ?");
}

TEST_F(Pages, DeletingAGraphEmptiesItsSlotOnly) {
    PgDesc* page = ChildPage(L"delete");
    GrDesc* first = WGCreateGraph(page, nullptr, 0, 0, 0.5, 0.5, 15, -1, 0);
    GrDesc* second = WGCreateGraph(page, nullptr, 0.5, 0.5, 1, 1, 15, -1, 0);
    HWND window = first->hWnd;
    WGDeleteGraph(first);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(page->nGraphs, 1);
    EXPECT_EQ(page->nSel, 0);
    EXPECT_EQ(WGGetGraphInPage(page, 0), nullptr);
    EXPECT_EQ(WGGetGraphInPage(page, 1), second);
    GrDesc* third = WGCreateGraph(page, nullptr, 0, 0, 0.5, 0.5, 15, -1, 0);
    EXPECT_EQ(third->nGraph, 76);  // the freed slot is reused
}

struct GraphBuilder {
    virtual void Build(GrDesc* graph, HDC dc) {
        builtGraph = graph;
        hadContext = dc != nullptr;
        wasBuilding = graph->bBuilding;
    }
    GrDesc* builtGraph = nullptr;
    bool hadContext = false;
    BOOL wasBuilding = FALSE;
};

struct PageBuilder {
    virtual void Build(PgDesc* page) {
        builtPage = page;
        graph = WGCreateGraph(page, &graphBuilder, 0.0, 0.0, 1.0, 1.0, 4, -1, 0);
    }
    PgDesc* builtPage = nullptr;
    GrDesc* graph = nullptr;
    GraphBuilder graphBuilder;
};

TEST_F(Pages, BuildersRunAtTheFirstPaintAndEndTheBuildingPhase) {
    PageBuilder builder;
    PgDesc* page = WGCreatePage(L"built", host.window, 0, nullptr, &builder, nullptr, 15, 8, WS_CHILD, 2, 0, 0,
                                400, 300);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(builder.builtPage, page);
    EXPECT_TRUE(page->bBuilt);
    ASSERT_NE(builder.graph, nullptr);
    EXPECT_EQ(builder.graphBuilder.builtGraph, builder.graph);
    EXPECT_TRUE(builder.graphBuilder.hadContext);
    EXPECT_TRUE(builder.graphBuilder.wasBuilding);
    EXPECT_FALSE(builder.graph->bBuilding);
    EXPECT_TRUE(builder.graph->bBuilt);
    EXPECT_TRUE(builder.graph->bPaintedOnce);
}

TEST_F(Pages, UpdatePageEndsBuildingAndPaintsGraphs) {
    PgDesc* page = ChildPage(L"update");
    GrDesc* graph = WGCreateGraph(page, nullptr, 0.0, 0.0, 0.5, 0.5, 15, -1, 0);
    EXPECT_TRUE(graph->bBuilding);
    EXPECT_FALSE(graph->bPaintedOnce);
    WGUpdatePage(page);
    EXPECT_TRUE(page->bBuilt);
    EXPECT_FALSE(graph->bBuilding);
    EXPECT_TRUE(graph->bBuilt);
    EXPECT_TRUE(graph->bPaintedOnce);
}

TEST_F(Pages, ObjectInterpreterPaintsBackgroundAndBorder) {
    PgDesc* page = ChildPage(L"pixels");
    GrDesc* graph = WGCreateGraph(page, nullptr, 0.0, 0.0, 0.2, 0.25, RGB(200, 30, 40), 1, 4);  // blue border
    WGUpdatePage(page);
    ASSERT_EQ(graph->cxPix, 200);
    ASSERT_EQ(graph->cyPix, 200);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 200;
    info.bmiHeader.biHeight = -200;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    ObjectInterpreter(graph, memory);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    EXPECT_EQ(pixels[100 * 200 + 100] & 0xFFFFFF, DWORD{0xC81E28});  // 0xRRGGBB in a DIB
    EXPECT_EQ(pixels[100 * 200 + 1] & 0xFFFFFF, DWORD{0x000080});    // inside the 4-pixel frame
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
}

TEST_F(Pages, GraphWindowsForwardMouseAndKeysToTheHost) {
    PgDesc* page = ChildPage(L"mouse");
    GrDesc* graph = WGCreateGraph(page, nullptr, 0.0, 0.0, 0.5, 0.5, 15, -1, 0);
    SendMessageW(graph->hWnd, WM_RBUTTONUP, MK_SHIFT, MAKELPARAM(10, 20));
    ASSERT_EQ(HostWindow::mouse.size(), 1u);
    EXPECT_EQ(HostWindow::mouse[0].first, WPARAM{WM_RBUTTONUP});
    EXPECT_EQ(HostWindow::mouse[0].second, (std::vector<LONG_PTR>{MK_SHIFT, 10, 20, MK_SHIFT}));
    EXPECT_EQ(GetDevDesc()->xMouse, 10);
    EXPECT_EQ(GetDevDesc()->yMouse, 20);

    SendMessageW(graph->hWnd, WM_KEYDOWN, 'Q', 0x1234);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, host.window, RegisterWindowMessageW(L"WM_KeyGrafik_Win"),
                             RegisterWindowMessageW(L"WM_KeyGrafik_Win"), PM_REMOVE));
    EXPECT_EQ(msg.wParam, WPARAM{WM_KEYDOWN});
    const auto* pair = reinterpret_cast<const LONG_PTR*>(msg.lParam);
    EXPECT_EQ(pair[0], 'Q');
    EXPECT_EQ(pair[1], 0x1234);
}

TEST_F(Pages, GraphSettings) {
    PgDesc* page = ChildPage(L"settings");
    GrDesc* graph = WGCreateGraph(page, nullptr, 0.0, 0.0, 0.5, 0.5, 15, -1, 0);
    WGChangeGraphBackgnd(graph, 4);
    EXPECT_EQ(WGGetGraphBackgnd(graph), COLORREF{0x000080});
    WGChangePlotBackgnd(graph, RGB(1, 2, 3));
    EXPECT_EQ(WGGetPlotBackgnd(graph), COLORREF{RGB(1, 2, 3)});
    WGSetGraphBitBltMode(graph, FALSE);
    EXPECT_FALSE(WGGetGraphBitBltMode(graph));
    WGSetMouseEventAction(graph, 99999, 6, 42);
    int parameter = 0;
    EXPECT_EQ(WGGetMouseEventAction(graph, 99999, &parameter), 6);
    EXPECT_EQ(parameter, 42);
    WGSetMouseEventAction(graph, WM_MBUTTONDOWN, 5, 7);  // any other message: slot 0
    EXPECT_EQ(WGGetMouseEventAction(graph, WM_LBUTTONDOWN, &parameter), 5);
    SetpGCO(graph, 77);
    EXPECT_EQ(GetpGCO(graph), 77);
    EXPECT_EQ(GetpGCO(nullptr), 0);
    WGRaiseGraph(graph, 3);
    EXPECT_EQ(graph->nRaised, 3);
    WGSetGraphBorder(graph, TRUE, 2, 3);
    EXPECT_TRUE(graph->bBorder);
    EXPECT_EQ(graph->Border.cr, COLORREF{0x008000});
    EXPECT_EQ(graph->Border.nPixWidth, 3);
}

TEST_F(Pages, SetLineFillsThePenOrRejectsTheStyle) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 300, 300, nullptr);
    SetViewportExtEx(dc, 100, 100, nullptr);
    LineDesc line{};
    SetLine(&line, dc, 4, PS_SOLID, 2);
    EXPECT_EQ(line.nStyle, PS_SOLID);
    EXPECT_EQ(line.cr, COLORREF{0x000080});
    EXPECT_EQ(line.nColor, 4);
    EXPECT_EQ(line.nPixWidth, 2);
    EXPECT_EQ(line.nWidthX, 6);
    EXPECT_EQ(line.nWidthY, 6);
    SetLine(&line, dc, -2, PS_DASH, 2);
    EXPECT_EQ(line.cr, COLORREF{0x000080});  // negative colour keeps the COLORREF
    EXPECT_EQ(line.nWidthX, 0);

    MessageBoxAnswerer answerer(IDYES);
    const LineDesc before = line;
    SetLine(&line, dc, 1, 7, 1);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, L"Illegal parameter for WGSetLineStyle\nWould you like to continue ?");
    EXPECT_EQ(line.nStyle, before.nStyle);
    EXPECT_EQ(line.nColor, before.nColor);
    DeleteDC(dc);
}

TEST_F(Pages, DescriptorReadability) {
    char buffer[32] = {};
    EXPECT_TRUE(WGIsDescValid(buffer));
    EXPECT_FALSE(WGIsDescValid(nullptr));
    void* forbidden = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    EXPECT_FALSE(WGIsDescValid(forbidden));
    auto* readable = static_cast<char*>(VirtualAlloc(nullptr, 8192, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(readable + 4096, 4096, PAGE_NOACCESS, &old);
    EXPECT_FALSE(WGIsDescValid(readable + 4090));  // runs into the forbidden page
    EXPECT_TRUE(WGIsDescValid(readable + 4000));
    VirtualFree(forbidden, 0, MEM_RELEASE);
    VirtualFree(readable, 0, MEM_RELEASE);
}

TEST_F(Pages, APageWhoseWindowCannotBeMadeIsForgotten) {
    PgDesc* kept = ChildPage(L"kept");
    TopDesc* top = kept->pTop;
    HWND gone = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, host.window, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    MessageBoxAnswerer answerer(IDYES);
    EXPECT_EQ(WGCreatePage(L"orphan", gone, 0, nullptr, nullptr, nullptr, 15, 8, WS_CHILD, 2, 0, 0, 300, 200),
              nullptr);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, L"Cannot create window orphan\nWould you like to continue ?");
    EXPECT_EQ(GetPgDescPtr(2), nullptr);
    EXPECT_EQ(top->nPages, 1);
    PgDesc* next = ChildPage(L"orphan");  // the name and the number are free again
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->nPage, 2);
    EXPECT_EQ(top->nPages, 2);
}

TEST_F(Pages, AGraphWhoseWindowCannotBeMadeIsNotCreated) {
    HWND form = CreateWindowW(L"STATIC", L"form", WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, host.window, nullptr,
                              nullptr, nullptr);
    SetFormPage(form);
    PgDesc* page = ChildPage(L"form gone");
    ASSERT_NE(page, nullptr);
    DestroyWindow(form);  // the page's window goes without the page knowing
    MessageBoxAnswerer answerer(IDYES);
    EXPECT_EQ(WGCreateGraph(page, nullptr, 0.0, 0.0, 0.5, 0.5, 15, 1, 2), nullptr);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, L"Cannot create window \nWould you like to continue ?");
    EXPECT_EQ(page->nGraphs, 0);
    EXPECT_EQ(page->nSel, 0);
    EXPECT_EQ(WGGetGraphInPage(page, 0), nullptr);
}

}  // namespace
