// A page as text: what its cells show, one Unicode character per cell, for the command line and
// the clipboard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pages/Lop.h"

namespace tolv {

// The 24 rows as UTF-8 lines without trailing spaces. A text cell is its character in the page's
// character set; a mosaic cell the sextant of its sixels (contiguous and separated alike); a
// concealed cell a space unless reveal; the cells a double-height row covers spaces.
std::vector<std::string> PageTextLines(CVTPage& page, bool reveal);

// A mosaic's six cells, bit 0 top left, bit 1 top right, down to bit 5 bottom right, from the
// character GetDisplayCell gives (0x60..0x7F folded onto 0x40..0x5F).
std::uint8_t SixelsOfMosaic(std::uint8_t displayedCh);

// The sextant of U+1FB00 for a pattern of sixels; the three patterns Unicode had before it are
// the block elements (left half, right half, full block); no sixel set is a space.
char32_t SextantCharacter(std::uint8_t sixels);

void AppendUtf8(std::string& out, char32_t codePoint);

// A display cell that is not a mosaic as UTF-8: its character in the page's subset, or a placed
// character (precomposed where Unicode has it, else a letter and its combining mark).
void AppendTextCell(std::string& out, const TVtCell& displayCell);

}  // namespace tolv
