#include "ui/Dib.h"

namespace tolv::ui {
namespace {

void PutLittleEndian(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::size_t DibRowStride(int width) {
  const std::size_t bytes = static_cast<std::size_t>(width) * (kDibBitsPerPixel / 8);
  return (bytes + 3) / 4 * 4;
}

std::vector<std::uint8_t> PackedDib(int width, int height, std::span<const TColor> pixels) {
  if (width <= 0 || height <= 0) return {};
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  if (pixels.size() != w * h) return {};
  const std::size_t stride = DibRowStride(width);
  std::vector<std::uint8_t> dib(kDibHeaderSize + stride * h, 0);
  PutLittleEndian(dib, 0, kDibHeaderSize, 4);                           // biSize
  PutLittleEndian(dib, 4, static_cast<std::uint32_t>(width), 4);        // biWidth
  PutLittleEndian(dib, 8, static_cast<std::uint32_t>(height), 4);       // biHeight > 0: bottom-up
  PutLittleEndian(dib, 12, 1, 2);                                       // biPlanes
  PutLittleEndian(dib, 14, kDibBitsPerPixel, 2);                        // biBitCount
  PutLittleEndian(dib, 16, 0, 4);                                       // biCompression BI_RGB
  PutLittleEndian(dib, 20, static_cast<std::uint32_t>(stride * h), 4);  // biSizeImage
  // Resolution (96 dpi as pixels per metre) says how large the picture is when pasted.
  constexpr std::uint32_t kPixelsPerMetre = 3780;
  PutLittleEndian(dib, 24, kPixelsPerMetre, 4);
  PutLittleEndian(dib, 28, kPixelsPerMetre, 4);
  // biClrUsed and biClrImportant stay 0: no colour table.
  for (std::size_t y = 0; y < h; ++y) {
    std::uint8_t* row = dib.data() + kDibHeaderSize + (h - 1 - y) * stride;
    for (std::size_t x = 0; x < w; ++x) {
      const TColor c = pixels[y * w + x];
      row[3 * x] = static_cast<std::uint8_t>(c >> 16);     // blue
      row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);  // green
      row[3 * x + 2] = static_cast<std::uint8_t>(c);       // red
    }
  }
  return dib;
}

}  // namespace tolv::ui
