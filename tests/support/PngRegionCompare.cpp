// png_region_compare EXPECTED ACTUAL X Y: whether ACTUAL holds EXPECTED's pixels with its top
// left corner at (X, Y). Both files are read with libpng, whatever deflate they use; pixels are
// compared as 8-bit RGB. Exit status 0 when every pixel is equal, 1 when any differs (the count
// and the first difference are printed), 2 when a file cannot be read or the region does not fit.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Image {
  int Width = 0;
  int Height = 0;
  std::vector<unsigned char> Rgb;
};

bool ReadPng(const char* path, Image& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, path) == 0) {
    std::fprintf(stderr, "%s: %s\n", path, png.message);
    return false;
  }
  png.format = PNG_FORMAT_RGB;
  image.Width = static_cast<int>(png.width);
  image.Height = static_cast<int>(png.height);
  image.Rgb.resize(PNG_IMAGE_SIZE(png));
  if (png_image_finish_read(&png, nullptr, image.Rgb.data(), 0, nullptr) == 0) {
    std::fprintf(stderr, "%s: %s\n", path, png.message);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: png_region_compare EXPECTED ACTUAL X Y\n", stderr);
    return 2;
  }
  Image expected, actual;
  if (!ReadPng(argv[1], expected) || !ReadPng(argv[2], actual)) return 2;
  const int left = std::atoi(argv[3]);
  const int top = std::atoi(argv[4]);
  if (left < 0 || top < 0 || left + expected.Width > actual.Width || top + expected.Height > actual.Height) {
    std::fprintf(stderr, "a %dx%d region at (%d, %d) does not fit into %dx%d\n", expected.Width, expected.Height, left,
                 top, actual.Width, actual.Height);
    return 2;
  }
  long differing = 0;
  for (int y = 0; y < expected.Height; ++y) {
    for (int x = 0; x < expected.Width; ++x) {
      const unsigned char* e = &expected.Rgb[(static_cast<std::size_t>(y) * expected.Width + x) * 3];
      const unsigned char* a = &actual.Rgb[(static_cast<std::size_t>(y + top) * actual.Width + x + left) * 3];
      if (e[0] == a[0] && e[1] == a[1] && e[2] == a[2]) continue;
      if (differing++ == 0) {
        std::printf("first difference at (%d, %d) of the region: expected #%02X%02X%02X, actual #%02X%02X%02X\n", x, y,
                    e[0], e[1], e[2], a[0], a[1], a[2]);
      }
    }
  }
  std::printf("%ld of %d pixels differ\n", differing, expected.Width * expected.Height);
  return differing == 0 ? 0 : 1;
}
