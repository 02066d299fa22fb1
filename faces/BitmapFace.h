// A raster font face as a Windows FNT resource describes it: one bitmap per character position,
// each row a bit pattern with the leftmost pixel in the highest bit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolv {

inline constexpr unsigned kMaxGlyphWidth = 32;  // a glyph row fits one 32-bit word

struct BitmapGlyph {
  std::uint8_t Width = 0;
  std::vector<std::uint32_t> Rows;  // PixelHeight rows; bit 31 is the leftmost pixel

  bool PixelSet(unsigned x, unsigned y) const {
    return x < Width && y < Rows.size() && (Rows[y] & (0x80000000u >> x)) != 0;
  }
  friend bool operator==(const BitmapGlyph&, const BitmapGlyph&) = default;
};

inline constexpr std::uint8_t kSymbolCharSet = 2;  // bytes map to glyphs one to one

struct BitmapFace {
  std::string Name;
  std::uint16_t PixelHeight = 0;
  std::uint16_t PixelWidth = 0;  // 0 for a face of variable pitch
  std::uint16_t Ascent = 0;
  std::uint8_t CharSet = kSymbolCharSet;
  std::uint8_t FirstChar = 0;
  std::uint8_t LastChar = 0;
  std::uint8_t DefaultChar = 0;     // shown for codes outside FirstChar..LastChar
  std::vector<BitmapGlyph> Glyphs;  // FirstChar..LastChar

  const BitmapGlyph& GlyphFor(std::uint8_t code) const {
    std::uint8_t c = (code >= FirstChar && code <= LastChar) ? code : DefaultChar;
    return Glyphs[static_cast<unsigned>(c - FirstChar)];
  }
  friend bool operator==(const BitmapFace&, const BitmapFace&) = default;
};

}  // namespace tolv
