// A page's Level 1.5 enhancements: the triplets of its packets X/26, kept as received, and their
// reading into characters placed at row and column positions.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace tolv {

inline constexpr unsigned kTripletsPerPacket = 13;
inline constexpr unsigned kEnhancementPackets = 16;  // designation codes 0..15
// A triplet whose Hamming 24/18 code had two bit errors.
inline constexpr std::uint32_t kTripletRejected = 0xFFFFFFFF;

// Which set a placed character comes from; a cell holding one carries it as its character set
// selector (above the national options 0..7), its code as its character.
inline constexpr std::uint8_t kPlacedG0 = 0x10;  // 0x10 + diacritical mark 0..15, basic G0 code
inline constexpr std::uint8_t kPlacedG2 = 0x20;  // Latin G2 supplementary set
inline constexpr std::uint8_t kPlacedG3 = 0x21;  // smooth mosaics and line drawing
constexpr bool IsPlacedCharSet(std::uint8_t charSet) { return charSet >= kPlacedG0 && charSet <= kPlacedG3; }

struct Placement {
  std::uint8_t Row;      // 0..23
  std::uint8_t Column;   // 0..39
  std::uint8_t CharSet;  // kPlacedG0 + mark, kPlacedG2, kPlacedG3
  std::uint8_t Code;     // 0x20..0x7F
};

// The packets X/26 of one transmission in the order they came: at most one per designation
// code; a page without them holds none of this (a null pointer in the record).
struct PageEnhancements {
  struct Packet {
    std::uint8_t DesignationCode = 0;
    // Triplets 1..13, each as its 18 data bits or kTripletRejected, packed into three bytes
    // (the rejected mark is all three bytes 0xFF, which no 18-bit value fills).
    std::array<std::uint8_t, 3 * kTripletsPerPacket> Triplets{};
    std::uint32_t Triplet(unsigned index) const;
  };
  std::array<Packet, kEnhancementPackets> Packets{};
  std::uint8_t Count = 0;
  // Per row, the first column that was rewritten in place (the viewer's live header): a
  // placement from there on no longer applies. 40 = none.
  std::array<std::uint8_t, 24> RewrittenFrom = MakeUnrewritten();

  // Keeps one packet; false (and nothing kept) when all sixteen places are taken.
  bool Add(std::uint8_t designationCode, const std::array<std::uint32_t, kTripletsPerPacket>& triplets);

 private:
  static constexpr std::array<std::uint8_t, 24> MakeUnrewritten() {
    std::array<std::uint8_t, 24> columns{};
    for (auto& c : columns) c = 40;
    return columns;
  }
};

// Reads the triplets in order, from the active position row 0, column 0, and calls place for
// every character they place in rows 0..23. Reading ends at a rejected triplet, at a packet
// whose designation code does not follow the one before it, and at the termination marker.
template <class Place>
void ForEachPlacement(const PageEnhancements& enhancements, Place&& place);

namespace detail {
// One triplet's effect on the active position; returns false when reading ends here, and sets
// placement when the triplet places a character.
bool ReadTriplet(std::uint32_t triplet, std::uint8_t& activeRow, std::uint8_t& activeColumn, bool& placed,
                 Placement& placement);
}  // namespace detail

template <class Place>
void ForEachPlacement(const PageEnhancements& enhancements, Place&& place) {
  std::uint8_t row = 0, column = 0;
  int previousCode = -1;
  for (unsigned p = 0; p < enhancements.Count; ++p) {
    const PageEnhancements::Packet& packet = enhancements.Packets[p];
    if (static_cast<int>(packet.DesignationCode) <= previousCode) return;
    previousCode = packet.DesignationCode;
    for (unsigned t = 0; t < kTripletsPerPacket; ++t) {
      bool placed = false;
      Placement placement{};
      if (!detail::ReadTriplet(packet.Triplet(t), row, column, placed, placement)) return;
      if (placed) place(placement);
    }
  }
}

std::unique_ptr<PageEnhancements> CopyEnhancements(const PageEnhancements* source);

}  // namespace tolv
