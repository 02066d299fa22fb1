#include "ui/raster/SubstituteFace.h"

namespace tolv::ui {
namespace {

constexpr unsigned kWidth = 14;
constexpr unsigned kHeight = 15;

BitmapFace MakeSubstituteFace() {
  BitmapFace face;
  face.Name = "Substitute";
  face.PixelHeight = kHeight;
  face.PixelWidth = kWidth;
  face.Ascent = 12;
  face.FirstChar = 0;
  face.LastChar = 0xFF;
  face.DefaultChar = 0x20;
  // A box from (2, 2) to (11, 11): the extent of a capital letter.
  constexpr std::uint32_t kSides = (0x80000000u >> 2) | (0x80000000u >> 11);
  constexpr std::uint32_t kTopAndBottom = (0xFFFFFFFFu >> 2) & ~(0xFFFFFFFFu >> 12);
  BitmapGlyph box{kWidth, std::vector<std::uint32_t>(kHeight, 0)};
  box.Rows[2] = box.Rows[11] = kTopAndBottom;
  for (unsigned y = 3; y < 11; ++y) box.Rows[y] = kSides;
  const BitmapGlyph blank{kWidth, std::vector<std::uint32_t>(kHeight, 0)};
  for (unsigned c = 0; c <= 0xFF; ++c) face.Glyphs.push_back(c > 0x20 ? box : blank);
  return face;
}

}  // namespace

const BitmapFace& SubstituteFace() {
  static const BitmapFace face = MakeSubstituteFace();
  return face;
}

}  // namespace tolv::ui
