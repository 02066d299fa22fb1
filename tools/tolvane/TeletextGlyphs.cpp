#include "tools/tolvane/TeletextGlyphs.h"

#include <array>

namespace tolv::tolvane {
namespace {

// The thirteen positions that the national options replace, in code order.
constexpr std::array<std::uint8_t, 13> kNationalPositions = {0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E,
                                                             0x5F, 0x60, 0x7B, 0x7C, 0x7D, 0x7E};

// By national option bits C12 C13 C14 with no other designation (ETS 300 706 tables 32 and 36).
constexpr std::array<std::array<char32_t, 13>, 8> kNationalSubsets = {{
    {U'£', U'$', U'@', U'←', U'½', U'→', U'↑', U'#', U'―', U'¼', U'‖', U'¾', U'÷'},  // English
    {U'#', U'$', U'§', U'Ä', U'Ö', U'Ü', U'^', U'_', U'°', U'ä', U'ö', U'ü', U'ß'},  // German
    {U'#', U'¤', U'É', U'Ä', U'Ö', U'Å', U'Ü', U'_', U'é', U'ä', U'ö', U'å', U'ü'},  // Swedish, Finnish, Hungarian
    {U'£', U'$', U'é', U'°', U'ç', U'→', U'↑', U'#', U'ù', U'à', U'ò', U'è', U'ì'},  // Italian
    {U'é', U'ï', U'à', U'ë', U'ê', U'ù', U'î', U'#', U'è', U'â', U'ô', U'û', U'ç'},  // French
    {U'ç', U'$', U'¡', U'á', U'é', U'í', U'ó', U'ú', U'¿', U'ü', U'ñ', U'è', U'à'},  // Portuguese, Spanish
    {U'#', U'ů', U'č', U'ť', U'ž', U'ý', U'í', U'ř', U'é', U'á', U'ě', U'ú', U'š'},  // Czech, Slovak
    {U'£', U'$', U'@', U'←', U'½', U'→', U'↑', U'#', U'―', U'¼', U'‖', U'¾', U'÷'},  // unassigned: English
}};

constexpr Sixels kAllSixels = 0x3F;
constexpr Sixels kLeftColumn = 0x15;
constexpr Sixels kRightColumn = 0x2A;

Sixels SixelRow(Sixels sixels, unsigned row) { return static_cast<Sixels>((sixels >> (2 * row)) & 0x03); }
Sixels Rows(Sixels top, Sixels middle, Sixels bottom) { return static_cast<Sixels>(top | middle << 2 | bottom << 4); }

}  // namespace

Sixels SixelsOfMosaic(std::uint8_t displayedCh) {
  const unsigned code = displayedCh >= 0x40 ? displayedCh + 0x20u : displayedCh;
  // Bit 5 of the code is the mosaic marker; the bottom right sixel sits in bit 6.
  return static_cast<Sixels>((code & 0x1F) | ((code & 0x40) >> 1));
}

Sixels UpperHalf(Sixels sixels) { return Rows(SixelRow(sixels, 0), SixelRow(sixels, 0), SixelRow(sixels, 1)); }
Sixels LowerHalf(Sixels sixels) { return Rows(SixelRow(sixels, 1), SixelRow(sixels, 2), SixelRow(sixels, 2)); }

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

void AppendText(std::string& out, std::uint8_t ch, std::uint8_t national) {
  if (ch < 0x20 || ch > 0x7F) {
    out.push_back('?');
    return;
  }
  if (ch == 0x7F) {
    AppendUtf8(out, U'■');
    return;
  }
  for (std::size_t i = 0; i < kNationalPositions.size(); ++i) {
    if (kNationalPositions[i] == ch) {
      AppendUtf8(out, kNationalSubsets[national & 7][i]);
      return;
    }
  }
  out.push_back(static_cast<char>(ch));
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
  } else if (sixels == kAllSixels) {
    AppendUtf8(out, U'█');
  } else if (sixels == kLeftColumn) {
    AppendUtf8(out, U'▌');
  } else if (sixels == kRightColumn) {
    AppendUtf8(out, U'▐');
  } else {
    // The sextant block lists the 60 other patterns in ascending order.
    const unsigned index = sixels - 1u - (sixels > kLeftColumn ? 1u : 0u) - (sixels > kRightColumn ? 1u : 0u);
    AppendUtf8(out, static_cast<char32_t>(0x1FB00 + index));
  }
}

}  // namespace tolv::tolvane
