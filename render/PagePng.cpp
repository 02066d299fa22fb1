#include "render/PagePng.h"

#include "render/RenderingSetup.h"
#include "ui/raster/PngWriter.h"

namespace tolv {

std::string BuiltFontFile() { return TOLV_BUILT_FONT_FILE; }

bool RenderPageImage(CVTPage& page, bool reveal, ui::RasterCanvas& image, const std::string& fontFile) {
  image.Resize(kPageImageWidth, kPageImageHeight);
  RenderWindow window;
  window.PaintBox = &image;
  window.PaintBoxWidth = kPageImageWidth;  // so the page starts at x 0
  const bool fontsInstalled = SetUpRendering(window, fontFile);
  if (fontsInstalled) {
    DrawPage(window, &page, reveal);
    RemoveRenderingFonts(fontFile);
  }
  FreeRenderingBitmap(window);
  return fontsInstalled;
}

PagePngResult RenderPagePng(CVTPage& page, bool reveal, int scale, const std::string& path,
                            const std::string& fontFile) {
  if (scale < 1 || scale > kMaxPngScale) return PagePngResult::kBadScale;
  ui::RasterCanvas image(kPageImageWidth, kPageImageHeight);
  if (!RenderPageImage(page, reveal, image, fontFile)) return PagePngResult::kFontNotLoaded;
  return ui::WritePng(image, scale, path) ? PagePngResult::kWritten : PagePngResult::kWriteFailed;
}

}  // namespace tolv
