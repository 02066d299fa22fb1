// A drawing surface with the few operations page drawing needs. Properties stay set until
// changed, as on a GDI device context: the text calls use the font and brush last set.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "ui/Types.h"

namespace tolv::ui {

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SetFontName(std::string_view faceName) = 0;
  virtual void SetFontHeight(int pixels) = 0;
  virtual void SetFontColor(TColor color) = 0;
  virtual void SetBrushColor(TColor color) = 0;
  // One character of the font with its top-left corner at (x, y), on a background of the brush
  // colour that fills the character's whole cell.
  virtual void TextOut(int x, int y, std::uint8_t character) = 0;
  // The characters side by side, each advance pixels right of the one before, with the same
  // font and colours: what TextOut draws for each of them in turn. A canvas whose text calls
  // cost much each overrides it to draw the run at once.
  virtual void TextOutRun(int x, int y, std::span<const std::uint8_t> characters, int advance) {
    for (const std::uint8_t character : characters) {
      TextOut(x, y, character);
      x += advance;
    }
  }
  virtual void FillRect(const TRect& rect) = 0;
  // Copies source's sourceRect onto target, scaled to its size by repeating or dropping pixels.
  virtual void CopyRect(const TRect& target, Canvas& source, const TRect& sourceRect) = 0;
};

}  // namespace tolv::ui
