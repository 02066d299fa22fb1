// The national option subsets, and a page given out as text: the characters the viewer draws.
#include "pages/PageText.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pages/NationalSubsets.h"
#include "pages/RowDecoder.h"
#include "tests/support/RecordingFeed.h"
#include "tests/unit/SamplePaths.h"

namespace tolv {
namespace {

// Each set's characters at # $ @ [ \ ] ^ _ ` { | } ~, after the national option tables of
// EN 300 706.
TEST(NationalSubsets, EachSetHasItsThirteenCharacters) {
  const char* const expected[kCharSetCount] = {
      "£$@←½→↑#―¼‖¾÷",   // 0 English
      "#$§ÄÖÜ^_°äöüß",   // 1 German
      "#¤ÉÄÖÅÜ_éäöåü",   // 2 Swedish, Finnish, Hungarian
      "£$é°ç→↑#ùàòèì",   // 3 Italian
      "éïàëêùî#èâôûç",   // 4 French
      "ç$¡áéíóú¿üñèà",   // 5 Portuguese, Spanish
      "#ůčťžýířéáěúš",   // 6 Czech, Slovak
      "#$@[\\]^_`{|}~",  // 7 no subset: the basic set
  };
  for (std::uint8_t set = 0; set < kCharSetCount; ++set) {
    std::string text;
    for (std::uint8_t code : kNationalCodes) AppendUtf8(text, TextCharacter(set, code).Unicode);
    EXPECT_EQ(text, expected[set]) << "set " << int{set};
  }
  EXPECT_EQ(TextCharacter(kCharSetEnglish, 'A').Unicode, U'A') << "the other codes are every set's own";
  EXPECT_EQ(TextCharacter(200, 0x5B).Unicode, U'Ä') << "an unknown set reads as German";
}

// Drawing and text agree: a face position holds one character, whichever set put it there, and
// German stands at its own codes, as the face has always drawn it.
TEST(NationalSubsets, AFacePositionHoldsOneCharacter) {
  for (std::uint8_t set = 0; set < kCharSetCount; ++set) {
    for (unsigned code = 0x20; code < 0x80; ++code) {
      const SubsetCharacter c = TextCharacter(set, static_cast<std::uint8_t>(code));
      EXPECT_EQ(TextFaceCharacter(c.FacePosition), c.Unicode) << int{set} << " " << std::hex << code;
      if (set == kCharSetGerman) {
        EXPECT_EQ(c.FacePosition, code);
      }
    }
  }
}

void SetRaw(CVTPage& page, unsigned row, const std::vector<std::uint8_t>& bytes) {
  auto raw = NewRow();
  std::copy(bytes.begin(), bytes.end(), raw->begin());
  page.StoreRow(row, std::move(raw));
}

TEST(PageText, OneCharacterPerCellAsTheViewerShowsIt) {
  CVTPage page;
  page.CharSet = kCharSetEnglish;
  SetRaw(page, 1, {'#', '1', 0x60, 0x60, ' ', 'x', ' ', ' '});
  SetRaw(page, 2, {0x11, 0x21, 0x7F, 0x20, 0x1A, 0x35, 0x41, 0x60});  // mosaics, a separated one
  SetRaw(page, 3, {'a', 0x18, 'S', 'e', 'c', 'r', 'e', 't', 0x07, 'b'});
  SetRaw(page, 4, {'u', 'p', 0x0D, 'B', 'i', 'g'});
  SetRaw(page, 5, {'l', 'o', 'w', 'e', 'r'});  // the lower half of row 4: its own bytes do not show
  SetRaw(page, 6, {'Z'});
  const std::vector<std::string> hidden = PageTextLines(page, false);
  ASSERT_EQ(hidden.size(), kRows);
  EXPECT_EQ(hidden[1], "£1―― x");
  EXPECT_EQ(hidden[2], " \U0001FB00█  ▌A\U0001FB1E");
  EXPECT_EQ(hidden[3], "a        b");
  EXPECT_EQ(hidden[4], "up Big");
  EXPECT_EQ(hidden[5], "");
  EXPECT_EQ(hidden[6], "Z");
  EXPECT_EQ(hidden[0], "") << "a row never received is blank";
  EXPECT_EQ(PageTextLines(page, true)[3], "a Secret b");
}

// Pages of real broadcasts, each in its own national option and with the characters its packets
// X/26 place, by a word the broadcaster wrote.
TEST(PageText, RealPagesInTheirOwnLetters) {
  struct Case {
    const char* recording;
    unsigned pid;  // 0 for a T42 file
    unsigned page;
    unsigned row;
    const char* text;
  };
  const Case cases[] = {
      {testing::kBbc, 0, 544, 6, " 1  (NE) Jarhead                  £1.93m"},
      {testing::kBbc, 0, 544, 4, " ―――――――――― Weekend 13-15 Jan ――――――――――"},
      {testing::kArd, 0x13F0, 100, 7, "   Neue Grünen-Doppelspitze gewählt. 106"},
      {testing::kAnimalPlanet, 0x003E, 691, 22, "   att hon var ute på en afrärsresa."},
      {testing::kRai, 0x0240, 204, 7, " Venerdì 21 gennaio, ore 20.45"},
      {testing::kArte, 0x042C, 100, 8, "   hommes en colère\" (Sidney Lumet) 431"},
      {testing::kArte, 0x042C, 100, 21, "   - Un documentaire édifiant ..... 483"},
      {testing::kArte, 0x042C, 406, 11, " Henri Xhonneux, \"Téléchat\" parodie"},
      // Characters the subsets lack, placed by packets X/26.
      {testing::kArte, 0x042C, 100, 1, "   20.50 DOUZE HOMMES EN COLÈRE (HD)"},
      {testing::kArte, 0x042C, 100, 3, "   22.25 LE SAUT PÉRILLEUX  (HD)"},
      {testing::kArte, 0x042C, 100, 19, "   480 BIENTÔT SUR ARTE"},
      {testing::kArd, 0x13F0, 799, 20, "    Så sæt ham et år ned, så han kan"},
      {testing::kArd, 0x13F0, 871, 20, " nachrichtenleicht@deutschlandfunk.de"},
  };
  std::map<std::string, std::unique_ptr<Reception>> receptions;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.recording) + " " + std::to_string(c.page));
    std::unique_ptr<Reception>& reception = receptions[c.recording];
    if (!reception) {
      reception = std::make_unique<Reception>();
      const std::string path = testing::SamplePath(c.recording);
      ASSERT_TRUE(c.pid == 0 ? testing::FeedT42(path, *reception)
                             : testing::FeedTransportStream(path, c.pid, *reception));
    }
    CVTPage* page = reception->AllPages().GetPage(c.page, 0, gmFirst);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(PageTextLines(*page, false)[c.row], c.text);
  }
}

}  // namespace
}  // namespace tolv
