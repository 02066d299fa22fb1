// Writes a raster image as an 8-bit RGB PNG file.
#pragma once

#include <iosfwd>
#include <string>

#include "ui/raster/RasterCanvas.h"

namespace tolv::ui {

// Every pixel becomes a scale x scale square (scale 1 to 16); false when the file could not be
// written or the scale is out of range.
bool WritePng(const RasterCanvas& image, int scale, const std::string& path) noexcept;
// The same PNG into a stream; false when the stream fails. libpng prints no message either way.
bool WritePng(const RasterCanvas& image, int scale, std::ostream& out) noexcept;

}  // namespace tolv::ui
