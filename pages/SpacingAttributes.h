// The spacing attributes of a teletext row: the control codes 0x00-0x1F, named after the
// teletext standard's terms. Each shows as a space (or the held mosaic) in its own cell.
#pragma once

#include <cstdint>

namespace tolv::spacing {

inline constexpr std::uint8_t kAlphaBlack = 0x00;  // alphanumerics in colour 0..7: black ..
inline constexpr std::uint8_t kAlphaWhite = 0x07;  // .. white
inline constexpr std::uint8_t kFlash = 0x08;
inline constexpr std::uint8_t kSteady = 0x09;
inline constexpr std::uint8_t kEndBox = 0x0A;
inline constexpr std::uint8_t kStartBox = 0x0B;
inline constexpr std::uint8_t kNormalSize = 0x0C;
inline constexpr std::uint8_t kDoubleHeight = 0x0D;
inline constexpr std::uint8_t kDoubleWidth = 0x0E;
inline constexpr std::uint8_t kDoubleSize = 0x0F;
inline constexpr std::uint8_t kMosaicBlack = 0x10;  // mosaics in colour 0..7: black ..
inline constexpr std::uint8_t kMosaicWhite = 0x17;  // .. white
inline constexpr std::uint8_t kConcealDisplay = 0x18;
inline constexpr std::uint8_t kContiguousMosaics = 0x19;
inline constexpr std::uint8_t kSeparatedMosaics = 0x1A;
inline constexpr std::uint8_t kEscape = 0x1B;
inline constexpr std::uint8_t kBlackBackground = 0x1C;
inline constexpr std::uint8_t kNewBackground = 0x1D;
inline constexpr std::uint8_t kHoldMosaics = 0x1E;
inline constexpr std::uint8_t kReleaseMosaics = 0x1F;
// The first code that is a character, not an attribute.
inline constexpr std::uint8_t kFirstCharacter = 0x20;

// The colour (0..7) an alphanumeric or mosaic colour code selects.
constexpr unsigned ColourOfCode(std::uint8_t code) { return code & 7u; }

}  // namespace tolv::spacing
