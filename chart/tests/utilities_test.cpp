#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "lmc32.h"
#include "message_box_answerer.h"

namespace {

class Utilities : public ::testing::Test {
protected:
    void SetUp() override { WGInit(GetModuleHandleW(nullptr), nullptr); }
};

TEST_F(Utilities, BadValuesAreReplacedByTheMarker) {
    const struct {
        double value;
        bool bad;
    } cases[] = {
        {9.9999e19, true},  {-9.9999e19, true}, {1e300, true},
        {std::numeric_limits<double>::quiet_NaN(), true},
        {std::numeric_limits<double>::infinity(), true},
        {9.9998e19, false}, {-9.9998e19, false}, {0.0, false}, {-1.5, false},
    };
    for (const auto& c : cases) {
        double value = c.value;
        EXPECT_EQ(WGBadValueCheck(&value), c.bad ? 1 : 0) << c.value;
        if (c.bad) {
            EXPECT_EQ(value, 1e20);
        } else {
            EXPECT_EQ(value, c.value);
        }
    }
}

TEST_F(Utilities, ColoursThroughTheInterface) {
    EXPECT_EQ(WGGetRGBColor(19), COLORREF{0xF0FBFF});
    EXPECT_EQ(WGGetRGBColor(20), COLORREF{20});
    EXPECT_EQ(WGCreateShadeColor(0x808080), COLORREF{0x3F3F3F});
    EXPECT_EQ(CreateLighterColor(0x000080), COLORREF{0x0000FF});
    // A true-colour screen shows every colour as it is.
    EXPECT_EQ(WGGetNearestRGBColor(0x123456), COLORREF{0x123456});
    EXPECT_EQ(WGGetPureColor(0x0000F0), 12);  // light red
    EXPECT_EQ(WGGetPureColor(0x808000), 3);   // cyan, exactly
}

HGLOBAL BlockWith(const char* bytes, SIZE_T size) {
    HGLOBAL block = GlobalAlloc(GPTR, size);
    std::memcpy(block, bytes, size);
    return block;
}

TEST_F(Utilities, ReallocCopiesTheSmallerSizeAndZeroesTheRest) {
    HGLOBAL block = BlockWith("abcdef", 6);
    void* address = nullptr;
    HGLOBAL grown = LMRealloc(block, 6, 10, &address);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(address, static_cast<void*>(grown));
    EXPECT_EQ(std::memcmp(grown, "abcdef\0\0\0\0", 10), 0);
    EXPECT_EQ(GlobalSize(grown), 10u);

    HGLOBAL shrunk = LMRealloc(grown, 10, 3, nullptr);
    ASSERT_NE(shrunk, nullptr);
    EXPECT_EQ(std::memcmp(shrunk, "abc", 3), 0);
    GlobalFree(shrunk);
}

TEST_F(Utilities, CopyMemGivesAnEqualIndependentBlock) {
    HGLOBAL block = BlockWith("xyz", 3);
    HGLOBAL copy = WGCopyMem(block);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, block);
    EXPECT_EQ(GlobalSize(copy), GlobalSize(block));
    EXPECT_EQ(std::memcmp(copy, "xyz", 3), 0);
    static_cast<char*>(block)[0] = 'q';
    EXPECT_EQ(static_cast<char*>(copy)[0], 'x');
    GlobalFree(block);
    GlobalFree(copy);
}

struct MemoryContext {
    HDC dc = CreateCompatibleDC(nullptr);
    ~MemoryContext() { DeleteDC(dc); }
};

