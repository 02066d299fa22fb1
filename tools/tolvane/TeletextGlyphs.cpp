#include "tools/tolvane/TeletextGlyphs.h"

#include <array>

#include "pages/NationalSubsets.h"
#include "pages/PageText.h"

namespace tolv::tolvane {
namespace {

constexpr Sixels kAllSixels = 0x3F;

Sixels SixelRow(Sixels sixels, unsigned row) { return static_cast<Sixels>((sixels >> (2 * row)) & 0x03); }
Sixels Rows(Sixels top, Sixels middle, Sixels bottom) { return static_cast<Sixels>(top | middle << 2 | bottom << 4); }

}  // namespace

Sixels UpperHalf(Sixels sixels) { return Rows(SixelRow(sixels, 0), SixelRow(sixels, 0), SixelRow(sixels, 1)); }
Sixels LowerHalf(Sixels sixels) { return Rows(SixelRow(sixels, 1), SixelRow(sixels, 2), SixelRow(sixels, 2)); }

void AppendText(std::string& out, std::uint8_t ch, std::uint8_t national) {
  if (ch < 0x20 || ch > 0x7F) {
    out.push_back('?');
    return;
  }
  AppendUtf8(out, TextCharacter(national, ch).Unicode);
}

void AppendMosaic(std::string& out, Sixels sixels, bool separated) {
  sixels &= kAllSixels;
  if (sixels == 0) {
    out.push_back(' ');
  } else if (separated) {
    // Braille dots 1-2-3 run down the left column, 4-5-6 down the right one.
    constexpr std::array<std::uint8_t, 6> kDotOfSixel = {0x01, 0x08, 0x02, 0x10, 0x04, 0x20};
    unsigned dots = 0;
    for (unsigned bit = 0; bit < 6; ++bit) {
      if (sixels & (1u << bit)) dots |= kDotOfSixel[bit];
    }
    AppendUtf8(out, static_cast<char32_t>(0x2800 + dots));
  } else {
    AppendUtf8(out, SextantCharacter(sixels));
  }
}

}  // namespace tolv::tolvane
