// Teletext characters as Unicode for a terminal: the Latin national option subsets for text
// (ETS 300 706 section 15.2) and the 2 x 3 mosaics as sextant block or Braille characters.
#pragma once

#include <cstdint>
#include <string>

namespace tolv::tolvane {

// A mosaic's six cells, bit 0 top left, bit 1 top right, down to bit 5 bottom right.
using Sixels = std::uint8_t;

// A double-height mosaic stretched over two rows: the upper row shows the top row of sixels twice
// and the middle row once, the lower row the middle row once and the bottom row twice.
Sixels UpperHalf(Sixels sixels);
Sixels LowerHalf(Sixels sixels);

// Appends the UTF-8 of a text character 0x20..0x7F in the page's national option subset (0..7
// as the header codes it); anything else comes out as '?'.
void AppendText(std::string& out, std::uint8_t ch, std::uint8_t national);

// Appends a contiguous mosaic as a sextant (U+1FB00 block; empty, half and full cells as space and
// block elements) or a separated one as a six-dot Braille pattern, whose gaps stand for the
// separation.
void AppendMosaic(std::string& out, Sixels sixels, bool separated);

}  // namespace tolv::tolvane
