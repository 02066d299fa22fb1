#include "ui/TextEncoding.h"

#include <gtest/gtest.h>

namespace tolv::ui {
namespace {

struct Conversion {
  const char* utf8;
  const char* windows1252;
};

TEST(TextEncoding, ConvertsTheProgramsCaptionsAndMarksTheUnconvertible) {
  const Conversion cases[] = {
      {"Rätseltaste", "R\xE4tseltaste"},
      {"Öffnen...",
       "\xD6"
       "ffnen..."},
      {"Uhrzeit übernehmen",
       "Uhrzeit \xFC"
       "bernehmen"},
      {"Vervielfältigung", "Vervielf\xE4ltigung"},
      {"Größe Ä Ü ß",
       "Gr\xF6\xDF"
       "e \xC4 \xDC \xDF"},
      {"© 2004-2006", "\xA9 2004-2006"},
      {"€ – „x“", "\x80 \x96 \x84x\x93"},
      {"中", "?"},        // not in the code page
      {"\xC3", "?"},      // sequence cut short
      {"\xC0\xAF", "?"},  // overlong form of '/'
      {"a\x80z", "a?z"},  // stray continuation byte
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToWindows1252(c.utf8), c.windows1252) << c.utf8;
}

TEST(TextEncoding, EveryDefinedByteSurvivesTheRoundTrip) {
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(byte)), undefined ? "?" : byte) << b;
    // Latin-1 bytes are their own code points: two UTF-8 bytes from 0x80 on.
    if (b >= 0xA0) {
      EXPECT_EQ(Windows1252ToUtf8(byte).size(), 2u) << b;
    }
  }
}

}  // namespace
}  // namespace tolv::ui
