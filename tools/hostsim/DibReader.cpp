#include "tools/hostsim/DibReader.h"

namespace tolv::hostsim {
namespace {

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

}  // namespace

bool ReadPackedDib(std::span<const std::uint8_t> dib, RgbImage& image, std::string& error) {
  constexpr std::size_t kInfoHeader = 40;
  constexpr int kMaxSide = 1 << 14;
  if (dib.size() < kInfoHeader || LittleEndian(dib, 0, 4) < kInfoHeader) {
    error = "no BITMAPINFOHEADER";
    return false;
  }
  const std::size_t headerSize = LittleEndian(dib, 0, 4);
  const auto width = static_cast<std::int32_t>(LittleEndian(dib, 4, 4));
  const auto signedHeight = static_cast<std::int32_t>(LittleEndian(dib, 8, 4));
  const std::uint32_t bits = LittleEndian(dib, 14, 2);
  const std::uint32_t compression = LittleEndian(dib, 16, 4);
  const std::uint32_t colours = LittleEndian(dib, 32, 4);
  const bool bottomUp = signedHeight > 0;
  const std::int32_t height = bottomUp ? signedHeight : -signedHeight;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    error = "a picture of " + std::to_string(width) + " x " + std::to_string(signedHeight) + " pixels";
    return false;
  }
  if ((bits != 24 && bits != 32) || compression != 0 || colours != 0) {
    error = std::to_string(bits) + " bits a pixel, compression " + std::to_string(compression) + ", " +
            std::to_string(colours) + " table colours: not read here";
    return false;
  }
  const std::size_t pixelBytes = bits / 8;
  const std::size_t stride = (static_cast<std::size_t>(width) * pixelBytes + 3) / 4 * 4;
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t h = static_cast<std::size_t>(height);
  if (dib.size() < headerSize + stride * h) {
    error = "the pixels end too soon";
    return false;
  }
  image.Width = width;
  image.Height = height;
  image.Rgb.assign(w * h * 3, 0);
  for (std::size_t y = 0; y < h; ++y) {
    const std::size_t row = headerSize + (bottomUp ? h - 1 - y : y) * stride;
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint8_t* pixel = dib.data() + row + x * pixelBytes;  // blue, green, red
      std::uint8_t* out = image.Rgb.data() + (y * w + x) * 3;
      out[0] = pixel[2];
      out[1] = pixel[1];
      out[2] = pixel[0];
    }
  }
  return true;
}

}  // namespace tolv::hostsim
