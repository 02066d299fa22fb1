#include "pages/Enhancements.h"

#include <new>

namespace tolv {
namespace {

// Row address group (addresses 40..63) modes.
constexpr std::uint8_t kFullRowColour = 0x01;
constexpr std::uint8_t kSetActivePosition = 0x04;
constexpr std::uint8_t kAddressRowZero = 0x07;
constexpr std::uint8_t kTermination = 0x1F;
// Column address group (addresses 0..39) modes that place a character.
constexpr std::uint8_t kG3Character = 0x02;
constexpr std::uint8_t kG2Character = 0x0F;
constexpr std::uint8_t kG0Character = 0x10;  // 0x10..0x1F: diacritical mark 0..15

constexpr std::uint8_t kFirstRowAddress = 40;
constexpr std::uint8_t kRowZeroAddress = 63;
constexpr std::uint8_t kDroppedRow = 24;  // address 40: row 24, which is not kept
constexpr std::uint8_t kAtSignData = 0x2A;

}  // namespace

std::uint32_t PageEnhancements::Packet::Triplet(unsigned index) const {
  const std::uint8_t* bytes = &Triplets[3 * index];
  if (bytes[0] == 0xFF && bytes[1] == 0xFF && bytes[2] == 0xFF) return kTripletRejected;
  return bytes[0] | static_cast<std::uint32_t>(bytes[1]) << 8 | static_cast<std::uint32_t>(bytes[2]) << 16;
}

bool PageEnhancements::Add(std::uint8_t designationCode,
                           const std::array<std::uint32_t, kTripletsPerPacket>& triplets) {
  if (Count >= Packets.size()) return false;
  Packet& packet = Packets[Count++];
  packet.DesignationCode = designationCode;
  for (unsigned t = 0; t < kTripletsPerPacket; ++t) {
    const std::uint32_t value = triplets[t] == kTripletRejected ? 0xFFFFFF : triplets[t] & 0x3FFFF;
    for (unsigned b = 0; b < 3; ++b) packet.Triplets[3 * t + b] = static_cast<std::uint8_t>(value >> (8 * b));
  }
  return true;
}

std::unique_ptr<PageEnhancements> CopyEnhancements(const PageEnhancements* source) {
  if (source == nullptr) return nullptr;
  std::unique_ptr<PageEnhancements> copy(new (std::nothrow) PageEnhancements(*source));
  return copy;
}

namespace detail {

bool ReadTriplet(std::uint32_t triplet, std::uint8_t& activeRow, std::uint8_t& activeColumn, bool& placed,
                 Placement& placement) {
  // A triplet that could not be corrected would misplace everything after it.
  if (triplet == kTripletRejected) return false;
  const auto address = static_cast<std::uint8_t>(triplet & 0x3F);
  const auto mode = static_cast<std::uint8_t>((triplet >> 6) & 0x1F);
  const auto data = static_cast<std::uint8_t>((triplet >> 11) & 0x7F);

  if (address >= kFirstRowAddress) {
    switch (mode) {
      case kTermination: return false;
      case kSetActivePosition:
      case kFullRowColour:  // its colour is a Level 2.5 attribute; only the position counts here
        activeRow = address == kFirstRowAddress ? kDroppedRow : static_cast<std::uint8_t>(address - kFirstRowAddress);
        activeColumn = mode == kSetActivePosition && data < 40 ? data : 0;
        return true;
      case kAddressRowZero:
        if (address == kRowZeroAddress) {
          activeRow = 0;
          activeColumn = 0;
        }
        return true;
      default: return true;  // other row modes are Level 2.5 and leave the position alone
    }
  }
  activeColumn = address;
  std::uint8_t charSet = 0;
  std::uint8_t code = data;
  if (mode == kG3Character) {
    charSet = kPlacedG3;
  } else if (mode == kG2Character) {
    charSet = kPlacedG2;
  } else if (mode >= kG0Character) {
    charSet = static_cast<std::uint8_t>(kPlacedG0 + (mode - kG0Character));
    if (mode == kG0Character && data == kAtSignData) code = 0x40;  // the basic set's '@'
  } else {
    return true;  // Level 2.5 column attributes
  }
  if (code < 0x20 || activeRow >= kDroppedRow) return true;
  placement = {activeRow, activeColumn, charSet, code};
  placed = true;
  return true;
}

}  // namespace detail
}  // namespace tolv
