// The 2 x 3 block mosaics of teletext, computed from the sixel bits of each code.
#pragma once

#include <array>
#include <cstdint>

#include "faces/BitmapFace.h"

namespace tolv::fonts {

// Sixel bit of each block in reading order: top left, top right, middle left, middle right,
// bottom left, bottom right. Bit 0x20 marks a mosaic code rather than a block.
inline constexpr std::array<std::uint8_t, 6> kSixelBits = {0x01, 0x02, 0x04, 0x08, 0x10, 0x40};

// The 14 x 15 cell splits into columns of 7 + 7 and rows of 5 + 5 + 5 pixels, so contiguous
// blocks fill the cell exactly and join their neighbours.
inline constexpr unsigned kBlockWidth = 7;
inline constexpr unsigned kBlockHeight = 5;
// A separated block keeps a one-pixel gap on each side inside its place: two pixels between
// blocks, in a cell and across cells alike.
inline constexpr unsigned kSeparationGap = 1;

// The mosaic faces hold codes 0x20-0x3F at their own positions and 0x60-0x7F at 0x40-0x5F.
inline constexpr std::uint8_t kFirstMosaicPosition = 0x20;
inline constexpr std::uint8_t kLastMosaicPosition = 0x5F;
constexpr std::uint8_t MosaicCodeAt(std::uint8_t position) {
  return static_cast<std::uint8_t>(position < 0x40 ? position : position + 0x20);
}

BitmapGlyph MosaicGlyph(std::uint8_t code, bool separated);

}  // namespace tolv::fonts
