#include "win/objects.h"

#include "object_types.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "lmc32.h"
#include "message_box_answerer.h"

namespace lmc32 {
namespace {

std::vector<int> g_drawn;  // user IDs of the objects drawn, in order

void WINAPI RecordDrawing(GrDesc* graph, HDC) { g_drawn.push_back(static_cast<ObjDesc*>(graph->pCurObj)->nUserID); }

// What a flash drew: the highlight state and whether the windows took input.
struct FlashStep {
    BOOL highlighted;
    BOOL graphEnabled;
    BOOL pageEnabled;
    bool operator==(const FlashStep&) const = default;
};
std::vector<FlashStep> g_flash;

void WINAPI RecordFlash(GrDesc* graph, HDC) {
    g_flash.push_back({static_cast<ObjDesc*>(graph->pCurObj)->bHighlight, IsWindowEnabled(graph->hWnd),
                       IsWindowEnabled(graph->pPage->hWnd)});
}

class Objects : public ::testing::Test {
protected:
    void SetUp() override {
        WGInit(GetModuleHandleW(nullptr), nullptr);
        page = WGCreatePage(nullptr, nullptr, 0, L"objects", nullptr, nullptr, 15, 8, WS_POPUP, 2, 0, 0, 400, 300);
        ASSERT_NE(page, nullptr);
        graph = WGCreateGraph(page, nullptr, 0.0, 0.0, 1.0, 1.0, 15, -1, 0);
        ASSERT_NE(graph, nullptr);
        g_drawn.clear();
    }
    void TearDown() override { WGClosePage(page); }

    // What a creating function does around AllocObjDesc.
    int Add(int type, GrDesc* into = nullptr) {
        GrDesc* target = into ? into : graph;
        ObjDesc* object = AllocObjDesc(target, type, 0);
        if (!object) return 0;
        object->pfnDraw = &RecordDrawing;
        return ++target->nCurObj;
    }

    PgDesc* page = nullptr;
    GrDesc* graph = nullptr;
};

TEST_F(Objects, TwentyFirstObjectGrowsTheArrayAndKeepsEarlierOnes) {
    for (int i = 1; i <= 20; ++i) ASSERT_EQ(Add(ObjectType::Line), i);
    ObjDesc* first = GetObjDesc(graph, 1, nullptr);
    EXPECT_EQ(graph->nObjSlots, 20);
    EXPECT_EQ(Add(ObjectType::Line), 21);
    EXPECT_EQ(graph->nObjSlots, 40);
    EXPECT_EQ(GetObjDesc(graph, 1, nullptr), first);
    EXPECT_NE(GetObjDesc(graph, 21, nullptr), nullptr);
    EXPECT_EQ(GetObjDesc(graph, 22, nullptr), nullptr);
}

TEST_F(Objects, NewObjectsCarryTheGraphPenAndNumberedUserIds) {
    graph->CurLine = {PS_DASH, 0, 0, 0x123456, 1, -2, nullptr};
    const int h = Add(ObjectType::Rect);
    const ObjDesc* object = GetObjDesc(graph, h, nullptr);
    EXPECT_EQ(object->nType, ObjectType::Rect);
    EXPECT_TRUE(object->bVisible);
    EXPECT_EQ(object->Line.nStyle, PS_DASH);
    EXPECT_EQ(object->Line.cr, COLORREF{0x123456});
    EXPECT_EQ(object->Line.hWnd, graph->hWnd);
    EXPECT_EQ(object->nUserID, 1);
    EXPECT_EQ(GlobalSize(GetObjDesc(graph, h, nullptr)), 144u);

    // The numbering runs across graphs.
    GrDesc* other = WGCreateGraph(page, nullptr, 0.0, 0.0, 0.5, 0.5, 15, -1, 0);
    EXPECT_EQ(GetObjDesc(other, Add(ObjectType::Line, other), nullptr)->nUserID, 2);
    EXPECT_EQ(GetObjDesc(graph, Add(ObjectType::Axis), nullptr)->nUserID, 3);
    page->pTop->bNoAutoUserID = TRUE;
    EXPECT_EQ(GetObjDesc(graph, Add(ObjectType::Axis), nullptr)->nUserID, 0);
}

TEST_F(Objects, CreationIsRefusedAfterBuildingForUnknownTypesAndAfterStop) {
    MessageBoxAnswerer answerer(IDYES);
    EXPECT_EQ(Add(6), 0);  // no such type
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, L"Bad object handle\nWould you like to continue ?");

