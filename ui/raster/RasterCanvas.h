// A canvas over an image in memory, one 0x00BBGGRR colour per pixel, drawing text with the
// raster faces that the portable font installer loaded. Unknown faces fall back to a plain
// built-in face, as GDI substitutes a face it does not have.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "faces/BitmapFace.h"
#include "ui/Canvas.h"

namespace tolv::ui {

class RasterCanvas final : public Canvas {
 public:
  RasterCanvas(int width, int height);  // all black

  void Resize(int width, int height);  // the new image is black
  int Width() const { return width_; }
  int Height() const { return height_; }
  TColor Pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const std::vector<TColor>& Pixels() const { return pixels_; }
  // The face the next text call uses: the installed face of the set name, else the substitute.
  const BitmapFace& CurrentFace();

  void SetFontName(std::string_view faceName) override;
  void SetFontHeight(int pixels) override;
  void SetFontColor(TColor color) override { fontColor_ = color; }
  void SetBrushColor(TColor color) override { brushColor_ = color; }
  void TextOut(int x, int y, std::uint8_t character) override;
  void FillRect(const TRect& rect) override;
  void CopyRect(const TRect& target, Canvas& source, const TRect& sourceRect) override;

 private:
  TRect Clip(const TRect& rect) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<TColor> pixels_;
  TColor fontColor_ = 0;
  TColor brushColor_ = 0xFFFFFF;
  std::string fontName_;
  int fontHeight_ = 15;
  // The face found for fontName_ and fontHeight_ while the registry's generation stays the same.
  std::shared_ptr<const BitmapFace> face_;
  unsigned faceGeneration_ = 0;
  bool faceValid_ = false;
};

}  // namespace tolv::ui
