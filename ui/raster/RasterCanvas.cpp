#include "ui/raster/RasterCanvas.h"

#include <algorithm>
#include <cstdlib>

#include "faces/FaceRegistry.h"
#include "ui/raster/SubstituteFace.h"

namespace tolv::ui {

RasterCanvas::RasterCanvas(int width, int height) { Resize(width, height); }

void RasterCanvas::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
}

void RasterCanvas::SetFontName(std::string_view faceName) {
  if (faceName == fontName_) return;  // drawing sets the same face cell after cell
  fontName_ = faceName;
  faceValid_ = false;
}

void RasterCanvas::SetFontHeight(int pixels) {
  pixels = std::abs(pixels);  // GDI's negative heights leave out the internal leading, which is 0
  if (pixels == fontHeight_) return;
  fontHeight_ = pixels;
  faceValid_ = false;
}

const BitmapFace& RasterCanvas::CurrentFace() {
  const FaceRegistry& registry = FaceRegistry::Instance();
  if (!faceValid_ || faceGeneration_ != registry.Generation()) {
    faceGeneration_ = registry.Generation();
    face_ = registry.Find(fontName_, fontHeight_);
    faceValid_ = true;
  }
  return face_ ? *face_ : SubstituteFace();
}

TRect RasterCanvas::Clip(const TRect& rect) const {
  const int left = std::max(rect.Left, 0);
  const int top = std::max(rect.Top, 0);
  return {left, top, std::min(rect.Right(), width_) - left, std::min(rect.Bottom(), height_) - top};
}

void RasterCanvas::TextOut(int x, int y, std::uint8_t character) {
  const BitmapFace& face = CurrentFace();
  const BitmapGlyph& glyph = face.GlyphFor(character);
  const TRect cell = Clip({x, y, glyph.Width, face.PixelHeight});
  if (cell.Width <= 0 || cell.Height <= 0) return;      // wholly outside the image
  const TColor colours[2] = {brushColor_, fontColor_};  // indexed by the pixel's bit: no branch
  for (int row = cell.Top; row < cell.Bottom(); ++row) {
    const std::uint32_t bits = glyph.Rows[static_cast<std::size_t>(row - y)] << (cell.Left - x);
    TColor* pixel = &pixels_[static_cast<std::size_t>(row) * width_ + cell.Left];
    for (int column = 0; column < cell.Width; ++column) pixel[column] = colours[(bits >> (31 - column)) & 1];
  }
}

void RasterCanvas::FillRect(const TRect& rect) {
  const TRect area = Clip(rect);
  if (area.Width <= 0 || area.Height <= 0) return;  // wholly outside the image
  for (int row = area.Top; row < area.Bottom(); ++row) {
    TColor* pixel = &pixels_[static_cast<std::size_t>(row) * width_];
    std::fill(pixel + area.Left, pixel + area.Right(), brushColor_);
  }
}

void RasterCanvas::CopyRect(const TRect& target, Canvas& source, const TRect& sourceRect) {
  const auto* raster = dynamic_cast<const RasterCanvas*>(&source);
  if (raster == nullptr || target.Width <= 0 || target.Height <= 0 || sourceRect.Width <= 0 || sourceRect.Height <= 0) {
    return;
  }
  // A copy within one image reads what was there before the copy began.
  const std::vector<TColor> before = raster == this ? pixels_ : std::vector<TColor>();
  const std::vector<TColor>& from = raster == this ? before : raster->pixels_;
  const TRect area = Clip(target);
  for (int row = area.Top; row < area.Bottom(); ++row) {
    const int sourceRow = sourceRect.Top + (row - target.Top) * sourceRect.Height / target.Height;
    if (sourceRow < 0 || sourceRow >= raster->height_) continue;
    for (int column = area.Left; column < area.Right(); ++column) {
      const int sourceColumn = sourceRect.Left + (column - target.Left) * sourceRect.Width / target.Width;
      if (sourceColumn < 0 || sourceColumn >= raster->width_) continue;
      pixels_[static_cast<std::size_t>(row) * width_ + column] =
          from[static_cast<std::size_t>(sourceRow) * raster->width_ + sourceColumn];
    }
  }
}

}  // namespace tolv::ui
