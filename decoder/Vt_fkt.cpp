#include "decoder/Vt_fkt.h"

#include <cstring>

namespace tolv {

bool DecodeHeader(const std::uint8_t* bytes, std::uint8_t& pageByte, std::uint16_t& subcode, std::uint8_t& control,
                  std::uint8_t& national) {
  std::uint8_t h[8];
  for (int i = 0; i < 8; ++i) {
    h[i] = DecodeHammingByte(bytes[i]);
    if (h[i] == kHammingError) return false;
  }
  pageByte = static_cast<std::uint8_t>(h[0] + 16 * h[1]);
  subcode = static_cast<std::uint16_t>(h[2] + 16 * (h[3] & 7) + 256 * h[4] + 4096 * (h[5] & 3));
  control = static_cast<std::uint8_t>((h[3] >> 3) |             // C4 erase page
                                      ((h[5] >> 2) & 1) << 1 |  // C5 newsflash
                                      ((h[5] >> 3) & 1) << 2 |  // C6 subtitle
                                      (h[6] & 0x0F) << 3 |      // C7..C10
                                      (h[7] & 1) << 7);         // C11 magazine serial
  // C12..C14 arrive least significant first; the option number reads them the other way round.
  national = static_cast<std::uint8_t>(4 * ((h[7] >> 1) & 1) + 2 * ((h[7] >> 2) & 1) + ((h[7] >> 3) & 1));
  return true;
}

std::uint16_t BcdToPage(std::uint8_t pageByte) {
  const unsigned low = pageByte & 0x0F, high = pageByte >> 4;
  if (low > 9 || high > 9) return kNotDecimal;
  return static_cast<std::uint16_t>(10 * high + low);
}

std::uint16_t BcdToSubcode(std::uint16_t subcode) {
  unsigned value = 0;
  for (int shift = 12; shift >= 0; shift -= 4) {
    const unsigned digit = (subcode >> shift) & 0x0F;
    if (digit > 9) return kNotDecimal;
    value = value * 10 + digit;
  }
  return static_cast<std::uint16_t>(value);
}

namespace {

// TextTable for a word of bytes at once: each byte's bits reversed, then its parity bit (now
// bit 7) cleared. The data callback converts every row it receives, so this runs for nearly every
// unit; on a 16-byte vector the compiler uses the SIMD registers where the target has them.
// (The word stays inside the function: a vector passed by value would change the 32-bit ABI.)
template <class Word>
void ConvertBytes(const std::uint8_t* data, std::uint8_t* row) {
  Word x;
  std::memcpy(&x, data, sizeof x);
  x = (x >> 1 & 0x5555555555555555u) | (x & 0x5555555555555555u) << 1;
  x = (x >> 2 & 0x3333333333333333u) | (x & 0x3333333333333333u) << 2;
  x = (x >> 4 & 0x0F0F0F0F0F0F0F0Fu) | (x & 0x0F0F0F0F0F0F0F0Fu) << 4;
  x &= 0x7F7F7F7F7F7F7F7Fu;
  std::memcpy(row, &x, sizeof x);
}

using SixteenBytes = std::uint64_t __attribute__((vector_size(16)));

}  // namespace

void ConvertRow(const std::uint8_t* data, std::uint8_t packet, std::uint8_t* row) {
  static_assert(kRowBytes == 16 + 16 + 8);
  ConvertBytes<SixteenBytes>(data, row);
  ConvertBytes<SixteenBytes>(data + 16, row + 16);
  ConvertBytes<std::uint64_t>(data + 32, row + 32);
  if (packet == 0) std::memset(row, 0x20, 8);
}

}  // namespace tolv
