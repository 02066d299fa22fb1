// Builds data units the way a broadcaster's multiplexer does, from first principles (Hamming 8/4
// code bytes as the teletext standard lists them, odd parity, bit order reversed on the wire). The
// demo stream is made with it, and tests use it so they never depend on the decoder's own tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tolv::encode {

// The 16 Hamming 8/4 code bytes in transmission order, index = value.
inline constexpr std::array<std::uint8_t, 16> kHammingCodes = {0x15, 0x02, 0x49, 0x5E, 0x64, 0x73, 0x38, 0x2F,
                                                               0xD0, 0xC7, 0x8C, 0x9B, 0xA1, 0xB6, 0xFD, 0xEA};

inline std::uint8_t Reverse(std::uint8_t b) {
  std::uint8_t r = 0;
  for (int i = 0; i < 8; ++i) r = static_cast<std::uint8_t>((r << 1) | ((b >> i) & 1));
  return r;
}

// A 7-bit character with its odd parity bit, in transmission order.
inline std::uint8_t WithParity(std::uint8_t ch) {
  int ones = 0;
  for (int i = 0; i < 7; ++i) ones += (ch >> i) & 1;
  return static_cast<std::uint8_t>((ch & 0x7F) | ((ones % 2 == 0) ? 0x80 : 0));
}

// Wire bytes (bit-reversed) of a Hamming-coded nibble and of a text character.
inline std::uint8_t WireHamming(unsigned value) { return Reverse(kHammingCodes[value & 15]); }
inline std::uint8_t WireText(std::uint8_t ch) { return Reverse(WithParity(ch)); }

using Unit = std::array<std::uint8_t, 46>;

// magazine 1..8 (8 is sent as 0), packet 0..31; data are the 40 wire bytes of the data block.
// lineByte: reserved bits, field parity (bit 5) and line offset (bits 0..4).
inline Unit MakeUnit(unsigned magazine, unsigned packet, const std::array<std::uint8_t, 40>& data,
                     std::uint8_t unitId = 0x02, std::uint8_t lineByte = 0xC0 | 10) {
  Unit u{};
  u[0] = unitId;
  u[1] = 0x2C;
  u[2] = lineByte;
  u[3] = 0xE4;
  u[4] = WireHamming((magazine & 7) | ((packet & 1) << 3));
  u[5] = WireHamming(packet >> 1);
  for (int i = 0; i < 40; ++i) u[6 + i] = data[i];
  return u;
}

// A display row of text, padded with spaces.
inline Unit RowUnit(unsigned magazine, unsigned packet, const std::string& text) {
  std::array<std::uint8_t, 40> data{};
  for (int i = 0; i < 40; ++i) data[i] = WireText(i < static_cast<int>(text.size()) ? text[i] : ' ');
  return MakeUnit(magazine, packet, data);
}

struct HeaderFields {
  unsigned pageTens = 0, pageUnits = 0;     // hexadecimal digits allowed
  unsigned s1 = 0, s2 = 0, s3 = 0, s4 = 0;  // subcode digits, S1 least significant
  bool c4 = false, c5 = false, c6 = false, c11 = false;
  unsigned c7to10 = 0;    // C7 in bit 0 .. C10 in bit 3
  unsigned national = 0;  // 4*C12 + 2*C13 + C14
};

inline std::array<std::uint8_t, 40> HeaderData(const HeaderFields& f, const std::string& text) {
  std::array<std::uint8_t, 40> d{};
  d[0] = WireHamming(f.pageUnits);
  d[1] = WireHamming(f.pageTens);
  d[2] = WireHamming(f.s1);
  d[3] = WireHamming((f.s2 & 7) | (f.c4 ? 8 : 0));
  d[4] = WireHamming(f.s3);
  d[5] = WireHamming((f.s4 & 3) | (f.c5 ? 4 : 0) | (f.c6 ? 8 : 0));
  d[6] = WireHamming(f.c7to10);
  const unsigned c12 = (f.national >> 2) & 1, c13 = (f.national >> 1) & 1, c14 = f.national & 1;
  d[7] = WireHamming((f.c11 ? 1 : 0) | c12 << 1 | c13 << 2 | c14 << 3);
  for (int i = 8; i < 40; ++i) d[i] = WireText(i - 8 < static_cast<int>(text.size()) ? text[i - 8] : ' ');
  return d;
}

// A header of page pageNumber (100..899, decimal) with a decimal subcode 0..3979.
inline Unit HeaderUnit(unsigned pageNumber, unsigned subcode = 0, bool serial = false,
                       const std::string& text = "HEADER") {
  HeaderFields f;
  f.pageTens = (pageNumber / 10) % 10;
  f.pageUnits = pageNumber % 10;
  f.s1 = subcode % 10;
  f.s2 = (subcode / 10) % 10;
  f.s3 = (subcode / 100) % 10;
  f.s4 = (subcode / 1000) % 10;
  f.c11 = serial;
  return MakeUnit(pageNumber / 100, 0, HeaderData(f, text));
}

inline std::vector<std::uint8_t> Join(std::initializer_list<Unit> units) {
  std::vector<std::uint8_t> out;
  for (const Unit& u : units) out.insert(out.end(), u.begin(), u.end());
  return out;
}

}  // namespace tolv::encode
