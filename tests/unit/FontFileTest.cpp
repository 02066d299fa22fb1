// tolv.fon as the build wrote it, read back with the installer's reader.
#include <gtest/gtest.h>

#include <iterator>
#include <map>

#include "faces/FonReader.h"
#include "fonts/FonWriter.h"
#include "fonts/GlyphSource.h"
#include "fonts/TeletextFaces.h"
#include "pages/NationalSubsets.h"
#include "pages/SupplementarySets.h"
#include "support/RecordingFeed.h"

namespace tolv {
namespace {

std::vector<BitmapFace> BuiltFaces() {
  std::vector<std::uint8_t> file = testing::ReadFileBytes(TOLV_FONT_FILE);
  std::optional<std::vector<BitmapFace>> faces = ReadFonFile(file);
  EXPECT_TRUE(faces.has_value()) << TOLV_FONT_FILE;
  return faces.value_or(std::vector<BitmapFace>());
}

fonts::GlyphSource CommittedGlyphSource() {
  std::optional<std::string> text = fonts::ReadTextFile(TOLV_TEXT_FACE_SOURCE);
  EXPECT_TRUE(text.has_value()) << TOLV_TEXT_FACE_SOURCE;
  return fonts::ParseGlyphSource(text.value_or(""));
}

bool Blank(const BitmapGlyph& glyph) {
  for (std::uint32_t row : glyph.Rows)
    if (row != 0) return false;
  return true;
}

// Every character a national option subset draws has a glyph of its own: drawn, and unlike the
// glyph of any other character.
TEST(FontFile, TheTextFaceDrawsEveryCharacterOfEverySubset) {
  const std::vector<BitmapFace> faces = BuiltFaces();
  ASSERT_FALSE(faces.empty());
  std::map<std::uint8_t, char32_t> drawn;  // face position -> character
  for (std::uint8_t set = 0; set < kCharSetCount; ++set) {
    for (unsigned code = 0x21; code < 0x80; ++code) {
      const SubsetCharacter c = TextCharacter(set, static_cast<std::uint8_t>(code));
      EXPECT_FALSE(Blank(faces[0].GlyphFor(c.FacePosition))) << std::hex << int{c.FacePosition};
      drawn[c.FacePosition] = c.Unicode;
    }
  }
  for (auto a = drawn.begin(); a != drawn.end(); ++a) {
    for (auto b = std::next(a); b != drawn.end(); ++b) {
      if (a->second == b->second) continue;  // the same character twice may share a drawing
      EXPECT_NE(faces[0].GlyphFor(a->first).Rows, faces[0].GlyphFor(b->first).Rows)
          << std::hex << int{a->first} << " and " << int{b->first} << " look alike";
    }
  }
}

TEST(FontFile, HoldsTheFiveFixedPitchSymbolFaces) {
  const std::vector<BitmapFace> faces = BuiltFaces();
  ASSERT_EQ(faces.size(), 5u);
  const char* names[] = {"VTTEXT640x480", "VTGRAFIK640x480", "VTGERASTERT640x480", "VTAKZENT640x480",
                         "VTZUSATZ640x480"};
  for (std::size_t i = 0; i < faces.size(); ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(faces[i].Name, names[i]);
    EXPECT_EQ(faces[i].PixelHeight, 15);
    EXPECT_EQ(faces[i].PixelWidth, 14);
    EXPECT_EQ(faces[i].CharSet, kSymbolCharSet);
    EXPECT_EQ(faces[i].FirstChar, 0x00);  // a glyph for every byte, none left to substitute
    EXPECT_EQ(faces[i].LastChar, 0xFF);
    for (const BitmapGlyph& glyph : faces[i].Glyphs) EXPECT_EQ(glyph.Width, 14);
  }
}

TEST(FontFile, TextFaceEqualsTheGlyphSource) {
  const fonts::GlyphSource source = CommittedGlyphSource();
  ASSERT_EQ(source.Error, "");
  const std::vector<BitmapFace> faces = BuiltFaces();
  ASSERT_FALSE(faces.empty());
  const BitmapFace& text = faces[0];
  for (unsigned code = text.FirstChar; code <= text.LastChar; ++code) {
    SCOPED_TRACE(code);
    auto drawn = source.Glyphs.find(static_cast<std::uint8_t>(code));
    const BitmapGlyph& read = text.GlyphFor(static_cast<std::uint8_t>(code));
    if (drawn != source.Glyphs.end()) {
      EXPECT_EQ(read, drawn->second);
    } else {
      EXPECT_TRUE(Blank(read));
    }
  }
}

TEST(FontFile, TextFaceCoversEveryPositionTheRendererAsksFor) {
  const std::vector<BitmapFace> faces = BuiltFaces();
  ASSERT_FALSE(faces.empty());
  std::vector<std::uint8_t> positions = {0x91, 0xD4, 0xC2, 0xDB, 0xDC, 0xC1, 0xDE, 0x8F, 0xC9, 0xD2, 0xD8, 0xD9, 0xCC};
  for (unsigned code = 0x21; code <= 0x7F; ++code) positions.push_back(static_cast<std::uint8_t>(code));
  for (std::uint8_t code : positions) {
    EXPECT_FALSE(Blank(faces[0].GlyphFor(code))) << "position " << int(code);
  }
  EXPECT_TRUE(Blank(faces[0].GlyphFor(0x20)));
}

// The rule stated per pixel: which of the six blocks a pixel lies in, and whether it lies in
// the gap that separated mosaics keep round each block.
bool MosaicPixel(std::uint8_t code, unsigned x, unsigned y, bool separated) {
  static const std::uint8_t kBitOfBlock[3][2] = {{0x01, 0x02}, {0x04, 0x08}, {0x10, 0x40}};
  const bool blockSet = (code & kBitOfBlock[y / 5][x / 7]) != 0;
  const bool inGap = x % 7 == 0 || x % 7 == 6 || y % 5 == 0 || y % 5 == 4;
  return blockSet && !(separated && inGap);
}

TEST(FontFile, EveryMosaicGlyphFollowsItsSixelBits) {
  const std::vector<BitmapFace> faces = BuiltFaces();
  ASSERT_EQ(faces.size(), 5u);
  for (bool separated : {false, true}) {
    const BitmapFace& face = faces[separated ? 2 : 1];
    for (unsigned position = 0x00; position <= 0xFF; ++position) {
      const BitmapGlyph& glyph = face.GlyphFor(static_cast<std::uint8_t>(position));
      if (position < 0x20 || position > 0x5F) {
        EXPECT_TRUE(Blank(glyph)) << face.Name << " position " << position;
        continue;
      }
      const std::uint8_t code = static_cast<std::uint8_t>(position < 0x40 ? position : position + 0x20);
      for (unsigned y = 0; y < 15; ++y) {
        for (unsigned x = 0; x < 14; ++x) {
          ASSERT_EQ(glyph.PixelSet(x, y), MosaicPixel(code, x, y, separated))
              << face.Name << " code " << int(code) << " pixel " << x << "," << y;
        }
      }
    }
  }
}

// The faces of the characters packets X/26 place: every accented letter drawn, with its mark
// (unlike its base letter), every G2 and G3 character that is not a space drawn, and each
// upper smooth mosaic exactly the rest of the cell of its lower partner.
TEST(FontFile, TheFacesOfPlacedCharactersDrawEveryCharacter) {
  const std::vector<BitmapFace> faces = BuiltFaces();
  ASSERT_EQ(faces.size(), 5u);
  const BitmapFace& text = faces[0];
  const BitmapFace& accents = faces[3];
  const BitmapFace& supplementary = faces[4];
  for (unsigned i = 0; i < kComposedLetters.size(); ++i) {
    const BitmapGlyph& glyph = accents.GlyphFor(static_cast<std::uint8_t>(kFirstAccentPosition + i));
    EXPECT_NE(glyph.Rows, text.GlyphFor(static_cast<std::uint8_t>(kComposedLetters[i].Base)).Rows)
        << "composed letter " << i;
  }
  for (unsigned code = 0x21; code < 0x80; ++code) {
    const auto c = static_cast<std::uint8_t>(code);
    EXPECT_EQ(Blank(supplementary.GlyphFor(c)), LatinG2Character(c) == U' ') << "G2 " << std::hex << code;
    EXPECT_EQ(Blank(supplementary.GlyphFor(c + kG3FaceOffset)), G3Character(c) == U' ') << "G3 " << std::hex << code;
  }
  for (unsigned lower : {0x20u, 0x30u}) {
    for (unsigned i = 0; i < 12; ++i) {
      const BitmapGlyph& a = supplementary.GlyphFor(static_cast<std::uint8_t>(lower + i + kG3FaceOffset));
      const BitmapGlyph& b = supplementary.GlyphFor(static_cast<std::uint8_t>(lower + 0x40 + i + kG3FaceOffset));
      for (unsigned y = 0; y < 15; ++y) {
        for (unsigned x = 0; x < 14; ++x) {
          ASSERT_NE(a.PixelSet(x, y), b.PixelSet(x, y))
              << std::hex << lower + i << " pixel " << std::dec << x << "," << y;
        }
      }
    }
  }
}

TEST(GlyphSource, RefusesMalformedGlyphs) {
  auto glyph = [](const std::string& header, unsigned rowCount, const std::string& row) {
    std::string text = header + "\n";
    for (unsigned i = 0; i < rowCount; ++i) text += row + "\n";
    return text;
  };
  const std::string good = glyph("glyph 0x41 A", 15, "..............");
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"short row", glyph("glyph 0x41 A", 15, ".............")},
      {"long row", glyph("glyph 0x41 A", 15, "...............")},
      {"foreign pixel", glyph("glyph 0x41 A", 15, ".......x......")},
      {"too few rows", glyph("glyph 0x41 A", 14, "..............")},
      {"no code", glyph("glyph A", 15, "..............")},
      {"code above 0xFF", glyph("glyph 0x141 A", 15, "..............")},
      {"twice the same code", good + good},
      {"stray text", good + "stray\n"},
  };
  for (const Case& c : cases) EXPECT_NE(fonts::ParseGlyphSource(c.text).Error, "") << c.what;
  const fonts::GlyphSource parsed = fonts::ParseGlyphSource("# comment\r\n\n" + good);
  EXPECT_EQ(parsed.Error, "");
  EXPECT_EQ(parsed.Glyphs.size(), 1u);
}

// Glyphs wider than one byte column and of variable pitch survive the FNT layout of byte
// columns; the teletext faces use only 14-pixel glyphs.
TEST(FonWriter, KeepsGlyphsOfAnyWidthUpTo32Pixels) {
  BitmapFace face;
  face.Name = "Widths";
  face.PixelHeight = 3;
  face.FirstChar = 0x41;
  face.LastChar = 0x44;
  face.DefaultChar = 0x41;
  face.Glyphs = {{1, {0x80000000u, 0, 0x80000000u}},
                 {9, {0xFF800000u, 0x00800000u, 0x80000000u}},
                 {20, {0xFFFFF000u, 0xA5A5A000u, 0x00001000u}},
                 {32, {0xFFFFFFFFu, 0x80000001u, 0x12345678u}}};
  std::optional<std::vector<BitmapFace>> read = ReadFonFile(fonts::WriteFonFile({face}, "TEST"));
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->size(), 1u);
  EXPECT_EQ(read->front(), face);
}

}  // namespace
}  // namespace tolv
