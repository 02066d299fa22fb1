// The three faces of tolv.fon: teletext text, contiguous mosaics and separated mosaics.
#pragma once

#include <vector>

#include "faces/BitmapFace.h"
#include "fonts/GlyphSource.h"

namespace tolv::fonts {

inline constexpr char kTextFaceName[] = "VTTEXT640x480";
inline constexpr char kMosaicFaceName[] = "VTGRAFIK640x480";
inline constexpr char kSeparatedFaceName[] = "VTGERASTERT640x480";

inline constexpr std::uint16_t kAscent = 12;  // capitals stand on pixel row 11

// Each face has a glyph for every byte; positions not drawn are blank.
BitmapFace TextFace(const GlyphSource& source);
BitmapFace MosaicFace(bool separated);
// Text, contiguous, separated: the order of the font resources in the file.
std::vector<BitmapFace> TeletextFaces(const GlyphSource& source);

}  // namespace tolv::fonts
