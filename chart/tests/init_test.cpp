#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <regex>
#include <string>

#include "lmc32.h"
#include "message_box_answerer.h"

namespace {

constexpr int kSlot = sizeof(LONG_PTR);

INT_PTR WINAPI SaveHook() { return 1; }
INT_PTR WINAPI RestoreHook() { return 2; }

std::unique_ptr<TopDesc> FreshTop() {
    auto top = std::make_unique<TopDesc>();
    top->hInst = GetModuleHandleW(nullptr);
    top->nRealSize = 8;
    return top;
}

// Tests switch the current descriptor to ones they own; afterwards a
// descriptor of the library is made current again.
class Init : public ::testing::Test {
protected:
    void TearDown() override { WGInit(GetModuleHandleW(nullptr), nullptr); }
};

TEST_F(Init, InitTopWritesTheDefaults) {
    auto top = FreshTop();
    top->hPgDesc[5] = reinterpret_cast<HGLOBAL>(0x1234);
    top->pfnSaveDynObj = &SaveHook;
    ASSERT_TRUE(InitTop(top.get(), DefWindowProcW, DefWindowProcW, CS_DBLCLKS | CS_PARENTDC));
    EXPECT_TRUE(top->bInit);
    EXPECT_TRUE(top->bErrMsg);
    EXPECT_FALSE(top->bTerm);
    EXPECT_EQ(top->DefText.nSize, 10);
    EXPECT_EQ(top->DefText.crColor, 0);
    EXPECT_EQ(top->DefText.lf.lfPitchAndFamily, 32);
    EXPECT_TRUE(top->PrintOpts.bScaleLineWidths);
    EXPECT_TRUE(top->PrintOpts.bPrintKeepAspect);
    EXPECT_EQ(top->dMaxVal, 9.9999e19);
    EXPECT_EQ(top->dMinVal, -9.9999e19);
    EXPECT_EQ(top->dBadVal, 1e20);
    EXPECT_EQ(top->nNextUserID, 1);
    EXPECT_FALSE(top->bNoAutoUserID);
    EXPECT_EQ(top->hPgDesc[5], nullptr);
    EXPECT_EQ(top->pfnSaveDynObj, nullptr);
    EXPECT_EQ(top->pDevDesc, GetDevDesc());
    RECT clip;
    ASSERT_NE(top->hClipRgn, nullptr);
    EXPECT_EQ(GetRgnBox(top->hClipRgn, &clip), SIMPLEREGION);
    EXPECT_EQ(clip.right, 30000);
    EXPECT_EQ(clip.bottom, 30000);
    Cleanup(top.get(), TRUE);
}

TEST_F(Init, InitTopKeepsPrintOptionsTheHostSet) {
    auto top = FreshTop();
    top->PrintOpts.bPrintOptsSet = TRUE;
    top->PrintOpts.nPrintStyle = 2;
    top->PrintOpts.bPrintKeepAspect = FALSE;
    ASSERT_TRUE(InitTop(top.get(), DefWindowProcW, DefWindowProcW, 0));
    EXPECT_EQ(top->PrintOpts.nPrintStyle, 2);
    EXPECT_FALSE(top->PrintOpts.bPrintKeepAspect);
    Cleanup(top.get(), TRUE);
}

TEST_F(Init, PageAndGraphClassesAreRegisteredFromTheHostInstanceAgainAndAgain) {
    for (int round = 0; round < 2; ++round) {
        auto top = FreshTop();
        ASSERT_TRUE(InitTop(top.get(), DefWindowProcW, DefWindowProcW, CS_DBLCLKS | CS_PARENTDC)) << round;
        WNDCLASSW page{}, graph{};
        ASSERT_TRUE(GetClassInfoW(top->hInst, L"PgWin", &page));
        EXPECT_EQ(page.style, UINT{CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS});
        EXPECT_EQ(page.cbWndExtra, 5 * kSlot);
        EXPECT_EQ(page.hbrBackground, nullptr);
        ASSERT_TRUE(GetClassInfoW(top->hInst, L"GrWin", &graph));
        EXPECT_EQ(graph.style, UINT{CS_DBLCLKS | CS_PARENTDC});
        EXPECT_EQ(graph.cbWndExtra, 4 * kSlot);
        // This host has no "chartcur" cursor: the arrow is used.
        EXPECT_EQ(top->hGraphCursor, nullptr);
        EXPECT_EQ(graph.hCursor, LoadCursorW(nullptr, IDC_ARROW));
        Cleanup(top.get(), TRUE);
    }
}

TEST_F(Init, LibraryClassesAreRegisteredWhenLoaded) {
    HINSTANCE library = GetModuleHandleW(L"lmc32.dll");
    ASSERT_NE(library, nullptr);
    WNDCLASSW button{}, table{};
    ASSERT_TRUE(GetClassInfoW(library, L"CusButton", &button));
    EXPECT_EQ(button.style, 0u);
    EXPECT_EQ(button.cbWndExtra, 4 * kSlot);
    ASSERT_TRUE(GetClassInfoW(library, L"DataTab", &table));
    EXPECT_EQ(table.style, UINT{CS_VREDRAW | CS_HREDRAW | CS_SAVEBITS});
    EXPECT_EQ(table.cbWndExtra, 10 * kSlot);
    EXPECT_EQ(std::wstring(table.lpszMenuName), L"DATAMENU");
    ASSERT_NE(table.hbrBackground, nullptr);
    LOGBRUSH brush{};
    GetObjectW(table.hbrBackground, sizeof brush, &brush);
    EXPECT_EQ(brush.lbColor, COLORREF{0x800000});
}

TEST_F(Init, CleanupReleasesOnceAndKeepsTheDescriptor) {
    auto top = FreshTop();
    ASSERT_TRUE(InitTop(top.get(), DefWindowProcW, DefWindowProcW, 0));
    HRGN clip = top->hClipRgn;
    EXPECT_TRUE(Cleanup(top.get(), FALSE));
    EXPECT_FALSE(top->bInit);
    EXPECT_EQ(top->hClipRgn, nullptr);
    EXPECT_EQ(GetObjectType(clip), 0u);  // deleted
    EXPECT_FALSE(Cleanup(top.get(), FALSE));
}

TEST_F(Init, DeviceDescriptionDescribesTheScreen) {
    WGInit(GetModuleHandleW(nullptr), nullptr);
    const DevDesc* device = GetDevDesc();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->nScreenWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(device->nScreenHeight, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_GT(device->nScreenPpiX, 0);
    EXPECT_EQ(device->hModule, GetModuleHandleW(L"lmc32.dll"));

    // A companion's descriptor with a device of its own.
    auto top = FreshTop();
    DevDesc printer{};
    top->pDevDesc = &printer;
    InitDll(top.get());
    EXPECT_EQ(GetDevDesc(), &printer);
    top->pDevDesc = nullptr;
    EXPECT_EQ(GetDevDesc(), device);
}

TEST_F(Init, InitDllSwitchesTheDescriptorTheHandlerUses) {
    auto quiet = FreshTop();
    quiet->bErrMsg = FALSE;
    auto loud = FreshTop();
    loud->bErrMsg = TRUE;
    MessageBoxAnswerer answerer(IDYES);
    InitDll(quiet.get());
    ErrHdlr(30, 0, nullptr);
    EXPECT_TRUE(answerer.Boxes().empty());
    InitDll(loud.get());
    ErrHdlr(30, 0, nullptr);
    EXPECT_EQ(answerer.Boxes().size(), 1u);
    WGEnableErrorMessages(FALSE);
    EXPECT_FALSE(loud->bErrMsg);
}

TEST_F(Init, HooksOfACompanionAreStoredInTheCurrentDescriptor) {
    auto top = FreshTop();
    InitDll(top.get());
    LMHOOKPROC save = &SaveHook;
    LMHOOKPROC restore = &RestoreHook;
    SetRemoteSaveRestDynObj(save, restore);
    EXPECT_EQ(top->pfnSaveDynObj, save);
    EXPECT_EQ(top->pfnRestoreDynObj, restore);
    EXPECT_EQ(SetRemoteRecalc(save), save);
    HWND form = reinterpret_cast<HWND>(0x10);
    EXPECT_EQ(SetFormPage(form), form);
    SetFormPage(nullptr);
}

TEST_F(Init, VersionAndBuildDate) {
    int minor = -1;
    EXPECT_EQ(WGGetVersion(&minor), 3);
    EXPECT_EQ(minor, 0);
    const std::wstring date = WGGetDate();
    EXPECT_TRUE(std::regex_match(std::string(date.begin(), date.end()),
                                 std::regex("(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 123][0-9] [0-9]{4}")))
        << std::string(date.begin(), date.end());
}

}  // namespace