TEST_F(Utilities, CleanGdiSelectsStockObjectsAndDeletesTheOldOnes) {
    MemoryContext context;
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    SelectObject(context.dc, pen);
    SelectObject(context.dc, brush);
    CleanGDI(context.dc);
    EXPECT_EQ(GetCurrentObject(context.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(context.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST_F(Utilities, SelectPenIndirectReplacesAndDeletesThePreviousPen) {
    MemoryContext context;
    LOGPEN first{PS_DASH, {0, 0}, RGB(255, 0, 0)};
    LOGPEN second{PS_SOLID, {4, 4}, RGB(0, 0, 255)};
    HPEN firstPen = SelectPenIndirect(nullptr, context.dc, &first);
    ASSERT_NE(firstPen, nullptr);
    HPEN secondPen = SelectPenIndirect(nullptr, context.dc, &second);
    EXPECT_EQ(GetCurrentObject(context.dc, OBJ_PEN), secondPen);
    EXPECT_EQ(GetObjectType(firstPen), 0u);
    LOGPEN selected{};
    GetObjectW(secondPen, sizeof selected, &selected);
    EXPECT_EQ(selected.lopnWidth.x, 4);
    EXPECT_EQ(selected.lopnColor, COLORREF{RGB(0, 0, 255)});
    CleanGDI(context.dc);
}

TEST_F(Utilities, SelectSolidBrushKeepsThePreviousBrushWhileRecordingAMetafile) {
    MemoryContext context;
    GrDesc screenGraph{};
    GrDesc metafileGraph{};
    metafileGraph.hMetaDC = context.dc;

    HBRUSH first = SelectSolidBrush(&screenGraph, context.dc, RGB(1, 1, 1));
    HBRUSH second = SelectSolidBrush(&screenGraph, context.dc, RGB(2, 2, 2));
    EXPECT_EQ(GetObjectType(first), 0u);  // deleted
    HBRUSH third = SelectSolidBrush(&metafileGraph, context.dc, RGB(3, 3, 3));
    EXPECT_EQ(GetObjectType(second), DWORD{OBJ_BRUSH});  // left to the metafile's owner
    EXPECT_EQ(GetCurrentObject(context.dc, OBJ_BRUSH), third);
    DeleteObject(second);
    CleanGDI(context.dc);
}

// A window whose message switches the current descriptor, as a companion
// module's window would.
TopDesc* g_switchTo = nullptr;
bool g_messageSeen = false;
LRESULT CALLBACK SwitchingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        g_messageSeen = true;
        InitDll(g_switchTo);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(Utilities, DelayWaitsPumpsAndRestoresTheDescriptor) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = SwitchingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Lmc32DelayTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"Lmc32DelayTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    TopDesc silent{};
    silent.bErrMsg = FALSE;
    g_switchTo = &silent;
    PostMessageW(window, WM_APP, 0, 0);

    const ULONGLONG before = GetTickCount64();
    const DWORD last = Delay(60, TRUE);
    const ULONGLONG after = GetTickCount64();
    EXPECT_TRUE(g_messageSeen);
    EXPECT_GE(after - before, 60u);
    EXPECT_GE(static_cast<DWORD>(after) - last, 0u);

    // The library's descriptor (messages on) is current again, not the silent one.
    MessageBoxAnswerer answerer(IDYES);
    ErrHdlr(30, 0, nullptr);
    EXPECT_EQ(answerer.Boxes().size(), 1u);
    DestroyWindow(window);
}

TEST_F(Utilities, MenuCheckTogglesTheItemOfTheSubmenu) {
    HMENU bar = CreateMenu();
    HMENU first = CreatePopupMenu();
    HMENU second = CreatePopupMenu();
    AppendMenuW(second, MF_STRING, 60, L"Selectors");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(first), L"A");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(second), L"B");
    HWND window = CreateWindowW(L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, bar, nullptr, nullptr);
    PgDesc page{};
    page.hWnd = window;
    EXPECT_EQ(WGMenuCheck(&page, 60, 1), 1);
    EXPECT_TRUE(GetMenuState(second, 60, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(WGMenuCheck(&page, 60, 1), 0);
    EXPECT_FALSE(GetMenuState(second, 60, MF_BYCOMMAND) & MF_CHECKED);
    DestroyWindow(window);
}

TEST_F(Utilities, OkCursorFocusesTheOkButtonWhenSwitchedOn) {
    HWND dialog = CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND ok = CreateWindowW(L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 50, 60, 80, 20, dialog,
                            reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
    SetForegroundWindow(dialog);
    WGToggleOKCursor(FALSE);
    SetFocus(dialog);
    WGSetOKCursor(dialog);
    EXPECT_NE(GetFocus(), ok);
    WGToggleOKCursor(TRUE);
    WGSetOKCursor(dialog);
    EXPECT_EQ(GetFocus(), ok);
    RECT rc;
    GetWindowRect(ok, &rc);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, (rc.left + rc.right) / 2);
    EXPECT_EQ(cursor.y, (rc.top + rc.bottom) / 2);
    DestroyWindow(dialog);
}

}  // namespace
