// A picture as a packed device-independent bitmap, the form the clipboard's CF_DIB takes: a
// BITMAPINFOHEADER (40 bytes, little-endian), then the pixels at 24 bits, blue, green, red, each
// row padded to a multiple of 4 bytes and the bottom row first (a positive height).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ui/Canvas.h"

namespace tolv::ui {

inline constexpr std::size_t kDibHeaderSize = 40;
inline constexpr int kDibBitsPerPixel = 24;

// The bytes of one row of width pixels.
std::size_t DibRowStride(int width);

// pixels: height rows of width colours (0x00BBGGRR), top row first. Empty when a side is not
// positive or the pixels do not fill the picture.
std::vector<std::uint8_t> PackedDib(int width, int height, std::span<const TColor> pixels);

}  // namespace tolv::ui
