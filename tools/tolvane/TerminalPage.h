// A page drawn in a terminal with 24-bit colour escape sequences, one line per row.
#pragma once

#include <string>

#include "pages/Lop.h"

namespace tolv::tolvane {

// 24 lines of 40 cells, each line ending in a reset and '\n'. Concealed cells are blank unless
// reveal; flashing cells blink; a double-height cell shows in its own row and again in the row
// below (mosaics stretched over both); separated mosaics are drawn as Braille dots.
std::string TerminalPage(CVTPage& page, bool reveal);

}  // namespace tolv::tolvane
