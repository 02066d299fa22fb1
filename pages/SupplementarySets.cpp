#include "pages/SupplementarySets.h"

#include "pages/Enhancements.h"
#include "pages/NationalSubsets.h"

namespace tolv {
namespace {

// Latin G2 supplementary set (ETS 300 706 table 37), codes 0x20..0x7F. Column 4 holds the
// fifteen diacritical marks by themselves, in the order of the marks 1..15.
constexpr std::array<char32_t, 96> kLatinG2 = {
    U' ', U'¡', U'¢', U'£', U'$', U'¥', U'#', U'§', U'¤', U'‘', U'“', U'«', U'←', U'↑', U'→', U'↓',
    U'°', U'±', U'²', U'³', U'×', U'µ', U'¶', U'·', U'÷', U'’', U'”', U'»', U'¼', U'½', U'¾', U'¿',
    U' ', U'ˋ', U'ˊ', U'ˆ', U'˜', U'ˉ', U'˘', U'˙', U'¨', U'ˌ', U'˚', U'¸', U'_', U'˝', U'˛', U'ˇ',
    U'―', U'¹', U'®', U'©', U'™', U'♪', U'₠', U'‰', U'α', U' ', U' ', U' ', U'⅛', U'⅜', U'⅝', U'⅞',
    U'Ω', U'Æ', U'Đ', U'ª', U'Ħ', U' ', U'Ĳ', U'Ŀ', U'Ł', U'Ø', U'Œ', U'º', U'Þ', U'Ŧ', U'Ŋ', U'ŉ',
    U'ĸ', U'æ', U'đ', U'ð', U'ħ', U'ı', U'ĳ', U'ŀ', U'ł', U'ø', U'œ', U'ß', U'þ', U'ŧ', U'ŋ', U'■',
};

// G3 smooth mosaics and line drawing set (ETS 300 706 table 48), codes 0x20..0x7F, as the
// characters of Unicode's legacy computing block made for them, or the nearest box drawing.
constexpr std::array<char32_t, 96> kG3 = {
    U'\U0001FB3C', U'\U0001FB3D', U'\U0001FB3E', U'\U0001FB3F', U'\U0001FB40', U'◣',          U'\U0001FB41',
    U'\U0001FB42', U'\U0001FB43', U'\U0001FB44', U'\U0001FB45', U'\U0001FB46', U'\U0001FB68', U'\U0001FB69',
    U'\U0001FB70', U'▒',          U'\U0001FB47', U'\U0001FB48', U'\U0001FB49', U'\U0001FB4A', U'\U0001FB4B',
    U'◢',          U'\U0001FB4C', U'\U0001FB4D', U'\U0001FB4E', U'\U0001FB4F', U'\U0001FB50', U'\U0001FB51',
    U'\U0001FB6A', U'\U0001FB6B', U'\U0001FB75', U'█',          U'┷',          U'┯',          U'┝',
    U'┥',          U'\U0001FBA4', U'\U0001FBA5', U'\U0001FBA6', U'\U0001FBA7', U'\U0001FBA0', U'\U0001FBA1',
    U'\U0001FBA2', U'\U0001FBA3', U'┿',          U'•',          U'●',          U'○',          U'│',
    U'─',          U'┌',          U'┐',          U'└',          U'┘',          U'├',          U'┤',
    U'┬',          U'┴',          U'┼',          U'⭢',        U'⭠',        U'⭡',        U'⭣',
    U' ',          U'\U0001FB52', U'\U0001FB53', U'\U0001FB54', U'\U0001FB55', U'\U0001FB56', U'◥',
    U'\U0001FB57', U'\U0001FB58', U'\U0001FB59', U'\U0001FB5A', U'\U0001FB5B', U'\U0001FB5C', U'\U0001FB6C',
    U'\U0001FB6D', U' ',          U' ',          U'\U0001FB5D', U'\U0001FB5E', U'\U0001FB5F', U'\U0001FB60',
    U'\U0001FB61', U'◤',          U'\U0001FB62', U'\U0001FB63', U'\U0001FB64', U'\U0001FB65', U'\U0001FB66',
    U'\U0001FB67', U'\U0001FB6E', U'\U0001FB6F', U' ',          U' ',
};

constexpr std::array<char32_t, 16> kCombiningMarks = {
    0,         U'\u0300', U'\u0301', U'\u0302', U'\u0303', U'\u0304', U'\u0306', U'\u0307',
    U'\u0308', U'\u0329', U'\u030A', U'\u0327', U'\u0332', U'\u030B', U'\u0328', U'\u030C',
};

const ComposedLetter* FindComposed(std::uint8_t mark, std::uint8_t base) {
  for (const ComposedLetter& letter : kComposedLetters) {
    if (letter.Mark == mark && static_cast<std::uint8_t>(letter.Base) == base) return &letter;
  }
  return nullptr;
}

}  // namespace

const std::array<ComposedLetter, kComposedLetterCount> kComposedLetters = {{
    {1, 'A', U'\u00C0'},  {2, 'A', U'\u00C1'},  {3, 'A', U'\u00C2'},  {4, 'A', U'\u00C3'},  {8, 'A', U'\u00C4'},
    {10, 'A', U'\u00C5'}, {11, 'C', U'\u00C7'}, {1, 'E', U'\u00C8'},  {2, 'E', U'\u00C9'},  {3, 'E', U'\u00CA'},
    {8, 'E', U'\u00CB'},  {1, 'I', U'\u00CC'},  {2, 'I', U'\u00CD'},  {3, 'I', U'\u00CE'},  {8, 'I', U'\u00CF'},
    {4, 'N', U'\u00D1'},  {1, 'O', U'\u00D2'},  {2, 'O', U'\u00D3'},  {3, 'O', U'\u00D4'},  {4, 'O', U'\u00D5'},
    {8, 'O', U'\u00D6'},  {1, 'U', U'\u00D9'},  {2, 'U', U'\u00DA'},  {3, 'U', U'\u00DB'},  {8, 'U', U'\u00DC'},
    {2, 'Y', U'\u00DD'},  {1, 'a', U'\u00E0'},  {2, 'a', U'\u00E1'},  {3, 'a', U'\u00E2'},  {4, 'a', U'\u00E3'},
    {8, 'a', U'\u00E4'},  {10, 'a', U'\u00E5'}, {11, 'c', U'\u00E7'}, {1, 'e', U'\u00E8'},  {2, 'e', U'\u00E9'},
    {3, 'e', U'\u00EA'},  {8, 'e', U'\u00EB'},  {1, 'i', U'\u00EC'},  {2, 'i', U'\u00ED'},  {3, 'i', U'\u00EE'},
    {8, 'i', U'\u00EF'},  {4, 'n', U'\u00F1'},  {1, 'o', U'\u00F2'},  {2, 'o', U'\u00F3'},  {3, 'o', U'\u00F4'},
    {4, 'o', U'\u00F5'},  {8, 'o', U'\u00F6'},  {1, 'u', U'\u00F9'},  {2, 'u', U'\u00FA'},  {3, 'u', U'\u00FB'},
    {8, 'u', U'\u00FC'},  {2, 'y', U'\u00FD'},  {8, 'y', U'\u00FF'},  {5, 'A', U'\u0100'},  {5, 'a', U'\u0101'},
    {6, 'A', U'\u0102'},  {6, 'a', U'\u0103'},  {14, 'A', U'\u0104'}, {14, 'a', U'\u0105'}, {2, 'C', U'\u0106'},
    {2, 'c', U'\u0107'},  {3, 'C', U'\u0108'},  {3, 'c', U'\u0109'},  {7, 'C', U'\u010A'},  {7, 'c', U'\u010B'},
    {15, 'C', U'\u010C'}, {15, 'c', U'\u010D'}, {15, 'D', U'\u010E'}, {15, 'd', U'\u010F'}, {5, 'E', U'\u0112'},
    {5, 'e', U'\u0113'},  {6, 'E', U'\u0114'},  {6, 'e', U'\u0115'},  {7, 'E', U'\u0116'},  {7, 'e', U'\u0117'},
    {14, 'E', U'\u0118'}, {14, 'e', U'\u0119'}, {15, 'E', U'\u011A'}, {15, 'e', U'\u011B'}, {3, 'G', U'\u011C'},
    {3, 'g', U'\u011D'},  {6, 'G', U'\u011E'},  {6, 'g', U'\u011F'},  {7, 'G', U'\u0120'},  {7, 'g', U'\u0121'},
    {11, 'G', U'\u0122'}, {11, 'g', U'\u0123'}, {3, 'H', U'\u0124'},  {3, 'h', U'\u0125'},  {4, 'I', U'\u0128'},
    {4, 'i', U'\u0129'},  {5, 'I', U'\u012A'},  {5, 'i', U'\u012B'},  {6, 'I', U'\u012C'},  {6, 'i', U'\u012D'},
    {14, 'I', U'\u012E'}, {14, 'i', U'\u012F'}, {7, 'I', U'\u0130'},  {3, 'J', U'\u0134'},  {3, 'j', U'\u0135'},
    {11, 'K', U'\u0136'}, {11, 'k', U'\u0137'}, {2, 'L', U'\u0139'},  {2, 'l', U'\u013A'},  {11, 'L', U'\u013B'},
    {11, 'l', U'\u013C'}, {15, 'L', U'\u013D'}, {15, 'l', U'\u013E'}, {2, 'N', U'\u0143'},  {2, 'n', U'\u0144'},
    {11, 'N', U'\u0145'}, {11, 'n', U'\u0146'}, {15, 'N', U'\u0147'}, {15, 'n', U'\u0148'}, {5, 'O', U'\u014C'},
    {5, 'o', U'\u014D'},  {6, 'O', U'\u014E'},  {6, 'o', U'\u014F'},  {13, 'O', U'\u0150'}, {13, 'o', U'\u0151'},
    {2, 'R', U'\u0154'},  {2, 'r', U'\u0155'},  {11, 'R', U'\u0156'}, {11, 'r', U'\u0157'}, {15, 'R', U'\u0158'},
    {15, 'r', U'\u0159'}, {2, 'S', U'\u015A'},  {2, 's', U'\u015B'},  {3, 'S', U'\u015C'},  {3, 's', U'\u015D'},
    {11, 'S', U'\u015E'}, {11, 's', U'\u015F'}, {15, 'S', U'\u0160'}, {15, 's', U'\u0161'}, {11, 'T', U'\u0162'},
    {11, 't', U'\u0163'}, {15, 'T', U'\u0164'}, {15, 't', U'\u0165'}, {4, 'U', U'\u0168'},  {4, 'u', U'\u0169'},
    {5, 'U', U'\u016A'},  {5, 'u', U'\u016B'},  {6, 'U', U'\u016C'},  {6, 'u', U'\u016D'},  {10, 'U', U'\u016E'},
    {10, 'u', U'\u016F'}, {13, 'U', U'\u0170'}, {13, 'u', U'\u0171'}, {14, 'U', U'\u0172'}, {14, 'u', U'\u0173'},
    {3, 'W', U'\u0174'},  {3, 'w', U'\u0175'},  {3, 'Y', U'\u0176'},  {3, 'y', U'\u0177'},  {8, 'Y', U'\u0178'},
    {2, 'Z', U'\u0179'},  {2, 'z', U'\u017A'},  {7, 'Z', U'\u017B'},  {7, 'z', U'\u017C'},  {15, 'Z', U'\u017D'},
    {15, 'z', U'\u017E'}, {15, 'A', U'\u01CD'}, {15, 'a', U'\u01CE'}, {15, 'I', U'\u01CF'}, {15, 'i', U'\u01D0'},
    {15, 'O', U'\u01D1'}, {15, 'o', U'\u01D2'}, {15, 'U', U'\u01D3'}, {15, 'u', U'\u01D4'}, {15, 'G', U'\u01E6'},
    {15, 'g', U'\u01E7'}, {15, 'K', U'\u01E8'}, {15, 'k', U'\u01E9'}, {14, 'O', U'\u01EA'}, {14, 'o', U'\u01EB'},
    {15, 'j', U'\u01F0'}, {2, 'G', U'\u01F4'},  {2, 'g', U'\u01F5'},  {1, 'N', U'\u01F8'},  {1, 'n', U'\u01F9'},
    {15, 'H', U'\u021E'}, {15, 'h', U'\u021F'}, {7, 'A', U'\u0226'},  {7, 'a', U'\u0227'},  {11, 'E', U'\u0228'},
    {11, 'e', U'\u0229'}, {7, 'O', U'\u022E'},  {7, 'o', U'\u022F'},  {5, 'Y', U'\u0232'},  {5, 'y', U'\u0233'},
}};

char32_t LatinG2Character(std::uint8_t code) { return code >= 0x20 && code <= 0x7F ? kLatinG2[code - 0x20] : U' '; }

char32_t G3Character(std::uint8_t code) { return code >= 0x20 && code <= 0x7F ? kG3[code - 0x20] : U' '; }

char32_t CombiningMark(std::uint8_t mark) { return mark < kCombiningMarks.size() ? kCombiningMarks[mark] : 0; }

std::array<char32_t, 2> PlacedCharacterText(std::uint8_t charSet, std::uint8_t code) {
  if (charSet == kPlacedG2) return {LatinG2Character(code), 0};
  if (charSet == kPlacedG3) return {G3Character(code), 0};
  const auto mark = static_cast<std::uint8_t>(charSet - kPlacedG0);
  if (const ComposedLetter* letter = FindComposed(mark, code)) return {letter->Unicode, 0};
  return {TextCharacter(kCharSetBasic, code).Unicode, CombiningMark(mark)};
}

FaceGlyph GlyphOfCell(const TVtCell& cell) {
  if (cell.CharSet == kPlacedG2) return {Face::Supplementary, cell.Ch};
  if (cell.CharSet == kPlacedG3) return {Face::Supplementary, static_cast<std::uint8_t>(cell.Ch + kG3FaceOffset)};
  if (IsPlacedCharSet(cell.CharSet)) {
    const auto mark = static_cast<std::uint8_t>(cell.CharSet - kPlacedG0);
    if (const ComposedLetter* letter = FindComposed(mark, cell.Ch)) {
      return {Face::Accents, static_cast<std::uint8_t>(kFirstAccentPosition + (letter - kComposedLetters.data()))};
    }
    // A mark Unicode does not compose with this letter is left off the picture (the text keeps it).
    return {Face::Text, TextCharacter(kCharSetBasic, cell.Ch).FacePosition};
  }
  if (cell.Mosaic != 1) return {Face::Text, cell.Ch};
  return {(cell.Flags & kSeparated) != 0 ? Face::Separated : Face::Mosaic, cell.Ch};
}

}  // namespace tolv
