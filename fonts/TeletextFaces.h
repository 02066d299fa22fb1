// The faces of tolv.fon: teletext text, contiguous mosaics and separated mosaics, and for the
// characters that packets X/26 place, accented letters and the supplementary sets G2 and G3.
#pragma once

#include <vector>

#include "faces/BitmapFace.h"
#include "fonts/GlyphSource.h"

namespace tolv::fonts {

inline constexpr char kTextFaceName[] = "VTTEXT640x480";
inline constexpr char kMosaicFaceName[] = "VTGRAFIK640x480";
inline constexpr char kSeparatedFaceName[] = "VTGERASTERT640x480";
inline constexpr char kAccentsFaceName[] = "VTAKZENT640x480";
inline constexpr char kSupplementaryFaceName[] = "VTZUSATZ640x480";

inline constexpr std::uint16_t kAscent = 12;  // capitals stand on pixel row 11

// Each face has a glyph for every byte; positions not drawn are blank.
BitmapFace TextFace(const GlyphSource& source);
BitmapFace MosaicFace(bool separated);
// The letters of pages/SupplementarySets.h's kComposedLetters from position 0x20 on: the text
// face's own drawing where it has the letter, else its basic letter with the mark composed.
BitmapFace AccentsFace(const GlyphSource& text);
// Latin G2 at its codes (drawn in supplementary, else the text face's drawing of the same
// character, the marks of column 4 drawn by themselves), G3 at its codes + 0x80.
BitmapFace SupplementaryFace(const GlyphSource& text, const GlyphSource& supplementary);
// Text, contiguous, separated, accents, supplementary: the order of the font resources.
std::vector<BitmapFace> TeletextFaces(const GlyphSource& text, const GlyphSource& supplementary);

}  // namespace tolv::fonts
