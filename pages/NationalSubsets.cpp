#include "pages/NationalSubsets.h"

namespace tolv {
namespace {

using Subset = std::array<SubsetCharacter, kNationalCodes.size()>;

// By character set, the characters of kNationalCodes in their order. German has its letters at
// their own codes; French keeps the positions above 0x7F that set 4 has always used; a
// character that several subsets share has one position.
constexpr std::array<Subset, kCharSetCount> kSubsets = {{
    // English
    {{{0xA3, U'£'},
      {0x24, U'$'},
      {0x80, U'@'},
      {0x81, U'←'},
      {0xBD, U'½'},
      {0x82, U'→'},
      {0x83, U'↑'},
      {0x23, U'#'},
      {0x84, U'―'},
      {0xBC, U'¼'},
      {0x85, U'‖'},
      {0xBE, U'¾'},
      {0xF7, U'÷'}}},
    // German
    {{{0x23, U'#'},
      {0x24, U'$'},
      {0x40, U'§'},
      {0x5B, U'Ä'},
      {0x5C, U'Ö'},
      {0x5D, U'Ü'},
      {0x5E, U'^'},
      {0x5F, U'_'},
      {0x60, U'°'},
      {0x7B, U'ä'},
      {0x7C, U'ö'},
      {0x7D, U'ü'},
      {0x7E, U'ß'}}},
    // Swedish, Finnish, Hungarian
    {{{0x23, U'#'},
      {0xA4, U'¤'},
      {0x99, U'É'},
      {0x5B, U'Ä'},
      {0x5C, U'Ö'},
      {0xC5, U'Å'},
      {0x5D, U'Ü'},
      {0x5F, U'_'},
      {0x91, U'é'},
      {0x7B, U'ä'},
      {0x7C, U'ö'},
      {0xE5, U'å'},
      {0x7D, U'ü'}}},
    // Italian
    {{{0xA3, U'£'},
      {0x24, U'$'},
      {0x91, U'é'},
      {0x60, U'°'},
      {0xCC, U'ç'},
      {0x82, U'→'},
      {0x83, U'↑'},
      {0x23, U'#'},
      {0xC1, U'ù'},
      {0xC2, U'à'},
      {0xF2, U'ò'},
      {0xC9, U'è'},
      {0xEC, U'ì'}}},
    // French
    {{{0x91, U'é'},
      {0xD4, U'ï'},
      {0xC2, U'à'},
      {0xDB, U'ë'},
      {0xDC, U'ê'},
      {0xC1, U'ù'},
      {0xDE, U'î'},
      {0x8F, U'#'},
      {0xC9, U'è'},
      {0xD2, U'â'},
      {0xD8, U'ô'},
      {0xD9, U'û'},
      {0xCC, U'ç'}}},
    // Portuguese, Spanish
    {{{0xCC, U'ç'},
      {0x24, U'$'},
      {0xA1, U'¡'},
      {0xE1, U'á'},
      {0x91, U'é'},
      {0xED, U'í'},
      {0xF3, U'ó'},
      {0xFA, U'ú'},
      {0xBF, U'¿'},
      {0x7D, U'ü'},
      {0xF1, U'ñ'},
      {0xC9, U'è'},
      {0xC2, U'à'}}},
    // Czech, Slovak
    {{{0x23, U'#'},
      {0x92, U'ů'},
      {0x93, U'č'},
      {0x94, U'ť'},
      {0x9E, U'ž'},
      {0xFD, U'ý'},
      {0xED, U'í'},
      {0x96, U'ř'},
      {0x91, U'é'},
      {0xE1, U'á'},
      {0x97, U'ě'},
      {0xFA, U'ú'},
      {0x9A, U'š'}}},
    // The basic set without a national subset
    {{{0x23, U'#'},
      {0x24, U'$'},
      {0x80, U'@'},
      {0x86, U'['},
      {0x87, U'\\'},
      {0x88, U']'},
      {0x5E, U'^'},
      {0x5F, U'_'},
      {0x89, U'`'},
      {0x8A, U'{'},
      {0x8B, U'|'},
      {0x8C, U'}'},
      {0x8D, U'~'}}},
}};

constexpr std::uint8_t kBlock = 0x7F;

// Index of ch in kNationalCodes, or kNationalCodes.size() when the subsets leave it alone.
std::size_t NationalIndex(std::uint8_t ch) {
  for (std::size_t i = 0; i < kNationalCodes.size(); ++i) {
    if (kNationalCodes[i] == ch) return i;
  }
  return kNationalCodes.size();
}

}  // namespace

SubsetCharacter TextCharacter(std::uint8_t charSet, std::uint8_t ch) {
  const std::size_t index = NationalIndex(ch);
  if (index < kNationalCodes.size()) {
    return kSubsets[charSet < kCharSetCount ? charSet : kCharSetGerman][index];
  }
  if (ch == kBlock) return {ch, U'■'};
  return {ch, static_cast<char32_t>(ch)};
}

char32_t TextFaceCharacter(std::uint8_t position) {
  if (position >= 0x20 && position <= 0x7F && NationalIndex(position) == kNationalCodes.size()) {
    return TextCharacter(kCharSetGerman, position).Unicode;
  }
  for (const Subset& subset : kSubsets) {
    for (const SubsetCharacter& character : subset) {
      if (character.FacePosition == position) return character.Unicode;
    }
  }
  return U'\uFFFD';
}

}  // namespace tolv
