// The decoded header values that lead every page record.
#pragma once

#include <cstdint>

namespace tolv {

inline constexpr unsigned kMagazines = 8;
inline constexpr unsigned kRows = 24;
inline constexpr unsigned kColumns = 40;
inline constexpr unsigned kPageSlots = 800;
inline constexpr std::uint16_t kNoPage = 901;

// Control bits C4..C11 as DecodeHeader packs them.
enum ControlBit : std::uint8_t {
  kErasePage = 0x01,
  kNewsflash = 0x02,
  kSubtitle = 0x04,
  kSuppressHeader = 0x08,
  kUpdateIndicator = 0x10,
  kInterruptedSequence = 0x20,
  kInhibitDisplay = 0x40,
  kMagazineSerial = 0x80,
};

struct TVtHeader {
  std::uint8_t Magazine = 0;  // 0..7, 0 standing for magazine 8
  std::uint8_t Page = 0;      // 0..99, tens * 10 + units
  std::uint16_t Subcode = 0;  // the four subcode digits as a decimal number
  std::uint8_t Control = 0;   // C4..C11, bit 7 = C11
  std::uint8_t National = 1;  // 4*C12 + 2*C13 + C14
};
static_assert(sizeof(TVtHeader) == 6);

// Internal page number: magazine * 100 + page, so 0..99 are pages 800..899.
constexpr std::uint16_t PageNumber(const TVtHeader& h) {
  return static_cast<std::uint16_t>(h.Magazine * 100u + h.Page);
}

// The number a user types for an internal page number (0..99 -> 800..899).
constexpr unsigned DisplayNumber(unsigned internal) { return internal < 100 ? internal + 800 : internal; }

}  // namespace tolv
