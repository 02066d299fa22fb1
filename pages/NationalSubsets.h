// The national option subsets of teletext's Latin G0 set (the Western and Central European
// group of ETS 300 706): for each page's character set, the thirteen codes it replaces, each with
// the position of its glyph in the text face and its Unicode character.
#pragma once

#include <array>
#include <cstdint>

namespace tolv {

// A character as drawn (its position in the text face VTTEXT) and as text.
struct SubsetCharacter {
  std::uint8_t FacePosition;
  char32_t Unicode;
};

// The thirteen codes that a national option replaces, in code order.
inline constexpr std::array<std::uint8_t, 13> kNationalCodes = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E,
                                                                0x5F, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};

// The character sets by the page's national option bits C12 C13 C14. Set 7 has no subset in
// the group: it shows the basic set as it stands (# $ @ [ \ ] ^ _ ` { | } ~).
inline constexpr std::uint8_t kCharSetEnglish = 0;
inline constexpr std::uint8_t kCharSetGerman = 1;
inline constexpr std::uint8_t kCharSetFrench = 4;
inline constexpr std::uint8_t kCharSetBasic = 7;
inline constexpr std::uint8_t kCharSetCount = 8;

// The character that text code ch (0x20..0x7F) stands for in charSet. A selector outside
// 0..7 reads as German, whose letters stand at their own codes in the face.
SubsetCharacter TextCharacter(std::uint8_t charSet, std::uint8_t ch);

// The Unicode character that the text face draws at position (the inverse of TextCharacter:
// every position holds one character); U+FFFD for a position no character set uses.
char32_t TextFaceCharacter(std::uint8_t position);

}  // namespace tolv
