// An off-screen image with its own canvas.
#pragma once

#include <memory>
#include <vector>

#include "ui/Canvas.h"

namespace tolv::ui {

class Bitmap {
 public:
  virtual ~Bitmap() = default;
  virtual void SetSize(int width, int height) = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual Canvas& GetCanvas() = 0;
  // The pixels drawn so far, row by row, top row first (Width x Height colours).
  virtual std::vector<TColor> ReadPixels() const = 0;
};

// Made by the back end the program links (raster or Win32); null when out of memory.
std::unique_ptr<Bitmap> NewBitmap() noexcept;

}  // namespace tolv::ui
