// Pages as PNG files: exact pixels of the drawing, enlargement, failures, and real pages.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "faces/FonReader.h"
#include "pages/SupplementarySets.h"
#include "render/PagePng.h"
#include "support/RecordingFeed.h"

namespace tolv {
namespace {

struct RgbImage {
  unsigned Width = 0;
  unsigned Height = 0;
  std::vector<std::uint8_t> Pixels;  // R, G, B
};

std::optional<RgbImage> ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  RgbImage rgb{image.width, image.height, std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, rgb.Pixels.data(), 0, nullptr)) return std::nullopt;
  return rgb;
}

std::string OutputPath(const std::string& name) { return std::string(TOLV_TEST_OUTPUT_DIR) + "/" + name; }

std::unique_ptr<CVTPage> SamplePage() {
  std::unique_ptr<CVTPage> page = CVTPage::New();
  std::unique_ptr<VtRow> row = NewRow();
  row->fill(0x20);
  const std::uint8_t bytes[] = {0x01, 'R', 0x12, 0x7F, 0x35, 0x04, 0x1D, 0x03, 'Y', 0x0D, 'D'};
  std::copy(std::begin(bytes), std::end(bytes), row->begin());
  page->StoreRow(4, std::move(row));
  return page;
}

TEST(PagePng, HoldsTheDrawnPixelsEachEnlargedToASquare) {
  std::unique_ptr<CVTPage> page = SamplePage();
  ui::RasterCanvas drawn(1, 1);
  ASSERT_TRUE(RenderPageImage(*page, false, drawn, TOLV_FONT_FILE));
  const std::string path = OutputPath("sample-x3.png");
  ASSERT_EQ(RenderPagePng(*page, false, 3, path, TOLV_FONT_FILE), PagePngResult::kWritten);

  std::optional<RgbImage> png = ReadPng(path);
  ASSERT_TRUE(png.has_value());
  ASSERT_EQ(png->Width, 560u * 3);
  ASSERT_EQ(png->Height, 360u * 3);
  std::set<ui::TColor> colours;
  for (unsigned y = 0; y < png->Height; ++y) {
    for (unsigned x = 0; x < png->Width; ++x) {
      const std::uint8_t* rgb = &png->Pixels[(y * png->Width + x) * 3];
      const ui::TColor c = drawn.Pixel(static_cast<int>(x / 3), static_cast<int>(y / 3));
      ASSERT_EQ(rgb[0], c & 0xFF) << x << "," << y;
      ASSERT_EQ(rgb[1], (c >> 8) & 0xFF) << x << "," << y;
      ASSERT_EQ(rgb[2], (c >> 16) & 0xFF) << x << "," << y;
      colours.insert(c);
    }
  }
  EXPECT_EQ(colours, (std::set<ui::TColor>{0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF}));
}

TEST(PagePng, FailsWithoutTheFontFileOrWithABadScale) {
  std::unique_ptr<CVTPage> page = SamplePage();
  const std::string path = OutputPath("not-written.png");
  std::filesystem::remove(path);
  EXPECT_EQ(RenderPagePng(*page, false, 1, path, OutputPath("missing.fon")), PagePngResult::kFontNotLoaded);
  EXPECT_EQ(RenderPagePng(*page, false, 0, path, TOLV_FONT_FILE), PagePngResult::kBadScale);
  EXPECT_EQ(RenderPagePng(*page, false, 17, path, TOLV_FONT_FILE), PagePngResult::kBadScale);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(RenderPagePng(*page, false, 1, OutputPath("no-such-dir/page.png"), TOLV_FONT_FILE),
            PagePngResult::kWriteFailed);
}

// Real pages, written to the build tree to be looked at; the checks here catch a page drawn
// blank or a reveal that does not reach the drawing.
struct Recording {
  const char* file;
  unsigned pid;  // 0 for a T42 file
};

CVTAllPages& Received(const Recording& recording) {
  static std::map<std::string, std::unique_ptr<Reception>> receptions;
  std::unique_ptr<Reception>& reception = receptions[recording.file];
  if (!reception) {
    reception = std::make_unique<Reception>();
    const std::string path = std::string(TOLV_SAMPLES_DIR) + "/" + recording.file;
    const bool fed = recording.pid == 0 ? testing::FeedT42(path, *reception)
                                        : testing::FeedTransportStream(path, recording.pid, *reception);
    EXPECT_TRUE(fed) << "recording missing: " << path;
  }
  return reception->AllPages();
}

// A copy of the stored subpage (the first for subcode 0), shown in the given character set.
std::unique_ptr<CVTPage> StoredPage(CVTAllPages& pages, unsigned number, std::uint16_t subcode, std::int8_t charSet) {
  CVTPage* stored = pages.GetPage(number, 0, gmFirst);
  for (unsigned step = 0; stored != nullptr && subcode != 0 && stored->Subcode != subcode && step < 100; ++step) {
    stored = pages.GetPage(number, stored->Subcode, gmNextSub);
  }
  if (stored == nullptr || (subcode != 0 && stored->Subcode != subcode)) return nullptr;
  std::unique_ptr<CVTPage> copy = CVTPage::New();
  copy->CopyFrom(stored);
  copy->CharSet = charSet;
  return copy;
}

