#include "render/PageDrawing.h"

#include <array>
#include <span>

#include "pages/RowDecoder.h"
#include "pages/SupplementarySets.h"

namespace tolv {
namespace {

constexpr ui::TColor kMarginColor = 0x000000;

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

// Cells of one row side by side with the same face and colours, drawn with one call.
class CellRun {
 public:
  CellRun(ui::Canvas& canvas, int y, int advance) : canvas_(canvas), y_(y), advance_(advance) {}
  CellRun(const CellRun&) = delete;
  CellRun& operator=(const CellRun&) = delete;
  ~CellRun() = default;

  // Every property is set for every run: nothing is assumed about what was drawn before.
  void Add(const std::string& face, int height, const TVtCell& cell, int x, std::uint8_t character) {
    if (count_ > 0 && (&face != face_ || cell.FgColor != foreground_ || cell.BgColor != background_ || x != next_)) {
      Draw();
    }
    if (count_ == 0) {
      face_ = &face;
      height_ = height;
      foreground_ = cell.FgColor;
      background_ = cell.BgColor;
      x_ = x;
    }
    characters_[count_++] = character;
    next_ = x + advance_;
  }

  void Draw() {
    if (count_ == 0) return;
    canvas_.SetFontName(*face_);
    canvas_.SetFontHeight(height_);
    canvas_.SetFontColor(foreground_);
    canvas_.SetBrushColor(background_);
    canvas_.TextOutRun(x_, y_, std::span<const std::uint8_t>(characters_.data(), count_), advance_);
    count_ = 0;
  }

 private:
  ui::Canvas& canvas_;
  int y_;
  int advance_;
  const std::string* face_ = nullptr;
  int height_ = 0;
  ui::TColor foreground_ = 0;
  ui::TColor background_ = 0;
  int x_ = 0;
  int next_ = 0;  // where a cell continues the run
  std::array<std::uint8_t, kColumns> characters_{};
  std::size_t count_ = 0;
};

// Row (0..23) of page onto canvas with column 0 of row 0 at (left, top).
void DrawRowAt(RenderingState& state, ui::Canvas& canvas, int left, int top, CVTPage& page, unsigned row, bool reveal) {
  ui::Canvas* doubleCanvas = state.DoubleBitmap ? &state.DoubleBitmap->GetCanvas() : nullptr;
  const int y = static_cast<int>(row) * state.CellH + top;
  CellRun run(canvas, y, state.CellW);

  for (unsigned column = 0; column < kColumns; ++column) {
    const TVtCell cell = GetDisplayCell(page, column, row);
    if ((cell.Flags & kVisible) == 0) continue;  // under a double-height cell of the row above
    const bool doubleHeight = (cell.Flags & kDoubleHeight) != 0;
    if (doubleHeight && doubleCanvas == nullptr) continue;

    const FaceGlyph glyph = GlyphOfCell(cell);
    // Flashing cells are drawn steady.
    const bool hidden = (cell.Flags & kConceal) != 0 && !reveal;
    const std::uint8_t character = hidden ? 0x20 : glyph.position;
    const int x = static_cast<int>(column) * state.CellW + left;
    if (!doubleHeight) {
      run.Add(FaceName(state, glyph.face), state.CellH, cell, x, character);
      continue;
    }
    // What went before is drawn first, as the copy may cover it.
    run.Draw();
    ui::Canvas& target = *doubleCanvas;
    target.SetFontName(FaceName(state, glyph.face));
    target.SetFontHeight(state.CellH);
    target.SetFontColor(cell.FgColor);
    target.SetBrushColor(cell.BgColor);
    target.TextOut(0, 0, character);
    canvas.CopyRect({x, y, state.CellW, 2 * state.CellH}, target, {0, 0, state.CellW, state.CellH});
  }
  run.Draw();
}

}  // namespace

void DrawRow(RenderWindow& window, CVTPage* page, unsigned row, bool reveal) {
  if (page == nullptr || window.PaintBox == nullptr) return;
  RenderingState& state = window.Rendering;
  DrawRowAt(state, *window.PaintBox, state.PageLeft, state.PageTop, *page, row, reveal);
}

void DrawPage(RenderWindow& window, CVTPage* page, bool reveal) {
  for (unsigned row = 0; row < kRows; ++row) DrawRow(window, page, row, reveal);
}

bool DrawPageArea(RenderWindow& window, CVTPage& page, bool reveal, ui::Bitmap& image) {
  RenderingState& state = window.Rendering;
  const int width = static_cast<int>(kColumns) * state.CellW;
  const int height = static_cast<int>(kRows) * state.CellH;
  image.SetSize(width, height);
  if (width <= 0 || height <= 0 || image.Width() != width || image.Height() != height) return false;
  for (unsigned row = 0; row < kRows; ++row) DrawRowAt(state, image.GetCanvas(), 0, 0, page, row, reveal);
  return true;
}

void PaintPage(RenderWindow& window, bool reveal) {
  DrawPage(window, window.DisplayPage, reveal);
  if (window.PaintBox == nullptr) return;
  const RenderingState& state = window.Rendering;
  window.PaintBox->SetBrushColor(kMarginColor);
  window.PaintBox->FillRect({0, 0, state.PageLeft, state.PageBottom});
  window.PaintBox->FillRect({state.PageRight, 0, window.PaintBoxWidth - state.PageRight, state.PageBottom});
}

}  // namespace tolv
