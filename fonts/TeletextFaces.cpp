#include "fonts/TeletextFaces.h"

#include <algorithm>

#include "fonts/MosaicGlyphs.h"

namespace tolv::fonts {
namespace {

BitmapFace EmptyFace(const char* name, std::uint8_t first, std::uint8_t last) {
  BitmapFace face;
  face.Name = name;
  face.PixelHeight = kCellHeight;
  face.PixelWidth = kCellWidth;
  face.Ascent = kAscent;
  face.CharSet = kSymbolCharSet;
  face.FirstChar = first;
  face.LastChar = last;
  face.DefaultChar = 0x20;
  face.Glyphs.assign(last - first + 1u, BitmapGlyph{kCellWidth, std::vector<std::uint32_t>(kCellHeight, 0)});
  return face;
}

}  // namespace

BitmapFace TextFace(const GlyphSource& source) {
  std::uint8_t last = source.Glyphs.empty() ? 0x20 : std::max<std::uint8_t>(0x20, source.Glyphs.rbegin()->first);
  BitmapFace face = EmptyFace(kTextFaceName, 0x20, last);
  for (const auto& [code, glyph] : source.Glyphs) {
    if (code >= face.FirstChar) face.Glyphs[code - face.FirstChar] = glyph;
  }
  return face;
}

BitmapFace MosaicFace(bool separated) {
  BitmapFace face = EmptyFace(separated ? kSeparatedFaceName : kMosaicFaceName, 0x20, 0x5F);
  for (unsigned position = face.FirstChar; position <= face.LastChar; ++position) {
    face.Glyphs[position - face.FirstChar] = MosaicGlyph(MosaicCodeAt(static_cast<std::uint8_t>(position)), separated);
  }
  return face;
}

std::vector<BitmapFace> TeletextFaces(const GlyphSource& source) {
  std::vector<BitmapFace> faces;
  faces.push_back(TextFace(source));
  faces.push_back(MosaicFace(false));
  faces.push_back(MosaicFace(true));
  return faces;
}

}  // namespace tolv::fonts
