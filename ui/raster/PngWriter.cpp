#include "ui/raster/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

namespace tolv::ui {
namespace {

constexpr int kMaxScale = 16;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports errors by longjmp; nothing in here owns a resource with a destructor across it
// except what WritePng cleans up after the jump.
bool WriteRows(std::FILE* file, const RasterCanvas& image, int scale, std::vector<png_byte>& row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width() * scale),
               static_cast<png_uint_32>(image.Height() * scale), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.Height(); ++y) {
    png_byte* out = row.data();
    for (int x = 0; x < image.Width(); ++x) {
      const Color c = image.Pixel(x, y);
      for (int repeat = 0; repeat < scale; ++repeat) {
        *out++ = static_cast<png_byte>(c & 0xFF);
        *out++ = static_cast<png_byte>((c >> 8) & 0xFF);
        *out++ = static_cast<png_byte>((c >> 16) & 0xFF);
      }
    }
    for (int repeat = 0; repeat < scale; ++repeat) png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(const RasterCanvas& image, int scale, const std::string& path) noexcept {
  if (scale < 1 || scale > kMaxScale || image.Width() == 0 || image.Height() == 0) return false;
  try {
    std::vector<png_byte> row(static_cast<std::size_t>(image.Width()) * scale * 3);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    bool written = WriteRows(file.get(), image, scale, row);
    return std::fclose(file.release()) == 0 && written;
  } catch (...) {  // out of memory for the row buffer
    return false;
  }
}

}  // namespace tolv::ui
