// Damaged font files: the reader refuses them without reading outside the file, and the
// installer adds nothing for them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "faces/FaceRegistry.h"
#include "faces/FonReader.h"
#include "platform/FontFiles.h"
#include "support/RecordingFeed.h"

namespace tolv {
namespace {

std::vector<std::uint8_t> BuiltFile() { return testing::ReadFileBytes(TOLV_FONT_FILE); }

unsigned U16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
void PutU16(std::vector<std::uint8_t>& b, std::size_t at, unsigned v) {
  b[at] = static_cast<std::uint8_t>(v), b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// Where things lie in the built file, found through its own tables.
struct Layout {
  std::size_t ne = 0;
  std::size_t resourceTable = 0;
  std::size_t firstFontEntry = 0;  // the first RT_FONT name-info entry
  std::size_t firstFont = 0;       // the first FNT resource
  std::vector<std::size_t> fonts;  // every FNT resource
};

Layout Locate(const std::vector<std::uint8_t>& file) {
  Layout layout;
  layout.ne = U16(file, 0x3C);
  layout.resourceTable = layout.ne + U16(file, layout.ne + 0x24);
  const unsigned shift = U16(file, layout.resourceTable);
  std::size_t at = layout.resourceTable + 2;
  while (U16(file, at) != 0x8008) at += 8 + 12 * U16(file, at + 2);
  layout.firstFontEntry = at + 8;
  for (unsigned i = 0; i < U16(file, at + 2); ++i) {
    layout.fonts.push_back(static_cast<std::size_t>(U16(file, layout.firstFontEntry + 12 * i)) << shift);
  }
  layout.firstFont = layout.fonts.front();
  return layout;
}

// What GlyphFor and the raster canvas rely on in every face the reader returns.
void ExpectUsable(const std::vector<BitmapFace>& faces) {
  for (const BitmapFace& face : faces) {
    ASSERT_LE(face.FirstChar, face.LastChar);
    ASSERT_EQ(face.Glyphs.size(), face.LastChar - face.FirstChar + 1u);
    ASSERT_GE(face.DefaultChar, face.FirstChar);
    ASSERT_LE(face.DefaultChar, face.LastChar);
    for (const BitmapGlyph& glyph : face.Glyphs) {
      ASSERT_LE(glyph.Width, kMaxGlyphWidth);
      ASSERT_EQ(glyph.Rows.size(), face.PixelHeight);
    }
  }
}

TEST(FonReader, ReadsTheBuiltFile) {
  std::optional<std::vector<BitmapFace>> faces = ReadFonFile(BuiltFile());
  ASSERT_TRUE(faces.has_value());
  EXPECT_EQ(faces->size(), 5u);
  ExpectUsable(*faces);
}

TEST(FonReader, RefusesEveryDamagedStructure) {
  const std::vector<std::uint8_t> good = BuiltFile();
  ASSERT_GT(good.size(), 1000u);
  const Layout at = Locate(good);
  const std::size_t fnt = at.firstFont;
  struct Case {
    const char* what;
    std::size_t offset;
    unsigned value;  // written as a 16-bit word
  } cases[] = {
      {"no MZ signature", 0, 0x5A4E},
      {"NE header beyond the end", 0x3C, 0xFFF0},
      {"no NE signature", at.ne, 0x4550},
      {"resource table beyond the end", at.ne + 0x24, 0xFFF0},
      {"alignment shift above 16", at.resourceTable, 17},
      {"more fonts than the table holds", at.firstFontEntry - 6, 0x7FFF},
      {"font resource beyond the end", at.firstFontEntry, 0xFFFF},
      {"FNT version 1", fnt, 0x0100},
      {"vector font", fnt + 66, 1},
      {"declared size beyond the resource", fnt + 2, 0xFFFF},
      {"declared size smaller than the header", fnt + 2, 100},
      {"no pixel height", fnt + 88, 0},
      {"first character after the last", fnt + 95, 0x10FF},
      {"default character after the last", fnt + 96, 0x4030},
      {"face name beyond the font", fnt + 105, 0xFFFF},
      {"glyph wider than 32 pixels", fnt + 118, 33},
      {"glyph bits beyond the font", fnt + 120, 0xFFF0},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> damaged = good;
    PutU16(damaged, c.offset, c.value);
    EXPECT_FALSE(ReadFonFile(damaged).has_value()) << c.what;
  }
}

TEST(FonReader, RefusesAFaceNameWithoutEnd) {
  std::vector<std::uint8_t> damaged = BuiltFile();
  const std::size_t fnt = Locate(damaged).firstFont;
  const std::size_t name = fnt + (damaged[fnt + 105] | (damaged[fnt + 106] << 8));
  for (std::size_t i = name; i < fnt + U16(damaged, fnt + 2); ++i) damaged[i] = 'A';
  EXPECT_FALSE(ReadFonFile(damaged).has_value());
}

// Every byte that holds structure rather than glyph pixels: the module's headers and tables up
// to the first font, and each font's header and character table.
std::vector<std::size_t> StructureBytes(const std::vector<std::uint8_t>& file) {
  const Layout layout = Locate(file);
  std::vector<std::size_t> bytes;
  for (std::size_t i = 0; i < layout.firstFont; ++i) bytes.push_back(i);
  for (std::size_t font : layout.fonts) {
    const std::size_t characters = file[font + 96] - file[font + 95] + 2u;
    for (std::size_t i = font; i < font + 118 + 4 * characters; ++i) bytes.push_back(i);
  }
  return bytes;
}

TEST(FonReader, EveryTruncationFailsOrReadsTheWholeFile) {
  const std::vector<std::uint8_t> good = BuiltFile();
  const std::optional<std::vector<BitmapFace>> whole = ReadFonFile(good);
  ASSERT_TRUE(whole.has_value());
  std::vector<std::size_t> lengths = StructureBytes(good);
  for (std::size_t length = good.size() - 64; length < good.size(); ++length) lengths.push_back(length);
  for (std::size_t length : lengths) {
    std::optional<std::vector<BitmapFace>> faces = ReadFonFile(std::span(good.data(), length));
    if (faces) {
      EXPECT_EQ(*faces, *whole) << "length " << length;
    }
    if (length < good.size() * 9 / 10) {
      EXPECT_FALSE(faces.has_value()) << "length " << length;
    }
  }
}

TEST(FonReader, EveryCorruptedStructureByteGivesUsableFacesOrNone) {
  const std::vector<std::uint8_t> good = BuiltFile();
  std::vector<std::uint8_t> damaged = good;
  const std::uint8_t flips[] = {0xFF, 0x80, 0x01};  // all bits, the top bit, the bottom bit in turn
  for (std::size_t i : StructureBytes(good)) {
    damaged[i] = static_cast<std::uint8_t>(good[i] ^ flips[i % 3]);
    if (std::optional<std::vector<BitmapFace>> faces = ReadFonFile(damaged)) ExpectUsable(*faces);
    damaged[i] = good[i];
  }
}

class FontInstaller : public ::testing::Test {
 protected:
  void TearDown() override {
    while (platform::RemoveFontFile(TOLV_FONT_FILE)) {
    }
    std::remove(damagedPath_.c_str());
  }
  const std::string damagedPath_ = std::string(TOLV_TEST_OUTPUT_DIR) + "/damaged.fon";
};

TEST_F(FontInstaller, AddsTheFiveFacesAndRemovesThem) {
  EXPECT_EQ(platform::AddFontFile(TOLV_FONT_FILE), 5);
  EXPECT_NE(FaceRegistry::Instance().Find("vtgrafik640X480", 15), nullptr);  // any case, as GDI
  EXPECT_TRUE(platform::RemoveFontFile(TOLV_FONT_FILE));
  EXPECT_EQ(FaceRegistry::Instance().Find("VTGRAFIK640x480", 15), nullptr);
  EXPECT_FALSE(platform::RemoveFontFile(TOLV_FONT_FILE));
}

TEST_F(FontInstaller, AFileAddedTwiceStaysUntilRemovedTwice) {
  ASSERT_EQ(platform::AddFontFile(TOLV_FONT_FILE), 5);
  ASSERT_EQ(platform::AddFontFile(TOLV_FONT_FILE), 5);
  EXPECT_TRUE(platform::RemoveFontFile(TOLV_FONT_FILE));
  EXPECT_NE(FaceRegistry::Instance().Find("VTTEXT640x480", 15), nullptr);
  EXPECT_TRUE(platform::RemoveFontFile(TOLV_FONT_FILE));
  EXPECT_EQ(FaceRegistry::Instance().Find("VTTEXT640x480", 15), nullptr);
}

TEST_F(FontInstaller, AddsNothingForAMissingOrDamagedFile) {
  EXPECT_EQ(platform::AddFontFile(std::string(TOLV_TEST_OUTPUT_DIR) + "/no-such.fon"), 0);
  std::vector<std::uint8_t> damaged = BuiltFile();
  damaged.resize(damaged.size() / 2);
  std::ofstream(damagedPath_, std::ios::binary)
      .write(reinterpret_cast<const char*>(damaged.data()), static_cast<std::streamsize>(damaged.size()));
  EXPECT_EQ(platform::AddFontFile(damagedPath_), 0);
  EXPECT_FALSE(platform::RemoveFontFile(damagedPath_));
  EXPECT_EQ(FaceRegistry::Instance().Find("VTTEXT640x480", 15), nullptr);
}

}  // namespace
}  // namespace tolv
