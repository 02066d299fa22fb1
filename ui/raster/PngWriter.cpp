#include "ui/raster/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <ostream>
#include <vector>

namespace tolv::ui {
namespace {

constexpr int kMaxScale = 16;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Failure is the caller's to report, in its own words: libpng prints nothing.
[[noreturn]] void JumpOnError(png_structp png, png_const_charp /*message*/) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

void WriteToStream(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::ostream*>(png_get_io_ptr(png));
  if (!out->write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(length))) png_error(png, "write");
}
void FlushStream(png_structp png) { static_cast<std::ostream*>(png_get_io_ptr(png))->flush(); }

// libpng reports errors by longjmp; nothing in here owns a resource with a destructor across it
// except what WritePng cleans up after the jump. Writes to file, or to out when file is null.
bool WriteRows(std::FILE* file, std::ostream* out, const RasterCanvas& image, int scale, std::vector<png_byte>& row) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  if (file != nullptr) {
    png_init_io(png, file);
  } else {
    png_set_write_fn(png, out, WriteToStream, FlushStream);
  }
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width() * scale),
               static_cast<png_uint_32>(image.Height() * scale), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.Height(); ++y) {
    png_byte* out = row.data();
    for (int x = 0; x < image.Width(); ++x) {
      const TColor c = image.Pixel(x, y);
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
    bool written = WriteRows(file.get(), nullptr, image, scale, row);
    return std::fclose(file.release()) == 0 && written;
  } catch (...) {  // out of memory for the row buffer
    return false;
  }
}

bool WritePng(const RasterCanvas& image, int scale, std::ostream& out) noexcept {
  if (scale < 1 || scale > kMaxScale || image.Width() == 0 || image.Height() == 0) return false;
  try {
    std::vector<png_byte> row(static_cast<std::size_t>(image.Width()) * scale * 3);
    return WriteRows(nullptr, &out, image, scale, row) && out.flush();
  } catch (...) {  // out of memory for the row buffer, or a stream that throws
    return false;
  }
}

}  // namespace tolv::ui
