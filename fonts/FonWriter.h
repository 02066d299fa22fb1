// Writes a classic Windows font file: a 16-bit NE module whose resources are one font directory
// and one FNT version 2 raster font per face, the form AddFontResourceA loads.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "faces/BitmapFace.h"

namespace tolv::fonts {

// The faces must be well formed: glyph widths up to kMaxGlyphWidth, PixelHeight rows each,
// one glyph per position FirstChar..LastChar.
std::vector<std::uint8_t> WriteFonFile(const std::vector<BitmapFace>& faces, std::string_view moduleName);

}  // namespace tolv::fonts
