#include "ui/win32/GdiCanvas.h"

#include <algorithm>
#include <new>

namespace tolv::ui::win32 {

GdiCanvas::GdiCanvas(HDC dc) : dc_(dc) {
  if (dc_ == nullptr) return;
  SetBkMode(dc_, OPAQUE);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  // Nearest neighbour: rows and columns repeated or dropped, never blended.
  SetStretchBltMode(dc_, COLORONCOLOR);
}

const GdiCanvas::CharacterWidths* GdiCanvas::PrepareText() {
  HFONT font = fonts_.Get(fontName_, fontHeight_);
  if (font != selected_) {
    selectedFont_.Reset();
    if (font != nullptr) selectedFont_ = SelectedObject(dc_, font);
    selected_ = font;
  }
  SetTextColor(dc_, fontColor_);
  SetBkColor(dc_, brushColor_);
  SetBkMode(dc_, OPAQUE);
  if (font == nullptr) return nullptr;
  auto [known, added] = widths_.try_emplace(font);
  if (added) {
    CharacterWidths widths{};
    if (GetCharWidth32A(dc_, 0, static_cast<UINT>(widths.size() - 1), widths.data())) known->second = widths;
  }
  return known->second ? &*known->second : nullptr;
}

void GdiCanvas::TextOut(int x, int y, std::uint8_t character) {
  if (dc_ == nullptr) return;
  PrepareText();
  const char text[1] = {static_cast<char>(character)};
  ++textCalls_;
  TextOutA(dc_, x, y, text, 1);
}

void GdiCanvas::TextOutRun(int x, int y, std::span<const std::uint8_t> characters, int advance) {
  constexpr std::size_t kLongestRun = 64;
  if (dc_ == nullptr || characters.empty()) return;
  const CharacterWidths* widths = PrepareText();
  bool tiled = widths != nullptr && characters.size() <= kLongestRun;
  for (std::size_t i = 0; tiled && i < characters.size(); ++i) tiled = (*widths)[characters[i]] == advance;
  if (!tiled) {
    Canvas::TextOutRun(x, y, characters, advance);
    return;
  }
  // Each character is as wide as the step, so the font's own widths place them. (Given the
  // steps instead, Wine's ExtTextOutA takes a thousand times as long.)
  std::array<char, kLongestRun> text{};
  std::copy(characters.begin(), characters.end(), text.begin());
  ++textCalls_;
  TextOutA(dc_, x, y, text.data(), static_cast<int>(characters.size()));
}

void GdiCanvas::FillRect(const TRect& rect) {
  if (dc_ == nullptr || rect.Width <= 0 || rect.Height <= 0) return;
  const RECT area{rect.Left, rect.Top, rect.Right(), rect.Bottom()};
  SetDCBrushColor(dc_, brushColor_);
  ::FillRect(dc_, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiCanvas::CopyRect(const TRect& target, Canvas& source, const TRect& sourceRect) {
  auto* gdi = dynamic_cast<GdiCanvas*>(&source);
  if (dc_ == nullptr || gdi == nullptr || gdi->dc_ == nullptr) return;
  SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, target.Left, target.Top, target.Width, target.Height, gdi->dc_, sourceRect.Left, sourceRect.Top,
             sourceRect.Width, sourceRect.Height, SRCCOPY);
}

GdiBitmap::GdiBitmap() : dc_(NewMemoryDC()), canvas_(dc_.Get()) {}

void GdiBitmap::SetSize(int width, int height) {
  selectedBitmap_.Reset();
  bitmap_.Reset();
  bits_ = nullptr;
  width_ = 0;
  height_ = 0;
  if (!dc_ || width <= 0 || height <= 0) return;
  void* bits = nullptr;
  bitmap_ = NewDibSection(width, height, &bits);  // a new DIB section is all zero: black
  if (!bitmap_) return;
  selectedBitmap_ = SelectedObject(dc_.Get(), bitmap_.Get());
  bits_ = static_cast<const std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
}

namespace {

// A pixel of the DIB section (0x00RRGGBB) as the framework's colour (0x00BBGGRR).
TColor FromDibPixel(std::uint32_t dib) { return ((dib & 0xFFu) << 16) | (dib & 0xFF00u) | ((dib >> 16) & 0xFFu); }

}  // namespace

TColor GdiBitmap::Pixel(int x, int y) const {
  if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();  // drawing may still be queued
  return FromDibPixel(bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + x]);
}

std::vector<TColor> GdiBitmap::ReadPixels() const {
  if (bits_ == nullptr) return {};
  GdiFlush();
  const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  std::vector<TColor> pixels(count);
  for (std::size_t i = 0; i < count; ++i) pixels[i] = FromDibPixel(bits_[i]);
  return pixels;
}

}  // namespace tolv::ui::win32

namespace tolv::ui {

std::unique_ptr<Bitmap> NewBitmap() noexcept { return std::unique_ptr<Bitmap>(new (std::nothrow) win32::GdiBitmap()); }

}  // namespace tolv::ui
