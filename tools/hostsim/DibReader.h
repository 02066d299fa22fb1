// A packed device-independent bitmap, as the clipboard's CF_DIB holds it, read into rows of RGB
// for the PNG encoder: a BITMAPINFOHEADER, no compression, 24 or 32 bits a pixel, rows bottom
// first (a positive height) or top first (a negative one), each padded to 4 bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolv::hostsim {

struct RgbImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgb;  // rows top to bottom, 3 bytes a pixel
};

// False, with error saying why, for anything else or bytes that end too soon.
bool ReadPackedDib(std::span<const std::uint8_t> dib, RgbImage& image, std::string& error);

}  // namespace tolv::hostsim
