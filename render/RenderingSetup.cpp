#include "render/RenderingSetup.h"

#include "platform/FontFiles.h"

namespace tolv {

bool SetUpRendering(RenderWindow& window, const std::string& fontFile) {
  RenderingState& state = window.Rendering;
  state.CellW = CellSizes[0].Width;
  state.CellH = CellSizes[0].Height;
  state.PageLeft = (window.PaintBoxWidth - static_cast<int>(kColumns) * state.CellW) / 2;
  state.PageTop = 0;
  state.PageRight = state.PageLeft + static_cast<int>(kColumns) * state.CellW;
  state.PageBottom = state.PageTop + static_cast<int>(kRows) * state.CellH;

  state.DoubleBitmap = ui::NewBitmap();
  if (state.DoubleBitmap) state.DoubleBitmap->SetSize(kDoubleBitmapWidth, kDoubleBitmapHeight);

  state.TextFontName = std::string("VTTEXT") + "640x480";
  state.MosaicFontName = std::string("VTGRAFIK") + "640x480";
  state.SeparatedFontName = std::string("VTGERASTERT") + "640x480";
  state.AccentsFontName = std::string("VTAKZENT") + "640x480";
  state.SupplementaryFontName = std::string("VTZUSATZ") + "640x480";

  return platform::AddFontFile(fontFile) != 0;
}

void RemoveRenderingFonts(const std::string& fontFile) { platform::RemoveFontFile(fontFile); }

void FreeRenderingBitmap(RenderWindow& window) { window.Rendering.DoubleBitmap.reset(); }

}  // namespace tolv