    WGUpdatePage(page);
    EXPECT_EQ(Add(ObjectType::Line), 0);
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[1].text,
              L"Attempt to add a graphical object after the graph was created!\nWould you like to continue ?");
}

TEST_F(Objects, AfterStopNothingIsCreatedOrFound) {
    const int h = Add(ObjectType::Line);
    WGSetObjUserID(graph, h, 77);
    page->pTop->bTerm = TRUE;
    EXPECT_EQ(AllocObjDesc(graph, ObjectType::Line, 0), nullptr);
    EXPECT_EQ(WGGetUserIDObj(graph, 77), 0);
    page->pTop->bTerm = FALSE;
    EXPECT_EQ(WGGetUserIDObj(graph, 77), h);
}

TEST_F(Objects, DeletingLeavesOtherHandlesInPlace) {
    for (int i = 0; i < 5; ++i) Add(i == 2 ? ObjectType::Text : ObjectType::Line);
    ObjDesc* fourth = GetObjDesc(graph, 4, nullptr);
    WGDeleteObject(graph, 3);
    EXPECT_EQ(GetObjDesc(graph, 3, nullptr), nullptr);
    EXPECT_EQ(GetObjDesc(graph, 4, nullptr), fourth);
    EXPECT_EQ(WGGetObjectType(graph, 3), 0);
    EXPECT_EQ(WGGetObjectType(graph, 5), ObjectType::Line);
    int subType = -1;
    EXPECT_EQ(WGGetGraphObject(graph, ObjectType::Line, 3, &subType), 4);
    EXPECT_EQ(subType, 0);
    EXPECT_EQ(WGGetGraphObject(graph, ObjectType::Line, 5, &subType), 0);
    EXPECT_EQ(WGGetGraphObject(graph, ObjectType::Text, 1, &subType), 0);
    EXPECT_EQ(GetObjHandle(graph, fourth), 4);
    WGDeleteObject(graph, 3);  // already gone: ignored

    WGUpdatePage(page);
    g_drawn.clear();
    HDC memory = CreateCompatibleDC(nullptr);
    ObjectInterpreter(graph, memory);
    DeleteDC(memory);
    EXPECT_EQ(g_drawn, (std::vector<int>{1, 2, 4, 5}));  // slot order, the gap skipped
}

TEST_F(Objects, HiddenObjectsAreNotDrawn) {
    Add(ObjectType::Line);
    Add(ObjectType::Rect);
    WGUpdatePage(page);
    EXPECT_NE(WGShowObject(graph, 1, FALSE), nullptr);
    EXPECT_EQ(WGShowObject(graph, 9, FALSE), nullptr);
    g_drawn.clear();
    HDC memory = CreateCompatibleDC(nullptr);
    ObjectInterpreter(graph, memory);
    DeleteDC(memory);
    EXPECT_EQ(g_drawn, (std::vector<int>{2}));
}

