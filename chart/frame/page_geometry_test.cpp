#include "page_geometry.h"

#include <gtest/gtest.h>

namespace lmc32 {
namespace {

TEST(PageGeometry, GraphNumbersSplitIntoPageAndSlot) {
    EXPECT_EQ(GraphNumber(1, 0), 76);
    EXPECT_EQ(GraphNumber(59, 15), 1019);
    EXPECT_EQ(SplitGraphNumber(76).page, 1);
    EXPECT_EQ(SplitGraphNumber(1019).slot, 15);
    EXPECT_EQ(SplitGraphNumber(93).page, 2);
    EXPECT_EQ(SplitGraphNumber(93).slot, 1);
}

TEST(PageGeometry, MappingArgumentTable) {
    const struct {
        int argument, mapMode, keepAspect;
        bool fixedFonts;
    } cases[] = {{8, 8, 0, false}, {9, 8, 1, false}, {10, 8, 0, true}, {11, 8, 1, true},
                 {7, 7, 0, false}, {0, 7, 0, false}, {12, 7, 0, false}};
    for (const auto& c : cases) {
        const PageMapping m = PageMappingFromArgument(c.argument);
        EXPECT_EQ(m.mapMode, c.mapMode) << c.argument;
        EXPECT_EQ(m.keepAspect, c.keepAspect) << c.argument;
        EXPECT_EQ(m.fixedFonts, c.fixedFonts) << c.argument;
    }
}

TEST(PageGeometry, LogicalSizes) {
    EXPECT_EQ(PageLogicalSize(8, 1000, 800, 1280, 1024).cx, 13000);
    EXPECT_EQ(PageLogicalSize(8, 1000, 800, 1280, 1024).cy, 10400);
    EXPECT_EQ(PageLogicalSize(8, 300, 900, 1280, 1024).cx, 4333);  // 13000/900*300 truncated
    EXPECT_EQ(PageLogicalSize(8, 300, 900, 1280, 1024).cy, 13000);
    EXPECT_EQ(PageLogicalSize(8, 500, 500, 1280, 1024).cx, 13000);
    EXPECT_EQ(PageLogicalSize(8, 500, 500, 1280, 1024).cy, 13000);
    // Isotropic: scaled by the screen side that matches the page's longer side.
    EXPECT_EQ(PageLogicalSize(7, 640, 512, 1280, 1024).cx, 6500);
    EXPECT_EQ(PageLogicalSize(7, 640, 512, 1280, 1024).cy, 5200);
    EXPECT_EQ(PageLogicalSize(7, 512, 512, 1280, 1024).cx, 6500);  // not wider: screen height
    EXPECT_EQ(PageLogicalSize(7, 100, 50, 0, 0).cx, 100);           // no screen size: 1.0
}

TEST(PageGeometry, GraphPixelRectangleRoundsHalfUp) {
    const PixelRect r = GraphPixelRect(1000, 800, 0.1, 0.2, 0.6, 0.7);
    EXPECT_EQ(r.x, 100);
    EXPECT_EQ(r.y, 160);
    EXPECT_EQ(r.cx, 500);
    EXPECT_EQ(r.cy, 400);
    EXPECT_EQ(RoundHalfUp(2.5), 3);
    EXPECT_EQ(RoundHalfUp(2.4999), 2);
    EXPECT_FLOAT_EQ(RoundToThousandths(0.12345f), 0.123f);
    EXPECT_FLOAT_EQ(RoundToThousandths(0.4996f), 0.5f);
}

TEST(PageGeometry, TitlesNamesAndMouseSlots) {
    EXPECT_EQ(DefaultPageTitle(3), u"CHART #3");
    EXPECT_EQ(DefaultPageTitle(59), u"CHART #59");
    EXPECT_EQ(PageName(u"A very long page name"), u"A very long ");
    EXPECT_EQ(PageName(u"short"), u"short");
    EXPECT_EQ(MouseActionSlot(0x0201), 0);
    EXPECT_EQ(MouseActionSlot(0x0203), 4);
    EXPECT_EQ(MouseActionSlot(0x0200), 6);
    EXPECT_EQ(MouseActionSlot(99999), 7);
    EXPECT_EQ(MouseActionSlot(0x0207), 0);  // middle button: slot 0
}

}  // namespace
}  // namespace lmc32
