#include "pages/PageText.h"

#include "pages/NationalSubsets.h"
#include "pages/RowDecoder.h"
#include "pages/SupplementarySets.h"

namespace tolv {
namespace {

constexpr std::uint8_t kAllSixels = 0x3F;
constexpr std::uint8_t kLeftColumn = 0x15;
constexpr std::uint8_t kRightColumn = 0x2A;

void AppendCell(std::string& out, const TVtCell& cell, bool reveal) {
  if ((cell.Flags & kVisible) == 0 || ((cell.Flags & kConceal) != 0 && !reveal)) {
    out.push_back(' ');
  } else if (cell.Mosaic == 1) {
    AppendUtf8(out, SextantCharacter(SixelsOfMosaic(cell.Ch)));
  } else {
    AppendTextCell(out, cell);
  }
}

}  // namespace

std::vector<std::string> PageTextLines(CVTPage& page, bool reveal) {
  std::vector<std::string> lines(kRows);
  for (unsigned row = 0; row < kRows; ++row) {
    std::string& line = lines[row];
    for (unsigned column = 0; column < kColumns; ++column) {
      AppendCell(line, GetDisplayCell(page, column, row), reveal);
    }
    line.erase(line.find_last_not_of(' ') + 1);
  }
  return lines;
}

std::uint8_t SixelsOfMosaic(std::uint8_t displayedCh) {
  const unsigned code = displayedCh >= 0x40 ? displayedCh + 0x20u : displayedCh;
  // Bit 5 of the code is the mosaic marker; the bottom right sixel sits in bit 6.
  return static_cast<std::uint8_t>((code & 0x1F) | ((code & 0x40) >> 1));
}

char32_t SextantCharacter(std::uint8_t sixels) {
  sixels &= kAllSixels;
  if (sixels == 0) return U' ';
  if (sixels == kAllSixels) return U'█';
  if (sixels == kLeftColumn) return U'▌';
  if (sixels == kRightColumn) return U'▐';
  // The sextant block lists the 60 other patterns in ascending order.
  const unsigned index = sixels - 1u - (sixels > kLeftColumn ? 1u : 0u) - (sixels > kRightColumn ? 1u : 0u);
  return static_cast<char32_t>(0x1FB00 + index);
}

void AppendTextCell(std::string& out, const TVtCell& cell) {
  if (!IsPlacedCharSet(cell.CharSet)) {
    AppendUtf8(out, TextFaceCharacter(cell.Ch));
    return;
  }
  for (const char32_t character : PlacedCharacterText(cell.CharSet, cell.Ch)) {
    if (character != 0) AppendUtf8(out, character);
  }
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  const auto byte = [&](unsigned value) { out.push_back(static_cast<char>(value)); };
  const auto cp = static_cast<unsigned>(codePoint);
  if (cp < 0x80) {
    byte(cp);
  } else if (cp < 0x800) {
    byte(0xC0 | cp >> 6);
    byte(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    byte(0xE0 | cp >> 12);
    byte(0x80 | ((cp >> 6) & 0x3F));
    byte(0x80 | (cp & 0x3F));
  } else {
    byte(0xF0 | cp >> 18);
    byte(0x80 | ((cp >> 12) & 0x3F));
    byte(0x80 | ((cp >> 6) & 0x3F));
    byte(0x80 | (cp & 0x3F));
  }
}

}  // namespace tolv
