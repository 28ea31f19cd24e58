#include "palette.h"

#include <cstdlib>

namespace lmc32 {
namespace {

constexpr std::array<Rgb, kPaletteSize> kDefaultPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
    0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF,
    0x00FFFF, 0xFFFFFF, 0xF0CAA6, 0xC0DCC0, 0xA4A0A0, 0xF0FBFF,
};

std::array<Rgb, kPaletteSize> g_palette = kDefaultPalette;

struct ColorPair {
    Rgb from;
    Rgb to;
};

// The standard colours have hand-picked partners; the formula below would
// turn the dark ones into muddy tones.
constexpr ColorPair kLighterPairs[] = {
    {0x000000, 0x808080}, {0x800000, 0xFF0000}, {0x008000, 0x00FF00},
    {0x808000, 0xFFFF00}, {0x000080, 0x0000FF}, {0x800080, 0xFF00FF},
    {0x008080, 0x00FFFF}, {0x808080, 0xC0C0C0}, {0xFF0000, 0xFF8080},
    {0x00FF00, 0x80FF80}, {0xFFFF00, 0xFFFFC0}, {0x0000FF, 0x8080FF},
    {0xFF00FF, 0xFF80FF}, {0x00FFFF, 0xC0FFFF}, {0xFFFFFF, 0xC0C0C0},
};

constexpr ColorPair kShadePairs[] = {
    {0x000000, 0x424242},
    {0xC0C0C0, 0x808080},
    {0x808080, 0x3F3F3F},
};

int Component(Rgb color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

Rgb MapComponents(Rgb color, int (*map)(int)) {
    return static_cast<Rgb>(map(Component(color, 0)) | (map(Component(color, 8)) << 8) |
                            (map(Component(color, 16)) << 16));
}

}  // namespace

const std::array<Rgb, kPaletteSize>& DefaultPalette() { return kDefaultPalette; }

Rgb PaletteEntry(int index) { return g_palette.at(static_cast<std::size_t>(index)); }

void SetPaletteEntry(int index, Rgb color) { g_palette.at(static_cast<std::size_t>(index)) = color; }

Rgb ResolveColor(Rgb color) { return color < kPaletteSize ? g_palette[color] : color; }

int ClosestPaletteIndex(Rgb color) {
    int best = 0;
    int bestDistance = -1;
    for (int i = 0; i < kPaletteSize; ++i) {
        if (g_palette[i] == color) return i;
    }
    for (int i = 0; i < kPaletteSize; ++i) {
        int distance = 0;
        for (int shift : {0, 8, 16}) distance += std::abs(Component(color, shift) - Component(g_palette[i], shift));
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

Rgb ShadeColor(Rgb color) {
    for (const ColorPair& pair : kShadePairs)
        if (pair.from == color) return pair.to;
    return MapComponents(color, [](int c) { return c / 2; });
}

Rgb LighterColor(Rgb color) {
    for (const ColorPair& pair : kLighterPairs)
        if (pair.from == color) return pair.to;
    return MapComponents(color, [](int c) { return 3 * c >= 510 ? 255 : 3 * c / 2; });
}

}  // namespace lmc32
