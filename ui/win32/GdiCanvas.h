// The canvas on a GDI device context: the paint box's own window DC, or the memory DC of an
// off-screen bitmap. It draws what the raster canvas draws for the same calls: one character
// at the point with an opaque cell in the brush colour, fills in the brush colour, and
// nearest-neighbour stretching copies. Fonts are created once per face and height.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/win32/FontCache.h"

namespace tolv::ui::win32 {

class GdiCanvas final : public Canvas {
 public:
  // dc stays the caller's; it must outlive the canvas.
  explicit GdiCanvas(HDC dc);
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;
  ~GdiCanvas() override = default;

  HDC Dc() const { return dc_; }
  // The fonts this canvas created so far.
  std::size_t FontCount() const { return fonts_.Size(); }
  // The GDI text calls it made so far.
  std::size_t TextCalls() const { return textCalls_; }

  void SetFontName(std::string_view faceName) override { fontName_ = faceName; }
  void SetFontHeight(int pixels) override { fontHeight_ = pixels; }
  void SetFontColor(TColor color) override { fontColor_ = color; }
  void SetBrushColor(TColor color) override { brushColor_ = color; }
  void TextOut(int x, int y, std::uint8_t character) override;
  // One GDI call for the run where each of its characters is advance pixels wide (then the
  // cells tile as TextOut's would), else one per character: under Wine a text call costs as
  // much as ten characters.
  void TextOutRun(int x, int y, std::span<const std::uint8_t> characters, int advance) override;
  void FillRect(const TRect& rect) override;
  void CopyRect(const TRect& target, Canvas& source, const TRect& sourceRect) override;

 private:
  using CharacterWidths = std::array<INT, 256>;
  // Selects the font and sets the colours for text; the widths of the font's characters, or
  // null when they are not known.
  const CharacterWidths* PrepareText();

  HDC dc_;
  FontCache fonts_;
  // After the cache: the font goes back out of the DC before the cache deletes it.
  SelectedObject selectedFont_;
  HFONT selected_ = nullptr;
  std::map<HFONT, std::optional<CharacterWidths>> widths_;
  std::size_t textCalls_ = 0;
  std::string fontName_;
  int fontHeight_ = 15;
  TColor fontColor_ = 0;
  TColor brushColor_ = 0xFFFFFF;
};

// An off-screen bitmap: a 32-bit DIB section selected into a memory DC.
class GdiBitmap final : public Bitmap {
 public:
  GdiBitmap();
  void SetSize(int width, int height) override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  Canvas& GetCanvas() override { return canvas_; }
  HDC Dc() const { return dc_.Get(); }
  // The pixel at (x, y) as 0x00BBGGRR; black outside the bitmap.
  TColor Pixel(int x, int y) const;
  std::vector<TColor> ReadPixels() const override;

 private:
  // Declared in the order of taking down backwards: the canvas lets go of its font, the DC of
  // the bitmap, then the bitmap and the DC go.
  MemoryDC dc_;
  BitmapHandle bitmap_;
  SelectedObject selectedBitmap_;
  GdiCanvas canvas_;
  const std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace tolv::ui::win32
