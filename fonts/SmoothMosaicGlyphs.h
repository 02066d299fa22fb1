// The G3 set of smooth mosaics and line drawing, computed from the geometry of each shape.
#pragma once

#include <cstdint>

#include "faces/BitmapFace.h"

namespace tolv::fonts {

// The glyph of G3 code 0x20..0x7F in the 14 x 15 cell; a code without a shape is blank.
BitmapGlyph SmoothMosaicGlyph(std::uint8_t code);

}  // namespace tolv::fonts
