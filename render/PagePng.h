// A page as a picture: the 560 x 360 page area exactly as the drawing code paints it (40 x 24
// cells, page at the top left), optionally enlarged, as an RGB PNG file. For command-line tools.
#pragma once

#include <string>

#include "pages/Lop.h"
#include "ui/raster/RasterCanvas.h"

namespace tolv {

inline constexpr int kPageImageWidth = 560;
inline constexpr int kPageImageHeight = 360;
inline constexpr int kMaxPngScale = 16;

enum class PagePngResult {
  kWritten,
  kFontNotLoaded,  // the font file is missing or damaged: no picture with substitute faces
  kBadScale,       // scale outside 1..kMaxPngScale
  kWriteFailed,
};

// The tolv.fon the build wrote.
std::string BuiltFontFile();

// Draws page onto image (resized to the page area) with the font file's faces, concealed cells
// shown when reveal is set; false, with nothing drawn, when the font file adds no faces.
bool RenderPageImage(CVTPage& page, bool reveal, ui::RasterCanvas& image, const std::string& fontFile);
// The picture of page as a PNG at path, each pixel a scale x scale square.
PagePngResult RenderPagePng(CVTPage& page, bool reveal, int scale, const std::string& path,
                            const std::string& fontFile = BuiltFontFile());

}  // namespace tolv
