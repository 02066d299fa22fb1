#include <gtest/gtest.h>

#include <set>

#include "pages/PageText.h"
#include "tools/tolvane/TeletextGlyphs.h"

namespace tolv::tolvane {
namespace {

std::string Utf8(char32_t cp) {
  std::string s;
  AppendUtf8(s, cp);
  return s;
}

std::string Mosaic(Sixels sixels, bool separated) {
  std::string s;
  AppendMosaic(s, sixels, separated);
  return s;
}

std::string Text(std::uint8_t ch, std::uint8_t national) {
  std::string s;
  AppendText(s, ch, national);
  return s;
}

// Unicode names each sextant by its filled cells, numbered 1 2 / 3 4 / 5 6 from the top left.
TEST(AppendMosaic, ContiguousMosaicsAreTheSextantsUnicodeNames) {
  struct Case {
    const char* unicodeName;
    Sixels sixels;
    char32_t codePoint;
  };
  const Case cases[] = {
      {"BLOCK SEXTANT-1", 0b000001, 0x1FB00},     {"BLOCK SEXTANT-2", 0b000010, 0x1FB01},
      {"BLOCK SEXTANT-12", 0b000011, 0x1FB02},    {"BLOCK SEXTANT-35", 0b010100, 0x1FB13},
      {"BLOCK SEXTANT-235", 0b010110, 0x1FB14},   {"BLOCK SEXTANT-1246", 0b101011, 0x1FB28},
      {"BLOCK SEXTANT-23456", 0b111110, 0x1FB3B}, {"LEFT HALF BLOCK", 0b010101, 0x258C},
      {"RIGHT HALF BLOCK", 0b101010, 0x2590},     {"FULL BLOCK", 0b111111, 0x2588},
  };
  for (const Case& c : cases) EXPECT_EQ(Mosaic(c.sixels, false), Utf8(c.codePoint)) << c.unicodeName;
  EXPECT_EQ(Mosaic(0, false), " ");
}

TEST(AppendMosaic, EveryPatternHasItsOwnGlyphAndSeparatedOnesDiffer) {
  std::set<std::string> contiguous, separated;
  for (Sixels s = 1; s < 64; ++s) {
    contiguous.insert(Mosaic(s, false));
    separated.insert(Mosaic(s, true));
    EXPECT_NE(Mosaic(s, false), Mosaic(s, true)) << int{s};
  }
  EXPECT_EQ(contiguous.size(), 63u);
  EXPECT_EQ(separated.size(), 63u);
  // Braille dots 1, 2, 3 run down the left, 4, 5, 6 down the right.
  EXPECT_EQ(Mosaic(0b010101, true), Utf8(0x2807));  // dots 1 2 3
  EXPECT_EQ(Mosaic(0b000010, true), Utf8(0x2808));  // dot 4
  EXPECT_EQ(Mosaic(0b111111, true), Utf8(0x283F));
}

TEST(SixelsOfMosaic, ReadsTheDisplayedCodesOfBothHalvesOfTheMosaicSet) {
  struct Case {
    std::uint8_t displayed;  // 0x60..0x7F arrive folded onto 0x40..0x5F
    Sixels sixels;
  };
  const Case cases[] = {
      {0x20, 0},        {0x21, 0b000001}, {0x22, 0b000010}, {0x3F, 0b011111},
      {0x40, 0b100000}, {0x5F, 0b111111}, {0x55, 0b110101},
  };
  for (const Case& c : cases) EXPECT_EQ(SixelsOfMosaic(c.displayed), c.sixels) << std::hex << int{c.displayed};
}

TEST(AppendText, UsesTheNationalOptionSubsetOfThePage) {
  struct Case {
    std::uint8_t ch, national;
    const char* utf8;
  };
  const Case cases[] = {
      {'A', 0, "A"},  {0x23, 0, "£"}, {0x5F, 0, "#"}, {0x7E, 0, "÷"}, {0x7D, 1, "ü"}, {0x5B, 1, "Ä"}, {0x40, 1, "§"},
      {0x23, 4, "é"}, {0x7E, 4, "ç"}, {0x7B, 2, "ä"}, {0x7D, 2, "å"}, {0x5C, 3, "ç"}, {0x7E, 5, "à"}, {0x24, 6, "ů"},
      {0x23, 7, "#"}, {0x40, 7, "@"}, {0x7F, 1, "■"}, {0x80, 0, "?"}, {0x1F, 0, "?"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Text(c.ch, c.national), c.utf8) << std::hex << int{c.ch} << " " << int{c.national};
}

}  // namespace
}  // namespace tolv::tolvane
