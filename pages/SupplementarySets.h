// The characters that packets X/26 place beyond the page's national subset: the Latin G2
// supplementary set, the G3 smooth mosaics and line drawing set, and the basic G0 letters with
// one of fifteen diacritical marks; each as text and as a glyph of one of the faces.
#pragma once

#include <array>
#include <cstdint>

#include "pages/VtCell.h"

namespace tolv {

// The faces of tolv.fon a cell can be drawn from.
enum class Face : std::uint8_t { Text, Mosaic, Separated, Accents, Supplementary };

struct FaceGlyph {
  Face face;
  std::uint8_t position;
};

// Codes 0x20..0x7F of the two sets as Unicode; the G3 characters as the nearest block element,
// legacy computing or box-drawing character; a code without a character is a space.
char32_t LatinG2Character(std::uint8_t code);
char32_t G3Character(std::uint8_t code);
// The combining character of diacritical mark 1..15 (0 for none).
char32_t CombiningMark(std::uint8_t mark);

// The letters with a diacritical mark that Unicode composes (U+00C0..U+024F), in code order;
// the accents face holds letter i at position 0x20 + i.
struct ComposedLetter {
  std::uint8_t Mark;
  char Base;
  char32_t Unicode;
};
inline constexpr unsigned kComposedLetterCount = 190;
extern const std::array<ComposedLetter, kComposedLetterCount> kComposedLetters;
inline constexpr std::uint8_t kFirstAccentPosition = 0x20;
// The supplementary face holds G2 at its own codes and G3 at code + 0x80.
inline constexpr std::uint8_t kG3FaceOffset = 0x80;

// A placed character (a display cell whose character set is a placed one) as text: one
// character, or a base letter and its combining mark (second 0 when there is none).
std::array<char32_t, 2> PlacedCharacterText(std::uint8_t charSet, std::uint8_t code);

// Where a display cell's glyph stands: its face and position.
FaceGlyph GlyphOfCell(const TVtCell& displayCell);

}  // namespace tolv