TEST_F(Objects, DuplicateChangeAndCommitTheTemporaryObject) {
    const int h = Add(ObjectType::Line);
    WGChangeLineColor(graph, h, 1, 0);
    EXPECT_EQ(WGDuplicateObject(graph, h), 32001);
    EXPECT_TRUE(WGChangeLineColor(graph, 32001, 4, 0));
    EXPECT_EQ(WGGetLineColor(graph, h, 0), 1);  // the original is untouched so far
    EXPECT_TRUE(WGObjUpdate(graph, h, 32001));
    EXPECT_EQ(WGGetLineColor(graph, h, 0), 4);
    EXPECT_EQ(WGGetLineColorRGB(graph, h, 0), COLORREF{0x000080});
    EXPECT_EQ(GetObjDesc(graph, 32001, nullptr), nullptr);
    EXPECT_EQ(graph->hTempObj, nullptr);

    MessageBoxAnswerer answerer(IDYES);
    EXPECT_FALSE(WGObjUpdate(graph, h, 32001));  // nothing to commit
    EXPECT_EQ(WGGetLastError(), 56);
}

TEST_F(Objects, UserIdsAndMissingObjects) {
    const int h = Add(ObjectType::Ellipse);
    EXPECT_TRUE(WGSetObjUserID(graph, h, 4711));
    EXPECT_EQ(WGGetObjUserID(graph, h), 4711);
    EXPECT_EQ(WGGetUserIDObj(graph, 4711), h);
    EXPECT_EQ(WGGetUserIDObj(graph, 4712), 0);
    EXPECT_EQ(WGGetObjSize(graph, h), 144);

    MessageBoxAnswerer answerer(IDYES);
    EXPECT_FALSE(WGSetObjUserID(graph, 15, 1));
    EXPECT_EQ(WGGetObjUserID(graph, 0), 0);
    EXPECT_EQ(WGGetObjSize(graph, 15), 0);
    EXPECT_EQ(answerer.Boxes().size(), 3u);
    for (const SeenBox& box : answerer.Boxes()) EXPECT_EQ(box.text, L"Bad object handle\nWould you like to continue ?");
    EXPECT_EQ(WGGetObjectType(graph, 15), 0);  // without a message
    EXPECT_EQ(WGGetLineStyle(graph, 15, 0), -1);
    EXPECT_EQ(answerer.Boxes().size(), 3u);
}

TEST_F(Objects, IllegalFunctionNamesTheType) {
    const int axis = Add(ObjectType::Axis);
    MessageBoxAnswerer answerer(IDYES);
    EXPECT_EQ(ReportIllFunc(GetObjDesc(graph, axis, nullptr)), 0);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, L"Illegal editing function for AXIS\nWould you like to continue ?");
}

TEST_F(Objects, PenWidthIsConvertedWithTheGraphMapping) {
    const int h = Add(ObjectType::Line);
    ASSERT_EQ(graph->cxLog / graph->cxPix, 32);  // 13000 units over 400 pixels, truncated
    EXPECT_TRUE(WGChangeLineWidth(graph, h, 2, 0));
    EXPECT_EQ(WGGetLineWidth(graph, h, 0), 2);
    const LineDesc* line = GetLineDesc(graph, h, 0);
    EXPECT_EQ(line->nWidthX, 65);  // 2 pixels of 32.5 units
    EXPECT_TRUE(WGChangeLineStyle(graph, h, PS_DOT, 0));
    EXPECT_TRUE(WGChangeLineWidth(graph, h, 3, 0));
    EXPECT_EQ(line->nWidthX, 0);  // only solid and inside-frame pens have a logical width
    EXPECT_EQ(WGGetLineStyle(graph, h, 0), PS_DOT);
    EXPECT_TRUE(WGChangeLineColorRGB(graph, h, 0xABCDEF, 0));
    EXPECT_EQ(WGGetLineColor(graph, h, 0), -2);
}

TEST_F(Objects, APaintWhileBuildingKeepsTheNextSlot) {
    Add(ObjectType::Line);
    ObjDesc* first = GetObjDesc(graph, 1, nullptr);
    ASSERT_EQ(Add(ObjectType::Line), 2);
    SendMessageW(graph->hWnd, WM_PAINT, 0, 0);
    EXPECT_EQ(Add(ObjectType::Rect), 3);
    EXPECT_EQ(GetObjDesc(graph, 1, nullptr), first);
    EXPECT_EQ(WGGetObjectType(graph, 1), ObjectType::Line);
}

