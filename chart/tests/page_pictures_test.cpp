// Pages as metafiles and as bitmaps: the geometry is read back from the
// records of an enhanced metafile, the colours from pixels away from edges.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "emf_shapes.h"
#include "lmc32.h"

namespace {

constexpr COLORREF kRed = RGB(200, 30, 40);
constexpr COLORREF kGreen = RGB(20, 160, 60);
constexpr COLORREF kBlue = 0x800000;  // palette entry 1
constexpr COLORREF kWhite = 0xFFFFFF;  // palette entry 15

struct Host {
    HWND window = nullptr;
    Host() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"Lmc32PictureHost";
        RegisterClassW(&windowClass);
        window = CreateWindowW(L"Lmc32PictureHost", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1100, 900,
                               nullptr, nullptr, windowClass.hInstance, nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
    }
    ~Host() { DestroyWindow(window); }
};

// A built page of 1000 x 800 pixels: 13000 x 10400 units, 13 to the pixel.
class PagePictures : public ::testing::Test {
protected:
    void SetUp() override {
        WGInit(GetModuleHandleW(nullptr), host.window);
        page = WGCreatePage(L"pictures", host.window, 0, nullptr, nullptr, nullptr, 15, 8, WS_CHILD, 2, 0, 0, 1000,
                            800);
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(page->cxLog, 13000);
        ASSERT_EQ(page->cyLog, 10400);
    }
    void TearDown() override {
        for (MetaDesc* meta : metafiles) WGDeleteMetafile(meta);
        WGClosePage(page);
    }

    std::vector<EmfShape> PageShapes() {
        MetaDesc* meta = WGConvertPageToMeta(page, 2);
        if (!meta) {
            ADD_FAILURE() << "no metafile";
            return {};
        }
        metafiles.push_back(meta);
        EXPECT_TRUE(meta->bEnhanced);
        return ReadEmfShapes(static_cast<HENHMETAFILE>(meta->hMeta));
    }

