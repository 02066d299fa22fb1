// The canvas a headless paint box draws on: a raster image as large as the box, so a test reads
// back exactly the pixels the drawing code painted.
#include "ui/Controls.h"
#include "ui/headless/HeadlessBackend.h"
#include "ui/raster/RasterCanvas.h"

namespace tolv::ui::headless {

std::shared_ptr<Canvas> MakePaintBoxCanvas(PaintBox& box) {
  return std::make_shared<RasterCanvas>(box.Width(), box.Height());
}

}  // namespace tolv::ui::headless
