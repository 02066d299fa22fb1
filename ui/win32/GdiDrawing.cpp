#include "ui/win32/GdiDrawing.h"

#include <vector>

#include "ui/TextEncoding.h"
#include "ui/win32/Handles.h"

namespace tolv::ui::win32 {

std::uint32_t DibPixel(COLORREF color) { return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu); }

bool StretchDibPixels(HDC dc, const RECT& target, int width, int height, const std::uint32_t* pixels) {
  const BITMAPINFO info = TopDownDibInfo(width, height);
  SetStretchBltMode(dc, COLORONCOLOR);
  return StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0, width,
                       height, pixels, &info, DIB_RGB_COLORS, SRCCOPY) != 0;
}

void FillSolid(HDC dc, const RECT& area, COLORREF color) {
  // The DC's own brush: nothing is created for a fill.
  const COLORREF before = SetDCBrushColor(dc, color);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetDCBrushColor(dc, before);
}

void DrawPixelImage(HDC dc, const PixelImage& image, int sourceX, int sourceWidth, const RECT& target,
                    COLORREF background) {
  if (image.Empty() || sourceWidth <= 0 || sourceX < 0 || sourceX + sourceWidth > image.Width) return;
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(sourceWidth) * static_cast<std::size_t>(image.Height));
  for (int y = 0; y < image.Height; ++y) {
    for (int x = sourceX; x < sourceX + sourceWidth; ++x) {
      const TColor c = image.At(x, y);
      pixels.push_back(DibPixel(c == image.Transparent ? background : c));
    }
  }
  StretchDibPixels(dc, target, sourceWidth, image.Height, pixels.data());
}

void DrawBevel(HDC dc, RECT& area, BevelCut cut) {
  if (cut == BevelCut::None) return;
  // Shadow above and left of a lowered face, light below and right; the other way when raised.
  DrawEdge(dc, &area, cut == BevelCut::Lowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
}

void DrawCaption(HDC dc, const std::string& text, RECT area, UINT format, COLORREF color) {
  const std::string encoded = Utf8ToWindows1252(text);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextA(dc, encoded.c_str(), static_cast<int>(encoded.size()), &area, format);
}

}  // namespace tolv::ui::win32