    Host host;
    PgDesc* page = nullptr;
    std::vector<MetaDesc*> metafiles;
};

TEST_F(PagePictures, GraphsAreDrawnInSlotOrderAtTheirPlaceOnThePage) {
    WGCreateGraph(page, nullptr, 0.0, 0.0, 0.5, 0.5, kRed, 1, 2);
    WGCreateGraph(page, nullptr, 0.3, 0.25, 1.0, 1.0, kGreen, -1, 0);
    WGUpdatePage(page);
    EXPECT_EQ(PageShapes(), (std::vector<EmfShape>{
                                Fill({0, 0, 6500, 5200}, kRed),
                                Frame({0, 0, 6500, 5200}, PS_INSIDEFRAME, 26, kBlue),
                                Fill({3900, 2600, 13000, 10400}, kGreen),  // the later slot covers the first
                            }));
}

TEST_F(PagePictures, BordersFollowTheirSettings) {
    struct Case {
        int color, width;
        bool framed;
    };
    const Case cases[] = {{1, 4, true}, {-1, 2, false}, {3, 0, false}};
    for (const Case& c : cases) {
        GrDesc* graph = WGCreateGraph(page, nullptr, 0.1, 0.1, 0.6, 0.6, kWhite, c.color, c.width);
        WGUpdatePage(page);
        page->bBuilt = FALSE;  // the next case adds a graph of its own
        std::vector<EmfShape> expected{Fill({1300, 1040, 7800, 6240}, kWhite)};
        if (c.framed) expected.push_back(Frame({1300, 1040, 7800, 6240}, PS_INSIDEFRAME, 13 * c.width, WGGetRGBColor(c.color)));
        EXPECT_EQ(PageShapes(), expected) << "border colour " << c.color << " width " << c.width;
        WGDeleteGraph(graph);
    }
}

TEST_F(PagePictures, ChangedBackgroundAndBorderReachTheNextPicture) {
    GrDesc* graph = WGCreateGraph(page, nullptr, 0.5, 0.0, 1.0, 0.5, kWhite, -1, 0);
    WGUpdatePage(page);
    WGChangeGraphBackgnd(graph, kGreen);
    WGSetGraphBorder(graph, TRUE, 4, 3);  // palette 4: dark red
    EXPECT_EQ(PageShapes(), (std::vector<EmfShape>{Fill({6500, 0, 13000, 5200}, kGreen),
                                                   Frame({6500, 0, 13000, 5200}, PS_INSIDEFRAME, 39, 0x000080)}));
    WGSetGraphBorder(graph, FALSE, 0, 0);
    EXPECT_EQ(PageShapes(), (std::vector<EmfShape>{Fill({6500, 0, 13000, 5200}, kGreen)}));
}

TEST_F(PagePictures, ABlownUpGraphIsDrawnAloneAtTheOrigin) {
    WGCreateGraph(page, nullptr, 0.0, 0.0, 0.5, 0.5, kRed, -1, 0);
    GrDesc* second = WGCreateGraph(page, nullptr, 0.5, 0.5, 1.0, 1.0, kGreen, -1, 0);
    WGUpdatePage(page);
    page->bBlownUp = TRUE;
    page->nSel = second->nGraph;
    EXPECT_EQ(PageShapes(), (std::vector<EmfShape>{Fill({0, 0, 6500, 5200}, kGreen)}));
    page->bBlownUp = FALSE;
}

using XY = std::pair<LONG, LONG>;

struct WantedRecords {
    WORD function;
    std::vector<XY> seen;
};

int CALLBACK CollectWindowSetting(HDC, HANDLETABLE*, METARECORD* record, int, LPARAM data) {
    auto* wanted = reinterpret_cast<WantedRecords*>(data);
    // The record keeps y before x.
    if (record->rdFunction == wanted->function)
        wanted->seen.push_back({static_cast<SHORT>(record->rdParm[1]), static_cast<SHORT>(record->rdParm[0])});
    return 1;
}

// The window origins or extents a Windows metafile sets, in order.
std::vector<XY> WindowSettings(HMETAFILE metafile, WORD function) {
    WantedRecords wanted{function, {}};
    EnumMetaFile(nullptr, metafile, &CollectWindowSetting, reinterpret_cast<LPARAM>(&wanted));
    return wanted.seen;
}

TEST_F(PagePictures, MetafileDescriptors) {
    WGCreateGraph(page, nullptr, 0.0, 0.0, 0.5, 0.5, kRed, -1, 0);
    WGCreateGraph(page, nullptr, 0.5, 0.5, 1.0, 1.0, kGreen, -1, 0);
    WGUpdatePage(page);

    MetaDesc* enhanced = WGConvertPageToMeta(page, 2);
    ASSERT_NE(enhanced, nullptr);
    EXPECT_EQ(enhanced->hOwn, static_cast<HGLOBAL>(enhanced));
    EXPECT_TRUE(enhanced->bEnhanced);
    EXPECT_EQ(enhanced->Header.dwKey, 0u);
    ENHMETAHEADER header{};
    ASSERT_NE(GetEnhMetaFileHeader(static_cast<HENHMETAFILE>(enhanced->hMeta), sizeof header, &header), 0u);
    HDC screen = GetDC(nullptr);
    const LONG frameWidth = 1000 * 100 * GetDeviceCaps(screen, HORZSIZE) / GetDeviceCaps(screen, HORZRES);
    const LONG frameHeight = 800 * 100 * GetDeviceCaps(screen, VERTSIZE) / GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(header.rclFrame.left, 0);
    EXPECT_EQ(header.rclFrame.top, 0);
    EXPECT_NEAR(header.rclFrame.right, frameWidth, 1);  // the system may round the frame
    EXPECT_NEAR(header.rclFrame.bottom, frameHeight, 1);
    WGDeleteMetafile(enhanced);

    MetaDesc* windows = WGConvertPageToMeta(page, 0);
    ASSERT_NE(windows, nullptr);
    EXPECT_FALSE(windows->bEnhanced);
    const auto windowsMeta = static_cast<HMETAFILE>(windows->hMeta);
    EXPECT_EQ(WindowSettings(windowsMeta, META_SETWINDOWEXT), (std::vector<XY>{{13000, 10400}}));
    EXPECT_EQ(WindowSettings(windowsMeta, META_SETWINDOWORG), (std::vector<XY>{{0, 0}, {-6500, -5200}, {0, 0}}));
    WGDeleteMetafile(windows);

    WGDeleteMetafile(nullptr);  // ignored
    int notAPage[80] = {};
    EXPECT_EQ(WGConvertPageToMeta(reinterpret_cast<PgDesc*>(notAPage), 2), nullptr);
    EXPECT_EQ(WGConvertPageToMeta(nullptr, 2), nullptr);
}

// The colour of a pixel of a captured bitmap.
COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const COLORREF color = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteDC(memory);
    return color;
}

SIZE SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

TEST_F(PagePictures, ClientAreaCaptureShowsPageAndGraphs) {
    GrDesc* graph = WGCreateGraph(page, nullptr, 0.0, 0.0, 0.5, 0.5, kRed, 1, 4);
    WGCreateGraph(page, nullptr, 0.5, 0.5, 1.0, 1.0, kGreen, -1, 0);
    WGUpdatePage(page);

    HBITMAP bitmap = WGGetPageBitmapHandle(page, 2);
    ASSERT_NE(bitmap, nullptr);
    const SIZE size = SizeOf(bitmap);
    EXPECT_EQ(size.cx, 1000);
    EXPECT_EQ(size.cy, 800);
    EXPECT_EQ(PixelOf(bitmap, 250, 200), kRed);
    EXPECT_EQ(PixelOf(bitmap, 2, 200), kBlue);     // inside the 4-pixel frame
    EXPECT_EQ(PixelOf(bitmap, 250, 5), kRed);      // just inside it
    EXPECT_EQ(PixelOf(bitmap, 750, 600), kGreen);
    EXPECT_EQ(PixelOf(bitmap, 750, 200), kWhite);  // the page between the graphs
    DeleteObject(bitmap);

    HBITMAP ofGraph = WGGetPageBitmapHandle(graph, 2);
    ASSERT_NE(ofGraph, nullptr);
    EXPECT_EQ(SizeOf(ofGraph).cx, 500);
    EXPECT_EQ(PixelOf(ofGraph, 250, 200), kRed);
    DeleteObject(ofGraph);

    EXPECT_EQ(WGGetPageBitmapHandle(page, 3), nullptr);
    int notAPage[80] = {};
    EXPECT_EQ(WGGetPageBitmapHandle(notAPage, 2), nullptr);
}

}  // namespace
