// A small picture held as data (button glyphs, a program icon): pixels in 0x00BBGGRR, with one
// colour standing for "transparent" as button glyphs use the colour of their lower left pixel.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/Types.h"

namespace tolv::ui {

struct PixelImage {
  int Width = 0;
  int Height = 0;
  std::vector<TColor> Pixels;  // row by row, top row first
  TColor Transparent = clFuchsia;

  bool Empty() const { return Width == 0 || Height == 0; }
  std::size_t IndexOf(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x);
  }
  TColor At(int x, int y) const { return Pixels[IndexOf(x, y)]; }
  friend bool operator==(const PixelImage&, const PixelImage&) = default;
};

// A drawing written as rows of characters, one character a pixel, each character's colour
// given by palette; characters missing from the palette (and '.') are transparent. Rows
// shorter than the first are padded with transparent pixels.
PixelImage ImageFromRows(std::initializer_list<std::string_view> rows,
                         std::initializer_list<std::pair<char, TColor>> palette);

// The two states a button glyph strip holds side by side: the image as given, then its
// disabled look (every opaque pixel grey, an embossed shadow of the shape).
PixelImage TwoStateGlyph(const PixelImage& image);

}  // namespace tolv::ui
