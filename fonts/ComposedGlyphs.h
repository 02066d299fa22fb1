// Letters with diacritical marks, composed from the text face's letters and the marks drawn
// here: the faces of the characters that packets X/26 place.
#pragma once

#include <cstdint>

#include "faces/BitmapFace.h"

namespace tolv::fonts {

// Diacritical mark 1..15 by itself, where it stands over a small letter (the G2 set's column 4).
BitmapGlyph MarkGlyph(std::uint8_t mark);

// base (the text face's glyph of the basic letter baseLetter) with mark 1..15: a capital is
// shortened by two rows to make room above it, a mark below goes under the letter.
BitmapGlyph ComposeLetter(const BitmapGlyph& base, char baseLetter, std::uint8_t mark);

}  // namespace tolv::fonts
