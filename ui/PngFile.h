// A picture as the bytes of a PNG file: 8-bit RGB, compressed without a library. Teletext pages
// are runs of one colour and rows that repeat the row above, so the encoder looks for exactly
// those two repetitions and codes them with deflate's fixed Huffman codes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ui/Types.h"

namespace tolv::ui {

// pixels: height rows of width colours (0x00BBGGRR), top row first. Empty when a side is not
// positive or the pixels do not fill the picture.
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const TColor> pixels);

}  // namespace tolv::ui
