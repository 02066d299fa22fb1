// Reads the pixel-art glyph source of the text face.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "faces/BitmapFace.h"

namespace tolv::fonts {

inline constexpr unsigned kCellWidth = 14;
inline constexpr unsigned kCellHeight = 15;

struct GlyphSource {
  std::map<std::uint8_t, BitmapGlyph> Glyphs;  // by character position
  std::string Error;                           // empty when the source was read whole
};

GlyphSource ParseGlyphSource(std::string_view text);
std::optional<std::string> ReadTextFile(const std::string& path);

}  // namespace tolv::fonts
