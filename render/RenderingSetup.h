// Setting up the window's rendering state and fonts when the window is created, and taking them
// down when it is destroyed.
#pragma once

#include <string>

#include "render/PageDrawing.h"

namespace tolv {

// Relative to the host's working directory.
inline constexpr char kFontFilePath[] = ".\\plugins\\tolv.fon";

inline constexpr int kDoubleBitmapWidth = 880;  // 40 cells of the largest size
inline constexpr int kDoubleBitmapHeight = 26;

// Cell size, page position from window.PaintBoxWidth, the double-height bitmap, the face names,
// and the font file. Returns false when the font file added no faces: the window then says so
// and goes on drawing with substitute faces.
bool SetUpRendering(RenderWindow& window, const std::string& fontFile = kFontFilePath);
// Removes the font file again (the path given to SetUpRendering).
void RemoveRenderingFonts(const std::string& fontFile = kFontFilePath);
// The window frees the bitmap last, after it closed its mutexes.
void FreeRenderingBitmap(RenderWindow& window);

}  // namespace tolv
