#include "render/PageDrawing.h"

#include "pages/RowDecoder.h"
#include "pages/SupplementarySets.h"

namespace tolv {
namespace {

constexpr ui::Color kMarginColor = 0x000000;

const std::string& FaceName(const RenderingState& state, Face face) {
  switch (face) {
    case Face::Mosaic: return state.MosaicFontName;
    case Face::Separated: return state.SeparatedFontName;
    case Face::Accents: return state.AccentsFontName;
    case Face::Supplementary: return state.SupplementaryFontName;
    case Face::Text: break;
  }
  return state.TextFontName;
}

}  // namespace

void DrawRow(RenderWindow& window, CVTPage* page, unsigned row, bool reveal) {
  if (page == nullptr || window.PaintBox == nullptr) return;
  RenderingState& state = window.Rendering;
  ui::Canvas& paintBox = *window.PaintBox;
  ui::Canvas* doubleCanvas = state.DoubleBitmap ? &state.DoubleBitmap->GetCanvas() : nullptr;
  const int y = static_cast<int>(row) * state.CellH + state.PageTop;

  for (unsigned column = 0; column < kColumns; ++column) {
    const TVtCell cell = GetDisplayCell(*page, column, row);
    if ((cell.Flags & kVisible) == 0) continue;  // under a double-height cell of the row above
    const bool doubleHeight = (cell.Flags & kDoubleHeight) != 0;
    if (doubleHeight && doubleCanvas == nullptr) continue;
    ui::Canvas& target = doubleHeight ? *doubleCanvas : paintBox;

    // Every property is set for every cell: nothing is assumed about the previous one.
    const FaceGlyph glyph = GlyphOfCell(cell);
    target.SetFontName(FaceName(state, glyph.face));
    target.SetFontHeight(state.CellH);
    target.SetFontColor(cell.FgColor);
    target.SetBrushColor(cell.BgColor);
    // Flashing cells are drawn steady.
    const bool hidden = (cell.Flags & kConceal) != 0 && !reveal;
    const std::uint8_t character = hidden ? 0x20 : glyph.position;

    const int x = static_cast<int>(column) * state.CellW + state.PageLeft;
    if (!doubleHeight) {
      paintBox.TextOut(x, y, character);
    } else {
      target.TextOut(0, 0, character);
      paintBox.CopyRect({x, y, x + state.CellW, y + 2 * state.CellH}, target, {0, 0, state.CellW, state.CellH});
    }
  }
}

void DrawPage(RenderWindow& window, CVTPage* page, bool reveal) {
  for (unsigned row = 0; row < kRows; ++row) DrawRow(window, page, row, reveal);
}

void PaintPage(RenderWindow& window, bool reveal) {
  DrawPage(window, window.DisplayPage, reveal);
  if (window.PaintBox == nullptr) return;
  const RenderingState& state = window.Rendering;
  window.PaintBox->SetBrushColor(kMarginColor);
  window.PaintBox->FillRect({0, 0, state.PageLeft, state.PageBottom});
  window.PaintBox->FillRect({state.PageRight, 0, window.PaintBoxWidth, state.PageBottom});
}

}  // namespace tolv
