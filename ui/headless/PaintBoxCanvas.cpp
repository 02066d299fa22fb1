// The canvas a headless paint box draws on.
//
// This is where the raster canvas plugs in: return a raster canvas as large as the box (its
// Width() by Height()). Until then paint boxes have no canvas, and PaintBox::Canvas() is null.
#include "ui/headless/HeadlessBackend.h"

namespace tolv::ui::headless {

std::shared_ptr<Canvas> MakePaintBoxCanvas(PaintBox& /*box*/) { return nullptr; }

}  // namespace tolv::ui::headless
