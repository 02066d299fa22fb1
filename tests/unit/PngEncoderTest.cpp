#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/hostsim/DibReader.h"
#include "tools/hostsim/PngEncoder.h"
#include "ui/Dib.h"

#ifdef TOLV_HAVE_LIBPNG
#include <png.h>
#endif

namespace tolv::hostsim {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t BigEndian32(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) << 24 | static_cast<std::uint32_t>(bytes[at + 1]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

// CRC-32 bit by bit, straight from the polynomial, to check the encoder's table-driven one.
std::uint32_t BitwiseCrc(const Bytes& bytes, std::size_t from, std::size_t to) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = from; i < to; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xEDB88320u : 0u);
  }
  return ~crc;
}

struct Decoded {
  std::uint32_t width = 0, height = 0;
  Bytes rgb;
  std::string error;
};

// A reader of exactly what the encoder may write: chunks with their CRCs, an 8-bit RGB header,
// a zlib stream of stored blocks with its Adler-32, rows of filter type 0.
Decoded Decode(const Bytes& png) {
  Decoded out;
  const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 8 || !std::equal(signature.begin(), signature.end(), png.begin())) return {0, 0, {}, "signature"};
  Bytes z;
  std::vector<std::string> types;
  for (std::size_t at = 8; at < png.size();) {
    if (png.size() - at < 12) return {0, 0, {}, "chunk cut short"};
    const std::uint32_t length = BigEndian32(png, at);
    if (png.size() - at - 12 < length) return {0, 0, {}, "chunk longer than the file"};
    const std::string type(png.begin() + static_cast<long>(at + 4), png.begin() + static_cast<long>(at + 8));
    if (BitwiseCrc(png, at + 4, at + 8 + length) != BigEndian32(png, at + 8 + length))
      return {0, 0, {}, "CRC of " + type};
    const std::size_t data = at + 8;
    if (type == "IHDR") {
      out.width = BigEndian32(png, data);
      out.height = BigEndian32(png, data + 4);
      if (length != 13 || png[data + 8] != 8 || png[data + 9] != 2 || png[data + 12] != 0) return {0, 0, {}, "IHDR"};
    } else if (type == "IDAT") {
      z.insert(z.end(), png.begin() + static_cast<long>(data), png.begin() + static_cast<long>(data + length));
    }
    types.push_back(type);
    at = data + length + 4;
  }
  if (types.empty() || types.front() != "IHDR" || types.back() != "IEND") return {0, 0, {}, "chunk order"};
  if (z.size() < 6 || (z[0] & 0x0F) != 8 || (z[0] << 8 | z[1]) % 31 != 0) return {0, 0, {}, "zlib header"};
  Bytes raw;
  std::size_t at = 2;
  for (bool last = false; !last;) {
    if (z.size() - at < 5) return {0, 0, {}, "block header"};
    last = (z[at] & 1) != 0;
    if ((z[at] >> 1 & 3) != 0) return {0, 0, {}, "not a stored block"};
    const unsigned len = z[at + 1] | z[at + 2] << 8, nlen = z[at + 3] | z[at + 4] << 8;
    if ((len ^ 0xFFFF) != nlen || z.size() - at - 5 < len) return {0, 0, {}, "block length"};
    raw.insert(raw.end(), z.begin() + static_cast<long>(at + 5), z.begin() + static_cast<long>(at + 5 + len));
    at += 5 + len;
  }
  std::uint32_t a = 1, b = 0;
  for (const std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  if (z.size() != at + 4 || BigEndian32(z, at) != (b << 16 | a)) return {0, 0, {}, "Adler-32"};
  const std::size_t stride = out.width * 3 + 1;
  if (raw.size() != stride * out.height) return {0, 0, {}, "image data size"};
  for (std::size_t row = 0; row < out.height; ++row) {
    if (raw[row * stride] != 0) return {0, 0, {}, "row filter"};
    out.rgb.insert(out.rgb.end(), raw.begin() + static_cast<long>(row * stride + 1),
                   raw.begin() + static_cast<long>((row + 1) * stride));
  }
  return out;
}

Bytes Pattern(int width, int height) {
  Bytes rgb;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      rgb.push_back(static_cast<std::uint8_t>(x * 7 + y));
      rgb.push_back(static_cast<std::uint8_t>(y * 13));
      rgb.push_back(static_cast<std::uint8_t>(x ^ y));
    }
  }
  return rgb;
}