TEST_F(Objects, DeletingAnAxisClearsReferencesToIt) {
    const int xAxis = Add(ObjectType::Axis);
    const int yAxis = Add(ObjectType::Axis);
    const int line = Add(ObjectType::Line);
    const int rect = Add(ObjectType::Rect);
    graph->hXAxis = xAxis;
    graph->hYAxis = yAxis;
    for (int h : {line, rect}) {
        GetObjDesc(graph, h, nullptr)->hXAxisObj = xAxis;
        GetObjDesc(graph, h, nullptr)->hYAxisObj = yAxis;
    }
    WGDeleteObject(graph, xAxis);
    EXPECT_EQ(graph->hXAxis, 0);
    EXPECT_EQ(graph->hYAxis, yAxis);
    for (int h : {line, rect}) {
        EXPECT_EQ(GetObjDesc(graph, h, nullptr)->hXAxisObj, 0) << h;
        EXPECT_EQ(GetObjDesc(graph, h, nullptr)->hYAxisObj, yAxis) << h;
    }
    // Deleting another type with the same handle value elsewhere clears nothing.
    WGDeleteObject(graph, line);
    EXPECT_EQ(graph->hYAxis, yAxis);
    EXPECT_EQ(GetObjDesc(graph, rect, nullptr)->hYAxisObj, yAxis);
}

TEST_F(Objects, CommitNeedsAnObjectOfTheSameType) {
    const int line = Add(ObjectType::Line);
    const int rect = Add(ObjectType::Rect);
    ASSERT_EQ(WGDuplicateObject(graph, line), 32001);
    MessageBoxAnswerer answerer(IDYES);
    EXPECT_FALSE(WGObjUpdate(graph, rect, 32001));
    EXPECT_EQ(WGGetLastError(), 56);
    EXPECT_EQ(WGGetObjectType(graph, rect), ObjectType::Rect);
    EXPECT_NE(GetObjDesc(graph, 32001, nullptr), nullptr);  // still there to commit
    EXPECT_TRUE(WGObjUpdate(graph, 32001, line));
    EXPECT_EQ(GetObjDesc(graph, 32001, nullptr), nullptr);
}

TEST_F(Objects, TheSelectedObjectFlashesTwiceWithTheWindowsDisabled) {
    const int rect = Add(ObjectType::Rect);
    const int curve = Add(ObjectType::Curve);
    const int text = Add(ObjectType::Text);
    for (int h : {rect, curve, text}) GetObjDesc(graph, h, nullptr)->pfnDraw = &RecordFlash;
    WGUpdatePage(page);
    struct Case {
        int handle;
        UINT message;
        bool flashes;
    };
    const Case cases[] = {
        {text, WM_LBUTTONDBLCLK, true},
        {rect, WM_RBUTTONDOWN, true},
        {curve, WM_LBUTTONDBLCLK, false},  // a plot is not flashed
        {text, WM_LBUTTONDOWN, false},     // a single click only selects
    };
    const FlashStep on{TRUE, FALSE, FALSE}, off{FALSE, FALSE, FALSE};
    for (const Case& c : cases) {
        g_flash.clear();
        WGSelObject(graph, c.handle);
        SendMessageW(graph->hWnd, c.message, 0, MAKELPARAM(5, 5));
        const std::vector<FlashStep> expected =
            c.flashes ? std::vector<FlashStep>{on, off, on, off} : std::vector<FlashStep>();
        EXPECT_EQ(g_flash, expected)
            << "object " << c.handle << " message " << c.message;
        EXPECT_TRUE(IsWindowEnabled(graph->hWnd));
        EXPECT_TRUE(IsWindowEnabled(page->hWnd));
        EXPECT_FALSE(GetObjDesc(graph, c.handle, nullptr)->bHighlight);
    }
}

}  // namespace
}  // namespace lmc32
