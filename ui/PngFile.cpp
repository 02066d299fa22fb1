#include "ui/PngFile.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tolv::ui {
namespace {

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr std::size_t kMaxDistance = 32768;

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                                         33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                                         1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Deflate's bit order: values least significant bit first, Huffman codes most significant first.
class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  void Bits(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1u);
  }
  void Code(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1u);
  }
  void Flush() {
    if (used_ > 0) out_.push_back(current_);
    used_ = 0;
    current_ = 0;
  }

 private:
  void Bit(std::uint32_t bit) {
    current_ = static_cast<std::uint8_t>(current_ | bit << used_);
    if (++used_ == 8) Flush();
  }
  std::vector<std::uint8_t>& out_;
  std::uint8_t current_ = 0;
  int used_ = 0;
};

// The fixed literal/length code of symbol 0..287.
void LiteralOrLength(BitWriter& bits, unsigned symbol) {
  if (symbol < 144) {
    bits.Code(0x30 + symbol, 8);
  } else if (symbol < 256) {
    bits.Code(0x190 + symbol - 144, 9);
  } else if (symbol < 280) {
    bits.Code(symbol - 256, 7);
  } else {
    bits.Code(0xC0 + symbol - 280, 8);
  }
}

void Match(BitWriter& bits, std::size_t length, std::size_t distance) {
  std::size_t l = kLengthBase.size() - 1;
  while (kLengthBase[l] > length) --l;
  LiteralOrLength(bits, static_cast<unsigned>(257 + l));
  bits.Bits(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
  std::size_t d = kDistanceBase.size() - 1;
  while (kDistanceBase[d] > distance) --d;
  bits.Code(static_cast<std::uint32_t>(d), 5);
  bits.Bits(static_cast<std::uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

// One fixed-Huffman block; at each position the longer of the repetitions at the given
// distances, else a literal.
std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> data, std::array<std::size_t, 2> distances) {
  std::vector<std::uint8_t> out;
  BitWriter bits(out);
  bits.Bits(1, 1);  // the last block
  bits.Bits(1, 2);  // fixed Huffman codes
  std::size_t at = 0;
  while (at < data.size()) {
    std::size_t bestLength = 0;
    std::size_t bestDistance = 0;
    for (const std::size_t distance : distances) {
      if (distance == 0 || distance > at || distance > kMaxDistance) continue;
      const std::size_t limit = std::min(kMaxMatch, data.size() - at);
      std::size_t length = 0;
      while (length < limit && data[at + length] == data[at + length - distance]) ++length;
      if (length > bestLength) {
        bestLength = length;
        bestDistance = distance;
      }
    }
    if (bestLength >= kMinMatch) {
      Match(bits, bestLength, bestDistance);
      at += bestLength;
    } else {
      LiteralOrLength(bits, data[at++]);
    }
  }
  LiteralOrLength(bits, 256);  // end of block
  bits.Flush();
  return out;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const std::uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const std::uint8_t byte : bytes) {
    a = (a + byte) % 65521u;
    b = (b + a) % 65521u;
  }
  return b << 16 | a;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Chunk(std::vector<std::uint8_t>& png, std::string_view type, std::span<const std::uint8_t> data) {
  PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = png.size();
  png.insert(png.end(), type.begin(), type.end());
  png.insert(png.end(), data.begin(), data.end());
  PutBigEndian(png, Crc32(std::span(png).subspan(typeAt)));
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const TColor> pixels) {
  if (width <= 0 || height <= 0) return {};
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  if (pixels.size() != w * h) return {};

  // Each row: filter type 0 (none), then red, green, blue of each pixel.
  const std::size_t stride = 1 + 3 * w;
  std::vector<std::uint8_t> raw;
  raw.reserve(stride * h);
  for (std::size_t y = 0; y < h; ++y) {
    raw.push_back(0);
    for (std::size_t x = 0; x < w; ++x) {
      const TColor colour = pixels[y * w + x];
      raw.push_back(static_cast<std::uint8_t>(colour));
      raw.push_back(static_cast<std::uint8_t>(colour >> 8));
      raw.push_back(static_cast<std::uint8_t>(colour >> 16));
    }
  }
  std::vector<std::uint8_t> zlib = {0x78, 0x01};  // deflate, 32 KiB window, no dictionary
  const std::vector<std::uint8_t> deflated = Deflate(raw, {3, stride});
  zlib.insert(zlib.end(), deflated.begin(), deflated.end());
  PutBigEndian(zlib, Adler32(raw));

  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, no interlace
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", zlib);
  Chunk(png, "IEND", {});
  return png;
}

}  // namespace tolv::ui
