// Drawing a page onto the viewer window's paint box: each display cell as one character of the
// text, mosaic or separated-mosaic face, double-height cells stretched over two rows through a
// one-cell off-screen bitmap.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "pages/Lop.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"

namespace tolv {

struct CellSize {
  std::int16_t Width;
  std::int16_t Height;
};
// The cell sizes of the three display sizes; drawing uses the first.
inline constexpr std::array<CellSize, 3> CellSizes = {{{14, 15}, {18, 20}, {22, 26}}};

// The window's rendering state, set up once when the window is created.
struct RenderingState {
  std::int16_t CellW = 0;
  std::int16_t CellH = 0;
  std::int32_t PageLeft = 0;  // x of column 0, the page centred in the paint box
  std::int32_t PageTop = 0;
  std::int32_t PageRight = 0;
  std::int32_t PageBottom = 0;
  std::string TextFontName;
  std::string MosaicFontName;
  std::string SeparatedFontName;
  // The faces of the characters packets X/26 place: letters with diacritical marks, and the
  // G2 supplementary and G3 mosaic and line drawing sets.
  std::string AccentsFontName;
  std::string SupplementaryFontName;
  // Holds one double-height cell at its top left before it is stretched onto the paint box;
  // as large as a row of the largest cell size.
  std::unique_ptr<ui::Bitmap> DoubleBitmap;
};

// What drawing needs of the viewer window: its rendering state, its paint box and the page
// it shows.
struct RenderWindow {
  RenderingState Rendering;
  ui::Canvas* PaintBox = nullptr;  // canvas of PaintBox1
  int PaintBoxWidth = 0;
  CVTPage* DisplayPage = nullptr;
};

// Draws the 40 cells of row (0..23) of page, concealed cells as their background unless reveal
// is set; nothing for a null page. The caller holds the page-data lock, since the cells are
// decoded on demand.
void DrawRow(RenderWindow& window, CVTPage* page, unsigned row, bool reveal);
// Rows 0 to 23, top to bottom, so that a double-height row lands before the row it covers.
void DrawPage(RenderWindow& window, CVTPage* page, bool reveal);
// The page area alone, as DrawPage paints it onto the paint box (the same faces, cell size and
// double-height bitmap), onto image, which is made exactly as large as the 40 x 24 cells. False,
// with nothing drawn, when the image cannot be had at that size. Under the page-data lock.
bool DrawPageArea(RenderWindow& window, CVTPage& page, bool reveal, ui::Bitmap& image);
// The display page, then black margins left and right of it down to PageBottom.
void PaintPage(RenderWindow& window, bool reveal);

}  // namespace tolv
