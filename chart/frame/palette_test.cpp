#include "palette.h"

#include <gtest/gtest.h>

namespace lmc32 {
namespace {

TEST(Palette, IndicesBelowTwentyAreEntriesOthersAreColours) {
    EXPECT_EQ(ResolveColor(0), 0x000000u);
    EXPECT_EQ(ResolveColor(4), 0x000080u);
    EXPECT_EQ(ResolveColor(19), 0xF0FBFFu);
    EXPECT_EQ(ResolveColor(20), 20u);
    EXPECT_EQ(ResolveColor(0x123456), 0x123456u);
}

TEST(Palette, ClosestIndexPrefersExactThenLeastDistanceThenEarlier) {
    EXPECT_EQ(ClosestPaletteIndex(0x808080), 8);
    EXPECT_EQ(ClosestPaletteIndex(0xFFFFFF), 15);
    EXPECT_EQ(ClosestPaletteIndex(0x010101), 0);
    EXPECT_EQ(ClosestPaletteIndex(0xA0A0A0), 18);  // medium gray (A4A0A0), distance 4
    // Equally far (distance 0x40*3) from black and from gray: black comes first.
    EXPECT_EQ(ClosestPaletteIndex(0x404040), 0);
}

struct ColorCase {
    Rgb in;
    Rgb out;
};

TEST(Palette, ShadeUsesFixedPairsThenHalves) {
    const ColorCase cases[] = {
        {0x000000, 0x424242}, {0xC0C0C0, 0x808080}, {0x808080, 0x3F3F3F},
        {0xFF0000, 0x7F0000}, {0x0180FF, 0x00407F}, {0xFFFFFF, 0x7F7F7F},
    };
    for (const ColorCase& c : cases) EXPECT_EQ(ShadeColor(c.in), c.out) << std::hex << c.in;
}

TEST(Palette, LighterUsesFixedPairsThenThreeHalvesCappedAt255) {
    const ColorCase cases[] = {
        {0x000000, 0x808080}, {0x800000, 0xFF0000}, {0x008080, 0x00FFFF}, {0x808080, 0xC0C0C0},
        {0xFF0000, 0xFF8080}, {0x00FFFF, 0xC0FFFF}, {0xFFFFFF, 0xC0C0C0},
        // 3*0x10/2 = 0x18; 3*0xAA = 510 reaches the cap; 3*0xA9/2 = 0xFD.
        {0x1010A9, 0x1818FD}, {0xAA0001, 0xFF0001},
    };
    for (const ColorCase& c : cases) EXPECT_EQ(LighterColor(c.in), c.out) << std::hex << c.in;
}

TEST(Palette, AdjustedEntryIsUsedByResolveAndLookup) {
    const Rgb saved = PaletteEntry(kDisplayAdjustedEntry);
    SetPaletteEntry(kDisplayAdjustedEntry, 0xF0C8A0);
    EXPECT_EQ(ResolveColor(16), 0xF0C8A0u);
    EXPECT_EQ(ClosestPaletteIndex(0xF0C8A0), 16);
    SetPaletteEntry(kDisplayAdjustedEntry, saved);
    EXPECT_EQ(DefaultPalette()[16], 0xF0CAA6u);
}

}  // namespace
}  // namespace lmc32
