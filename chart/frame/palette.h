// The library's 20-colour palette and the colours derived from it. A colour
// argument below 20 is a palette index, anything else a COLORREF
// (0x00BBGGRR).
#pragma once
#include <array>
#include <cstdint>

namespace lmc32 {

using Rgb = std::uint32_t;
inline constexpr int kPaletteSize = 20;
// Palette entry replaced by the display's nearest colour on rich displays.
inline constexpr int kDisplayAdjustedEntry = 16;

const std::array<Rgb, kPaletteSize>& DefaultPalette();

// The palette in use (entry 16 may differ from the default, see above).
Rgb PaletteEntry(int index);
void SetPaletteEntry(int index, Rgb color);

// Palette entry for 0..19, the argument itself otherwise.
Rgb ResolveColor(Rgb color);

// Index of the palette entry equal to the colour (the first one), else the
// one with the least sum of absolute component differences (earlier wins).
int ClosestPaletteIndex(Rgb color);

// Darker shade for 3-D edges.
Rgb ShadeColor(Rgb color);
// Lighter variant for 3-D edges and highlights.
Rgb LighterColor(Rgb color);

}  // namespace lmc32
