// The program's own pictures: the toolbar glyphs, the "Weiter" glyph and the program icon.
#pragma once

#include "ui/PixelImage.h"

namespace tolv {

// 16 x 16 glyphs.
ui::PixelImage OpenGlyph();
ui::PixelImage SaveAsGlyph();
ui::PixelImage PrintGlyph();
ui::PixelImage RevealGlyph();
ui::PixelImage SetClockGlyph();
ui::PixelImage DelAllGlyph();
ui::PixelImage PauseGlyph();
ui::PixelImage NextGlyph();
// 32 x 28, shown stretched on the about dialog.
ui::PixelImage ProgramIconImage();

}  // namespace tolv
