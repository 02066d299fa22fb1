// The raster back end's off-screen bitmap.
#include <new>

#include "ui/Bitmap.h"
#include "ui/raster/RasterCanvas.h"

namespace tolv::ui {
namespace {

class RasterBitmap final : public Bitmap {
 public:
  void SetSize(int width, int height) override { canvas_.Resize(width, height); }
  int Width() const override { return canvas_.Width(); }
  int Height() const override { return canvas_.Height(); }
  Canvas& GetCanvas() override { return canvas_; }
  std::vector<TColor> ReadPixels() const override { return canvas_.Pixels(); }

 private:
  RasterCanvas canvas_{0, 0};
};

}  // namespace

std::unique_ptr<Bitmap> NewBitmap() noexcept { return std::unique_ptr<Bitmap>(new (std::nothrow) RasterBitmap()); }

}  // namespace tolv::ui