TEST(PngChecksums, MatchTheirCatalogueCheckValues) {
  const std::string digits = "123456789", wiki = "Wikipedia";
  EXPECT_EQ(Crc32({reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()}), 0xCBF43926u);
  EXPECT_EQ(Adler32({reinterpret_cast<const std::uint8_t*>(wiki.data()), wiki.size()}), 0x11E60398u);
  // Continuing a CRC over a second part gives the CRC of the whole.
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(digits.data());
  EXPECT_EQ(Crc32({bytes + 4, 5}, Crc32({bytes, 4})), 0xCBF43926u);
}

// Sizes around the stored block's limit of 65535 bytes: one block, exactly full, two, many.
TEST(PngEncoder, EveryImageReadsBackPixelForPixel) {
  struct Case {
    int width, height;
  };
  const Case cases[] = {{1, 1}, {3, 2}, {64, 32}, {21845, 1}, {1, 21846}, {200, 110}, {640, 480}};
  for (const Case& c : cases) {
    const Bytes rgb = Pattern(c.width, c.height);
    const Decoded decoded = Decode(EncodePng(c.width, c.height, rgb));
    ASSERT_EQ(decoded.error, "") << c.width << "x" << c.height;
    EXPECT_EQ(decoded.width, static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(decoded.height, static_cast<std::uint32_t>(c.height));
    EXPECT_TRUE(decoded.rgb == rgb) << c.width << "x" << c.height;
  }
}

TEST(PngEncoder, RefusesSizesThatDoNotFitThePixels) {
  EXPECT_TRUE(EncodePng(0, 1, {}).empty());
  EXPECT_TRUE(EncodePng(2, 0, {}).empty());
  EXPECT_TRUE(EncodePng(2, 2, Bytes(11)).empty());
  EXPECT_TRUE(EncodePng(-1, -3, Bytes(9)).empty());
}

// The simulator reads the clipboard's pictures: the viewer's 24-bit bottom-up ones (rows of 3
// pixels padded from 9 to 12 bytes) and the 32-bit top-down ones other programs put there.
TEST(ClipboardPicture, IsReadInEitherRowOrderAndRefusedWhenItCannotBe) {
  const std::vector<ui::TColor> pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xFFFFFF, 0x000000};
  const Bytes viewer = ui::PackedDib(3, 2, pixels);
  ASSERT_EQ(viewer.size(), 40u + 2 * 12);
  RgbImage image;
  std::string error;
  ASSERT_TRUE(ReadPackedDib(viewer, image, error)) << error;
  EXPECT_EQ(image.Width, 3);
  EXPECT_EQ(image.Height, 2);
  EXPECT_EQ(image.Rgb, (Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255, 0x56, 0x34, 0x12, 255, 255, 255, 0, 0, 0}));

  Bytes topDown(40 + 2 * 4, 0);
  const auto put = [&](std::size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) topDown[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put(0, 40, 4);                              // biSize
  put(4, 1, 4);                               // one pixel wide
  put(8, static_cast<std::uint32_t>(-2), 4);  // two high, top row first
  put(12, 1, 2);                              // planes
  put(14, 32, 2);                             // bits a pixel
  put(40, 0x00AABBCC, 4);                     // blue in the low byte
  put(44, 0x00010203, 4);
  ASSERT_TRUE(ReadPackedDib(topDown, image, error)) << error;
  EXPECT_EQ(image.Rgb, (Bytes{0xAA, 0xBB, 0xCC, 0x01, 0x02, 0x03}));

  Bytes paletted = topDown;
  paletted[14] = 8;
  EXPECT_FALSE(ReadPackedDib(paletted, image, error));
  EXPECT_FALSE(ReadPackedDib(std::span(viewer).first(viewer.size() - 1), image, error));
  EXPECT_FALSE(ReadPackedDib(std::span(viewer).first(39), image, error));
}

#ifdef TOLV_HAVE_LIBPNG
// A second opinion where there is one: libpng reads the same pixels.
TEST(PngEncoder, LibpngReadsWhatItWrites) {
  const Bytes rgb = Pattern(300, 250);  // more than one stored block
  const Bytes png = EncodePng(300, 250, rgb);
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_memory(&image, png.data(), png.size()), 0) << image.message;
  image.format = PNG_FORMAT_RGB;
  Bytes read(PNG_IMAGE_SIZE(image));
  ASSERT_NE(png_image_finish_read(&image, nullptr, read.data(), 0, nullptr), 0) << image.message;
  EXPECT_EQ(image.width, 300u);
  EXPECT_EQ(image.height, 250u);
  EXPECT_TRUE(read == rgb);
}
#endif

}  // namespace
}  // namespace tolv::hostsim
