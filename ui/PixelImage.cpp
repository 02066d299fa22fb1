#include "ui/PixelImage.h"

#include <algorithm>

namespace tolv::ui {

PixelImage ImageFromRows(std::initializer_list<std::string_view> rows,
                         std::initializer_list<std::pair<char, TColor>> palette) {
  PixelImage image;
  image.Height = static_cast<int>(rows.size());
  for (std::string_view row : rows) image.Width = std::max(image.Width, static_cast<int>(row.size()));
  image.Pixels.assign(image.IndexOf(0, image.Height), image.Transparent);
  int y = 0;
  for (std::string_view row : rows) {
    for (int x = 0; x < static_cast<int>(row.size()); ++x) {
      auto entry = std::find_if(palette.begin(), palette.end(), [&](const auto& e) { return e.first == row[x]; });
      if (entry != palette.end()) image.Pixels[image.IndexOf(x, y)] = entry->second;
    }
    ++y;
  }
  return image;
}

PixelImage TwoStateGlyph(const PixelImage& image) {
  PixelImage strip;
  strip.Width = image.Width * 2;
  strip.Height = image.Height;
  strip.Transparent = image.Transparent;
  strip.Pixels.assign(strip.IndexOf(0, strip.Height), image.Transparent);
  auto put = [&](int x, int y, TColor c) { strip.Pixels[strip.IndexOf(x, y)] = c; };
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      const TColor c = image.At(x, y);
      put(x, y, c);
      if (c == image.Transparent) continue;
      // The disabled look: a white shadow one pixel down and right, the shape in grey above it.
      if (x + 1 < image.Width && y + 1 < image.Height) put(image.Width + x + 1, y + 1, clWhite);
    }
  }
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      if (image.At(x, y) != image.Transparent) put(image.Width + x, y, clGray);
    }
  }
  return strip;
}

}  // namespace tolv::ui
