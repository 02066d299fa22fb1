// Small drawing steps the peers paint their controls with.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/Win32Api.h"
#include "ui/Controls.h"
#include "ui/PixelImage.h"

namespace tolv::ui::win32 {

void FillSolid(HDC dc, const RECT& area, COLORREF color);
// 0x00BBGGRR to a DIB's 0x00RRGGBB.
std::uint32_t DibPixel(COLORREF color);
// width x height DIB pixels, rows top down, stretched onto target cell for cell (no blending);
// false when the driver refused.
bool StretchDibPixels(HDC dc, const RECT& target, int width, int height, const std::uint32_t* pixels);
// Columns sourceX to sourceX + sourceWidth of image, scaled onto target; its transparent
// pixels show background.
void DrawPixelImage(HDC dc, const PixelImage& image, int sourceX, int sourceWidth, const RECT& target,
                    COLORREF background);
// A one-pixel bevel around area, which then shrinks to the inside of it.
void DrawBevel(HDC dc, RECT& area, BevelCut cut);
// UTF-8 text in area, with DrawTextA's format, transparent over what is there.
void DrawCaption(HDC dc, const std::string& text, RECT area, UINT format, COLORREF color);

}  // namespace tolv::ui::win32
