#include "fonts/TeletextFaces.h"

#include "fonts/ComposedGlyphs.h"
#include "fonts/MosaicGlyphs.h"
#include "fonts/SmoothMosaicGlyphs.h"
#include "pages/NationalSubsets.h"
#include "pages/SupplementarySets.h"

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

// The text face's drawing of a Unicode character, if it has one.
const BitmapGlyph* TextFaceGlyph(const GlyphSource& text, char32_t character) {
  for (const auto& [position, glyph] : text.Glyphs) {
    if (TextFaceCharacter(position) == character) return &glyph;
  }
  return nullptr;
}

constexpr std::uint8_t kFirstMark = 0x41;  // G2 0x41..0x4F: marks 1..15

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

BitmapFace AccentsFace(const GlyphSource& text) {
  BitmapFace face = BlankFace(kAccentsFaceName);
  for (unsigned i = 0; i < kComposedLetters.size(); ++i) {
    const ComposedLetter& letter = kComposedLetters[i];
    BitmapGlyph& glyph = face.Glyphs[kFirstAccentPosition + i];
    if (const BitmapGlyph* own = TextFaceGlyph(text, letter.Unicode)) {
      glyph = *own;  // the same letter looks the same whichever way it came
    } else if (auto base = text.Glyphs.find(static_cast<std::uint8_t>(letter.Base)); base != text.Glyphs.end()) {
      glyph = ComposeLetter(base->second, letter.Base, letter.Mark);
    }
  }
  return face;
}

BitmapFace SupplementaryFace(const GlyphSource& text, const GlyphSource& supplementary) {
  BitmapFace face = BlankFace(kSupplementaryFaceName);
  for (unsigned code = 0x20; code < 0x80; ++code) {
    const auto c = static_cast<std::uint8_t>(code);
    BitmapGlyph& glyph = face.Glyphs[code];
    if (auto drawn = supplementary.Glyphs.find(c); drawn != supplementary.Glyphs.end()) {
      glyph = drawn->second;
    } else if (code >= kFirstMark && code < kFirstMark + 15) {
      glyph = MarkGlyph(static_cast<std::uint8_t>(code - kFirstMark + 1));
    } else if (const BitmapGlyph* own = TextFaceGlyph(text, LatinG2Character(c))) {
      glyph = *own;
    }
    face.Glyphs[code + kG3FaceOffset] = SmoothMosaicGlyph(c);
  }
  return face;
}

std::vector<BitmapFace> TeletextFaces(const GlyphSource& text, const GlyphSource& supplementary) {
  std::vector<BitmapFace> faces;
  faces.push_back(TextFace(text));
  faces.push_back(MosaicFace(false));
  faces.push_back(MosaicFace(true));
  faces.push_back(AccentsFace(text));
  faces.push_back(SupplementaryFace(text, supplementary));
  return faces;
}

}  // namespace tolv::fonts
