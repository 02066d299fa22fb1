#include "fonts/ComposedGlyphs.h"

#include <array>
#include <string_view>

#include "fonts/GlyphSource.h"

namespace tolv::fonts {
namespace {

// Each mark as up to two rows of pixels, its lowest row last; marks below a letter hang from
// their first row.
struct Mark {
  std::array<std::string_view, 2> rows;
  bool below;
};

constexpr std::array<Mark, 16> kMarks = {{
    {{"", ""}, false},
    {{"....##........", "......##......"}, false},  // 1 grave
    {{"........##....", "......##......"}, false},  // 2 acute
    {{"......##......", "....##..##...."}, false},  // 3 circumflex
    {{"....###...##..", "..##...###...."}, false},  // 4 tilde
    {{"", "....######...."}, false},                // 5 macron
    {{"....##..##....", ".....####....."}, false},  // 6 breve
    {{"", "......##......"}, false},                // 7 dot above
    {{"", "..##......##.."}, false},                // 8 diaeresis
    {{"......##......", "......##......"}, true},   // 9 low vertical line
    {{"......##......", "....##..##...."}, false},  // 10 ring (its lower row is the ring's middle)
    {{"......##......", "....##........"}, true},   // 11 cedilla
    {{"..##########..", ""}, true},                 // 12 low line
    {{"......##..##..", "....##..##...."}, false},  // 13 double acute
    {{"......##......", "........##...."}, true},   // 14 ogonek
    {{"....##..##....", "......##......"}, false},  // 15 caron
}};

constexpr std::uint8_t kRing = 10;
constexpr std::uint8_t kCaron = 15;

std::uint32_t Bits(std::string_view row) {
  std::uint32_t bits = 0;
  for (unsigned x = 0; x < row.size(); ++x) {
    if (row[x] == '#') bits |= 0x80000000u >> x;
  }
  return bits;
}

// Draws the mark with its lowest row (or, below a letter, its first row) on row y.
void DrawMark(BitmapGlyph& glyph, std::uint8_t mark, unsigned y) {
  const Mark& m = kMarks[mark];
  for (unsigned i = 0; i < 2; ++i) {
    const unsigned row = m.below ? y + i : y + i - 1;
    if (row < glyph.Rows.size()) glyph.Rows[row] |= Bits(m.rows[i]);
  }
  // The ring closes over its middle row.
  if (mark == kRing && y + 1 < glyph.Rows.size()) glyph.Rows[y + 1] |= Bits("......##......");
}

BitmapGlyph Blank() { return BitmapGlyph{kCellWidth, std::vector<std::uint32_t>(kCellHeight, 0)}; }

// Shortens the rows from..to of a glyph by two, dropping a row of the two longest runs of equal
// rows, so stems get shorter and bars stay; the rows above move down.
void Shorten(BitmapGlyph& glyph, unsigned from, unsigned to) {
  for (int dropped = 0; dropped < 2; ++dropped) {
    unsigned bestStart = from, bestLength = 0;
    for (unsigned y = from; y <= to;) {
      unsigned end = y;
      while (end + 1 <= to && glyph.Rows[end + 1] == glyph.Rows[y]) ++end;
      if (end - y + 1 > bestLength) {
        bestLength = end - y + 1;
        bestStart = y;
      }
      y = end + 1;
    }
    for (unsigned y = bestStart; y > 0; --y) glyph.Rows[y] = glyph.Rows[y - 1];
    glyph.Rows[0] = 0;
  }
}

bool IsCapital(char letter) { return letter >= 'A' && letter <= 'Z'; }
bool HasAscender(char letter) { return std::string_view("bdfhklt").find(letter) != std::string_view::npos; }
bool HasDescender(char letter) { return std::string_view("gjpqy").find(letter) != std::string_view::npos; }

}  // namespace

BitmapGlyph MarkGlyph(std::uint8_t mark) {
  BitmapGlyph glyph = Blank();
  if (mark == 0 || mark >= kMarks.size()) return glyph;
  DrawMark(glyph, mark, kMarks[mark].below ? 12 : 3);
  return glyph;
}

BitmapGlyph ComposeLetter(const BitmapGlyph& base, char baseLetter, std::uint8_t mark) {
  BitmapGlyph glyph = base;
  if (mark == 0 || mark >= kMarks.size() || glyph.Rows.size() < kCellHeight) return glyph;
  if (kMarks[mark].below && !(HasDescender(baseLetter) && baseLetter != 'j')) {
    DrawMark(glyph, mark, 12);  // under the baseline, rows 12 and 13
    return glyph;
  }
  if (IsCapital(baseLetter)) {
    // Capitals stand on rows 2..11: shortened to rows 4..11, the mark above on rows 1..2.
    Shorten(glyph, 2, 11);
    DrawMark(glyph, mark, 2);
    return glyph;
  }
  if (mark == kCaron && (baseLetter == 'd' || baseLetter == 'l' || baseLetter == 't')) {
    // Beside a tall stem the caron is written as an apostrophe.
    glyph.Rows[2] |= Bits("..........##..");
    glyph.Rows[3] |= Bits(".........##...");
    return glyph;
  }
  if (baseLetter == 'i' || baseLetter == 'j') {
    for (unsigned y = 0; y < 5; ++y) glyph.Rows[y] = 0;  // the mark takes the dot's place
  }
  // A mark that belongs below a letter with a descender goes above it, as an acute does.
  const std::uint8_t drawn = kMarks[mark].below ? 2 : mark;
  DrawMark(glyph, drawn, HasAscender(baseLetter) ? 1 : 3);
  return glyph;
}

}  // namespace tolv::fonts
