#include "fonts/TeletextFaces.h"

#include "fonts/MosaicGlyphs.h"

namespace tolv::fonts {
namespace {

// Every byte has a glyph of its own, blank where nothing is drawn: GDI then has no missing
// character to substitute, and shows exactly what the raster canvas shows.
BitmapFace BlankFace(const char* name) {
  BitmapFace face;
  face.Name = name;
  face.PixelHeight = kCellHeight;
  face.PixelWidth = kCellWidth;
  face.Ascent = kAscent;
  face.CharSet = kSymbolCharSet;
  face.FirstChar = 0x00;
  face.LastChar = 0xFF;
  face.DefaultChar = 0x20;
  face.Glyphs.assign(256, BitmapGlyph{kCellWidth, std::vector<std::uint32_t>(kCellHeight, 0)});
  return face;
}

}  // namespace

BitmapFace TextFace(const GlyphSource& source) {
  BitmapFace face = BlankFace(kTextFaceName);
  for (const auto& [code, glyph] : source.Glyphs) face.Glyphs[code] = glyph;
  return face;
}

BitmapFace MosaicFace(bool separated) {
  BitmapFace face = BlankFace(separated ? kSeparatedFaceName : kMosaicFaceName);
  for (unsigned position = kFirstMosaicPosition; position <= kLastMosaicPosition; ++position) {
    face.Glyphs[position] = MosaicGlyph(MosaicCodeAt(static_cast<std::uint8_t>(position)), separated);
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
