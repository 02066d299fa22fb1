// Reads the raster faces of a Windows font file (an NE module with FNT version 2 or 3 font
// resources). Every offset and size in the file is checked against the data first: a damaged
// file yields no faces, never a read outside the buffer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "faces/BitmapFace.h"

namespace tolv {

// All font resources of the file in resource-table order, or nothing when any part is damaged
// or the file holds no raster font.
std::optional<std::vector<BitmapFace>> ReadFonFile(std::span<const std::uint8_t> file);

// One FNT resource on its own.
std::optional<BitmapFace> ReadFntResource(std::span<const std::uint8_t> resource);

}  // namespace tolv
