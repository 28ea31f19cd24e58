// Writes 24-bit RGB images as PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace guidriver {

// rgb: height rows of width pixels, 3 bytes each (red, green, blue), top row first.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace guidriver
