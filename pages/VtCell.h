// One display cell: what the renderer draws at one of the 40 x 24 positions of a page.
#pragma once

#include <array>
#include <cstdint>

namespace tolv {

using Colour = std::uint32_t;  // 0x00BBGGRR

inline constexpr std::array<Colour, 8> kTeletextColours = {
    0x000000,  // black
    0x0000FF,  // red
    0x00FF00,  // green
    0x00FFFF,  // yellow
    0xFF0000,  // blue
    0xFF00FF,  // magenta
    0xFFFF00,  // cyan
    0xFFFFFF,  // white
};

enum CellFlag : std::uint8_t {
  kSeparated = 0x01,
  kDoubleHeight = 0x02,
  kConceal = 0x04,
  kFlash = 0x08,
  kVisible = 0x10,
};

struct TVtCell {
  std::uint8_t Ch = 0x20;
  Colour FgColor = 0;
  Colour BgColor = 0;
  std::uint8_t CharSet = 1;
  std::uint8_t Mosaic = 0;
  std::uint8_t Flags = kVisible;

  friend bool operator==(const TVtCell&, const TVtCell&) = default;
};

using VtCellRow = std::array<TVtCell, 40>;

inline void FillCell(TVtCell& cell, std::uint8_t ch, Colour fgColor, Colour bgColor, bool mosaic, bool separated,
                     bool doubleHeight, bool conceal, bool flash, bool visible, std::uint8_t charSet) {
  cell.Ch = ch;
  cell.FgColor = fgColor;
  cell.BgColor = bgColor;
  cell.CharSet = charSet;
  cell.Mosaic = mosaic ? 1 : 0;
  cell.Flags = static_cast<std::uint8_t>((separated ? kSeparated : 0) | (doubleHeight ? kDoubleHeight : 0) |
                                         (conceal ? kConceal : 0) | (flash ? kFlash : 0) | (visible ? kVisible : 0));
}

}  // namespace tolv