// Characters packets X/26 place are drawn from the glyphs of their faces, in the cell's colours.
TEST(PagePng, DrawsPlacedCharactersFromTheirFaces) {
  std::unique_ptr<CVTPage> page = CVTPage::New();
  std::unique_ptr<VtRow> row = NewRow();
  const std::uint8_t bytes[] = {0x03, 'A', 'E', 'S', 0x13, 0x7F};  // yellow text, then yellow mosaics
  std::copy(std::begin(bytes), std::end(bytes), row->begin());
  page->StoreRow(1, std::move(row));
  std::array<std::uint32_t, kTripletsPerPacket> triplets{};
  const auto triplet = [](unsigned address, unsigned mode, unsigned data) { return address | mode << 6 | data << 11; };
  triplets.fill(triplet(63, 0x1F, 0));
  triplets[0] = triplet(41, 0x04, 0);
  triplets[1] = triplet(1, 0x02, 0x25);  // G3 lower left triangle
  triplets[2] = triplet(2, 0x11, 'E');   // E grave
  triplets[3] = triplet(3, 0x0F, 0x7B);  // G2 sharp s
  triplets[4] = triplet(5, 0x0F, 0x61);  // G2 AE, in the mosaic run
  page->StoreEnhancementPacket(0, triplets);

  ui::RasterCanvas image(1, 1);
  ASSERT_TRUE(RenderPageImage(*page, false, image, TOLV_FONT_FILE));
  const std::optional<std::vector<BitmapFace>> faces = ReadFonFile(testing::ReadFileBytes(TOLV_FONT_FILE));
  ASSERT_TRUE(faces.has_value());
  ASSERT_EQ(faces->size(), 5u);
  const BitmapFace& accents = (*faces)[3];
  const BitmapFace& supplementary = (*faces)[4];
  const std::uint8_t eGrave = [] {
    for (unsigned i = 0; i < kComposedLetters.size(); ++i) {
      if (kComposedLetters[i].Unicode == U'È') return static_cast<std::uint8_t>(kFirstAccentPosition + i);
    }
    return std::uint8_t{0};
  }();
  const struct {
    unsigned column;
    const BitmapGlyph& glyph;
  } cells[] = {{1, supplementary.GlyphFor(0x25 + kG3FaceOffset)},
               {2, accents.GlyphFor(eGrave)},
               {3, supplementary.GlyphFor(0x7B)},
               {5, supplementary.GlyphFor(0x61)}};
  for (const auto& cell : cells) {
    for (unsigned y = 0; y < 15; ++y) {
      for (unsigned x = 0; x < 14; ++x) {
        const ui::TColor expected = cell.glyph.PixelSet(x, y) ? 0x00FFFF : 0x000000;
        ASSERT_EQ(image.Pixel(static_cast<int>(cell.column * 14 + x), static_cast<int>(15 + y)), expected)
            << "column " << cell.column << " pixel " << x << "," << y;
      }
    }
  }
}

TEST(PagePng, DrawsRealPages) {
  const Recording bbc{"uk_bbc1_ceefax_2006-01-22.t42", 0};
  const Recording arte{"fr_arte_tnt_teletext_test-012.ts", 0x042C};
  const Recording ard{"de_ard_text_subtitleedit.ts", 0x13F0};
  struct Case {
    Recording recording;
    unsigned page;
    std::uint16_t subcode;
    bool reveal;
    std::int8_t charSet;
    const char* name;
  } cases[] = {
      {bbc, 100, 0, false, 1, "bbc-100.png"},
      {bbc, 317, 0, true, 1, "bbc-317-revealed.png"},
      {bbc, 321, 2, true, 1, "bbc-321-2-revealed.png"},
      {bbc, 420, 0, false, 1, "bbc-420.png"},
      {arte, 406, 0, false, 1, "arte-406.png"},
      {arte, 406, 0, false, 4, "arte-406-charset4.png"},  // ARTE sends national option 4, French
      {ard, 100, 0, false, 1, "ard-100.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<CVTPage> page = StoredPage(Received(c.recording), c.page, c.subcode, c.charSet);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(RenderPagePng(*page, c.reveal, 2, OutputPath(c.name), TOLV_FONT_FILE), PagePngResult::kWritten);
    ui::RasterCanvas image(1, 1);
    ASSERT_TRUE(RenderPageImage(*page, c.reveal, image, TOLV_FONT_FILE));
    std::set<ui::TColor> colours(image.Pixels().begin(), image.Pixels().end());
    EXPECT_GE(colours.size(), 3u);
  }

  // The one subpage of the recording with several concealed characters.
  std::unique_ptr<CVTPage> concealing = StoredPage(Received(bbc), 321, 2, 1);
  ASSERT_NE(concealing, nullptr);
  ui::RasterCanvas hidden(1, 1), revealed(1, 1);
  ASSERT_TRUE(RenderPageImage(*concealing, false, hidden, TOLV_FONT_FILE));
  ASSERT_TRUE(RenderPageImage(*concealing, true, revealed, TOLV_FONT_FILE));
  EXPECT_NE(hidden.Pixels(), revealed.Pixels());
}

}  // namespace
}  // namespace tolv
