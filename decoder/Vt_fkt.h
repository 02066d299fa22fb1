// Decoding of EBU teletext data units as DVB carries them (EN 300 472, ETS 300 706):
// acceptance of a 46-byte unit, Hamming 8/4 packet addresses and page headers,
// BCD page numbers and subcodes, and the conversion of a display row to 7-bit characters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "pages/Enhancements.h"

namespace tolv {

inline constexpr std::size_t kDataUnitSize = 46;
// The fields of a data unit, in order: data_unit_id, data_unit_length (the 44 bytes after it),
// field parity and line offset, framing code, the packet address (two Hamming 8/4 bytes), and
// the packet's 40 data bytes.
inline constexpr std::size_t kUnitIdAt = 0;
inline constexpr std::size_t kUnitLengthAt = 1;
inline constexpr std::size_t kFieldAndLineAt = 2;
inline constexpr std::size_t kFramingCodeAt = 3;
inline constexpr std::size_t kPacketAddressAt = 4;
inline constexpr std::size_t kPacketDataAt = 6;
inline constexpr std::uint8_t kUnitIdNonSubtitle = 0x02;  // EBU teletext non-subtitle data
inline constexpr std::uint8_t kUnitIdSubtitle = 0x03;     // EBU teletext subtitle data
inline constexpr std::uint8_t kUnitLength = kDataUnitSize - 2;
inline constexpr std::uint8_t kFramingCode = 0xE4;
inline constexpr std::size_t kRowBytes = 40;
inline constexpr std::uint8_t kHammingError = 255;
inline constexpr std::uint16_t kNotDecimal = 0xFFFF;

using ByteTable = std::array<std::uint8_t, 256>;

namespace detail {

constexpr ByteTable MakeReverseTable() {
  ByteTable t{};
  for (unsigned b = 0; b < 256; ++b) {
    unsigned r = 0;
    for (unsigned bit = 0; bit < 8; ++bit) {
      if (b & (1u << bit)) r |= 0x80u >> bit;
    }
    t[b] = static_cast<std::uint8_t>(r);
  }
  return t;
}

// The 16 Hamming 8/4 code bytes in transmission order, bit 0 first: P1 D1 P2 D2 P3 D3 P4 D4.
// Each parity bit makes its group odd (ETS 300 706 section 8.2).
constexpr std::uint8_t EncodeHamming84(unsigned value) {
  const unsigned d1 = value & 1, d2 = (value >> 1) & 1, d3 = (value >> 2) & 1, d4 = (value >> 3) & 1;
  const unsigned p1 = 1 ^ d1 ^ d3 ^ d4;
  const unsigned p2 = 1 ^ d1 ^ d2 ^ d4;
  const unsigned p3 = 1 ^ d1 ^ d2 ^ d3;
  const unsigned p4 = 1 ^ p1 ^ d1 ^ p2 ^ d2 ^ p3 ^ d3 ^ d4;
  return static_cast<std::uint8_t>(p1 | d1 << 1 | p2 << 2 | d2 << 3 | p3 << 4 | d3 << 5 | p4 << 6 | d4 << 7);
}

// A code byte decodes to its value, and so does every byte one bit away from it (the error
// corrected); every other byte is two or more bits from all codes and decodes to the error mark.
constexpr ByteTable MakeHammingTable() {
  ByteTable t{};
  for (auto& v : t) v = kHammingError;
  for (unsigned value = 0; value < 16; ++value) {
    const std::uint8_t code = EncodeHamming84(value);
    t[code] = static_cast<std::uint8_t>(value);
    for (unsigned bit = 0; bit < 8; ++bit) t[code ^ (1u << bit)] = static_cast<std::uint8_t>(value);
  }
  return t;
}

// Text bytes lose their parity bit unchecked: a character with bad parity is shown as it came.
constexpr ByteTable MakeTextTable() {
  ByteTable t = MakeReverseTable();
  for (auto& v : t) v &= 0x7F;
  return t;
}

}  // namespace detail

inline constexpr ByteTable ReverseTable = detail::MakeReverseTable();
inline constexpr ByteTable HammingTable = detail::MakeHammingTable();
inline constexpr ByteTable TextTable = detail::MakeTextTable();

namespace detail {
constexpr ByteTable MakeWireHammingTable() {
  ByteTable t{};
  for (unsigned b = 0; b < 256; ++b) t[b] = HammingTable[ReverseTable[b]];
  return t;
}
}  // namespace detail

// HammingTable of the reversed byte, in one look-up: the data callback decodes two to ten such
// bytes in every unit.
inline constexpr ByteTable WireHammingTable = detail::MakeWireHammingTable();

// A Hamming-coded byte as it arrives (bit order reversed): 0..15, or 255 when uncorrectable.
constexpr std::uint8_t DecodeHammingByte(std::uint8_t b) { return WireHammingTable[b]; }

// The first four bytes of a unit and its address, tested in this order: data_unit_id 0x02 or
// 0x03, length 0x2C, line offset 0 or 7..22, framing code 0xE4, a decodable address.
inline bool AcceptDataUnit(const std::uint8_t* unit) {
  if (unit[kUnitIdAt] != kUnitIdNonSubtitle && unit[kUnitIdAt] != kUnitIdSubtitle) return false;
  if (unit[kUnitLengthAt] != kUnitLength) return false;
  const unsigned lineOffset = unit[kFieldAndLineAt] & 0x1Fu;
  if (lineOffset != 0 && (lineOffset < 7 || lineOffset > 22)) return false;
  return unit[kFramingCodeAt] == kFramingCode;
}

// Two address bytes -> magazine 0..7 (0 = magazine 8) and packet 0..31; outputs untouched on failure.
inline bool DecodeAddress(const std::uint8_t* bytes, std::uint8_t& magazine, std::uint8_t& packet) {
  const std::uint8_t a = DecodeHammingByte(bytes[0]);
  const std::uint8_t b = DecodeHammingByte(bytes[1]);
  if (a == kHammingError || b == kHammingError) return false;
  magazine = a & 7;
  packet = static_cast<std::uint8_t>((a >> 3) + 2 * b);
  return true;
}

// The first eight bytes of a header's data block; outputs untouched on failure.
bool DecodeHeader(const std::uint8_t* bytes, std::uint8_t& pageByte, std::uint16_t& subcode, std::uint8_t& control,
                  std::uint8_t& national);

// Hamming 24/18 (ETS 300 706 section 8.3): 18 data bits D1..D18 in a triplet of bits B1..B24,
// parity bits at B1, B2, B4, B8 and B16 (each makes the bits whose position has its bit set odd)
// and B24 making all 24 odd. Value bit k-1 is Dk.
inline constexpr std::array<std::uint8_t, 18> kTripletDataPositions = {3,  5,  6,  7,  9,  10, 11, 12, 13,
                                                                       14, 15, 17, 18, 19, 20, 21, 22, 23};

namespace detail {

// The parity of each check over one received byte of a triplet (byte 0..2, bits as they arrive):
// bit c (0..4) the parity of the positions check c covers, bit 5 that of all the byte's bits. The
// checks are linear, so a triplet's parities are the exclusive or of its three bytes' entries.
using TripletParityTables = std::array<ByteTable, 3>;
constexpr TripletParityTables MakeTripletParityTables() {
  TripletParityTables tables{};
  for (unsigned byte = 0; byte < 3; ++byte) {
    for (unsigned b = 0; b < 256; ++b) {
      const unsigned word = static_cast<unsigned>(ReverseTable[b]) << (8 * byte);
      unsigned parities = 0;
      for (unsigned position = 1; position <= 24; ++position) {
        if (((word >> (position - 1)) & 1u) == 0) continue;
        for (unsigned check = 0; check < 5; ++check) {
          if (position <= 23 && (position & (1u << check)) != 0) parities ^= 1u << check;
        }
        parities ^= 1u << 5;
      }
      tables[byte][b] = static_cast<std::uint8_t>(parities);
    }
  }
  return tables;
}

}  // namespace detail

inline constexpr detail::TripletParityTables TripletParity = detail::MakeTripletParityTables();

// The three bytes of a triplet as they arrive (each byte's bits reversed, B1 in the first byte's
// top bit): the 18-bit value with a single bit error corrected, or kTripletRejected for two errors.
// Packets 26 carry thirteen of them, so the checks come from tables, not bit by bit.
constexpr std::uint32_t DecodeHamming2418(const std::uint8_t* bytes) {
  const unsigned parities = TripletParity[0][bytes[0]] ^ TripletParity[1][bytes[1]] ^ TripletParity[2][bytes[2]];
  const unsigned syndrome = ~parities & 0x1Fu;  // a check that is even names a wrong position
  std::uint32_t word = ReverseTable[bytes[0]] | ReverseTable[bytes[1]] << 8 | ReverseTable[bytes[2]] << 16;
  if ((parities & 0x20u) == 0) {
    // One bit wrong: the syndrome names it (0: B24 itself); beyond B23 it was more than one.
    if (syndrome > 23) return kTripletRejected;
    if (syndrome != 0) word ^= 1u << (syndrome - 1);
  } else if (syndrome != 0) {
    return kTripletRejected;  // the whole is odd but a group is not: two bits wrong
  }
  // D1 at B3, D2..D4 at B5..B7, D5..D11 at B9..B15, D12..D18 at B17..B23.
  return ((word >> 2) & 1u) | ((word >> 4) & 0x7u) << 1 | ((word >> 8) & 0x7Fu) << 4 | ((word >> 16) & 0x7Fu) << 11;
}

// The wire bytes of an 18-bit value (for the demo stream and tests).
constexpr std::array<std::uint8_t, 3> EncodeHamming2418(std::uint32_t value) {
  std::uint32_t word = 0;
  for (unsigned k = 0; k < kTripletDataPositions.size(); ++k)
    word |= ((value >> k) & 1u) << (kTripletDataPositions[k] - 1);
  for (unsigned check = 0; check < 5; ++check) {
    unsigned parity = 0;
    for (unsigned position = 1; position <= 23; ++position) {
      if (position & (1u << check)) parity ^= (word >> (position - 1)) & 1u;
    }
    if (parity == 0) word |= 1u << ((1u << check) - 1);
  }
  unsigned all = 0;
  for (unsigned position = 1; position <= 23; ++position) all ^= (word >> (position - 1)) & 1u;
  if (all == 0) word |= 1u << 23;
  return {ReverseTable[word & 0xFF], ReverseTable[(word >> 8) & 0xFF], ReverseTable[(word >> 16) & 0xFF]};
}

// Two BCD digits -> 0..99, or kNotDecimal when a digit is above 9.
std::uint16_t BcdToPage(std::uint8_t pageByte);

// Four BCD digits -> 0..9999, or kNotDecimal when a digit is above 9.
std::uint16_t BcdToSubcode(std::uint16_t subcode);

// The 40 data bytes of packet p as 7-bit characters; the header row (p = 0) keeps columns 0..7
// blank, where the page number, subcode and control bits were coded.
void ConvertRow(const std::uint8_t* data, std::uint8_t packet, std::uint8_t* row);

}  // namespace tolv
