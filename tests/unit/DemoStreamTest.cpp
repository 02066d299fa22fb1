#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "decoder/StoreOnlyTarget.h"
#include "decoder/Vt_fkt.h"
#include "pages/PageText.h"
#include "pages/RowDecoder.h"
#include "tools/demostream/DemoStreamData.h"
#include "tools/recordings/Recording.h"

#include "tools/demostream/DemoStream.h"
#include "tools/demostream/PageSource.h"
#include "tools/demostream/TsWriter.h"

namespace tolv::demo {
namespace {

TEST(PageSource, ExpandsNamedCodesRepeatsAndHexBytes) {
  std::string error;
  const auto bytes = ExpandCodes("{red}A{gblue}{block*3}{x1F}{newbg}", error);
  ASSERT_TRUE(bytes) << error;
  EXPECT_EQ(*bytes, (std::vector<std::uint8_t>{0x01, 'A', 0x14, 0x7F, 0x7F, 0x7F, 0x1F, 0x1D}));
}

TEST(PageSource, RefusesWhatCannotBeSent) {
  const std::pair<const char*, const char*> cases[] = {
      {"page 100\nrow 1 {purple}", "t:2: unknown code {purple}"},
      {"page 100\nrow 1 {red", "t:2: '{' without '}'"},
      {"page 100\nrow 1 {block*0}", "t:2: repeat count in {block*0} must be 1..40"},
      {"page 100\nrow 24 x", "t:2: row number must be 1..23"},
      {"page 100\nrow 1 "
       "12345678901234567890123456789012345678901",
       "t:2: row is 41 characters, at most 40"},
      {"row 1 x", "t:1: 'row' before the first 'page'"},
      {"page 99", "t:1: page number must be 100..899"},
      {"page 100\nsubcode 80", "t:2: subcode must be a valid subcode 0..3979"},
      {"page 100\nmosaic 3 38\n|######\nend", "t:4: mosaic art runs off the page"},
      {"page 100\nmosaic 3 0\n|##", "t:3: mosaic block without 'end'"},
      {"page 100\ncolour red", "t:2: unknown keyword 'colour'"},
  };
  for (auto [text, message] : cases) EXPECT_EQ(ParsePages(text, "t").error, message) << text;
}

TEST(PageSource, MosaicArtBecomesSixels) {
  // Per cell, two pixels across and three down: bits 0x01 0x02 / 0x04 0x08 / 0x10 0x40.
  const auto result = ParsePages(
      "page 123\nsubcode 2\ncontrol newsflash subtitle\nrow 5 {gred}\nmosaic 5 1\n"
      "|#.##.#\n"
      "|.#..#.\n"
      "|#.##..\n"
      "|##\n"
      "end\n",
      "t");
  ASSERT_EQ(result.error, "");
  ASSERT_EQ(result.pages.size(), 1u);
  const SourcePage& page = result.pages[0];
  EXPECT_EQ(page.number, 123u);
  EXPECT_EQ(page.subcode, 2u);
  EXPECT_EQ(page.control, 0x02 | 0x04);
  const RowBytes& row5 = *page.rows[5];
  EXPECT_EQ(row5[0], 0x11);
  EXPECT_EQ(row5[1], 0x20 | 0x01 | 0x08 | 0x10);
  EXPECT_EQ(row5[2], 0x73);  // bits 0x01 0x02 0x10 0x20; the bottom-right pixel is bit 0x40 of the code
  EXPECT_EQ(row5[3], 0x20 | 0x02 | 0x04);
  EXPECT_EQ((*page.rows[6])[1], 0x20 | 0x03);
  EXPECT_EQ(row5[4], 0x20);
}

// Reads the transport stream back packet by packet.
std::vector<std::vector<std::uint8_t>> Packets(const std::vector<std::uint8_t>& ts) {
  std::vector<std::vector<std::uint8_t>> out;
  for (std::size_t i = 0; i + 188 <= ts.size(); i += 188) out.emplace_back(ts.begin() + i, ts.begin() + i + 188);
  return out;
}

TEST(TsWriter, SectionsCarryAValidCrc) {
  TsWriter writer(TeletextService{});
  writer.WritePat();
  writer.WritePmt();
  const auto packets = Packets(writer.Bytes());
  ASSERT_EQ(packets.size(), 2u);
  for (const auto& p : packets) {
    ASSERT_EQ(p[0], 0x47);
    EXPECT_TRUE(p[1] & 0x40);
    const std::size_t sectionLength = ((p[6] & 0x0F) << 8) | p[7];
    // The CRC over a whole section including its CRC is zero.
    EXPECT_EQ(Crc32Mpeg(&p[5], 3 + sectionLength), 0u);
  }
  const auto& pmt = packets[1];
  EXPECT_EQ(((pmt[1] & 0x1F) << 8) | pmt[2], 0x100);
  // Elementary stream: private PES on PID 0x101 with the teletext descriptor, initial page 100.
  EXPECT_EQ(pmt[17], 0x06);
  EXPECT_EQ(((pmt[18] & 0x1F) << 8) | pmt[19], 0x101);
  EXPECT_EQ(pmt[22], 0x56);
  EXPECT_EQ(std::string(&pmt[24], &pmt[27]), "deu");
  EXPECT_EQ(pmt[27], 0x09);  // initial page, magazine 1
  EXPECT_EQ(pmt[28], 0x00);
}

TEST(TsWriter, PesKeepsUnitsAlignedWithPackets) {
  for (std::size_t count : {1u, 3u, 4u, 15u}) {
    TsWriter writer(TeletextService{});
    DataUnit unit;
    unit.fill(0x55);
    writer.WritePes(0x1'2345'6789, std::vector<DataUnit>(count, unit));
    const auto packets = Packets(writer.Bytes());
    ASSERT_EQ(writer.Bytes().size() % 188, 0u);
    std::vector<std::uint8_t> pes;
    for (std::size_t k = 0; k < packets.size(); ++k) {
      EXPECT_EQ(packets[k][3] & 0x30, 0x10) << "payload only, no adaptation field";
      EXPECT_EQ(packets[k][3] & 0x0F, k % 16);
      pes.insert(pes.end(), packets[k].begin() + 4, packets[k].end());
    }
    ASSERT_EQ((pes[4] << 8 | pes[5]) + 6u, pes.size());
    EXPECT_EQ(pes.size() % 184, 0u);
    EXPECT_EQ(pes[3], 0xBD);
    EXPECT_TRUE(pes[6] & 0x04) << "data_alignment_indicator";
    EXPECT_EQ(pes[8], 0x24);
    const std::uint64_t pts = (std::uint64_t{pes[9]} >> 1 & 7) << 30 | std::uint64_t{pes[10]} << 22 |
                              std::uint64_t{pes[11]} >> 1 << 15 | std::uint64_t{pes[12]} << 7 | pes[13] >> 1;
    EXPECT_EQ(pts, 0x1'2345'6789u);
    EXPECT_EQ(pes[45], 0x10);
    for (std::size_t u = 0; u < (pes.size() - 46) / 46; ++u) {
      const std::uint8_t id = pes[46 + 46 * u];
      EXPECT_EQ(id, u < count ? 0x55 : 0xFF) << u;
    }
  }
}

TEST(DemoStream, IsTheSameEveryTime) {
  const auto pages = ParsePages("page 100\nrow 1 A\npage 200\nrow 2 B\n", "t").pages;
  const auto a = BuildDemoStream(pages), b = BuildDemoStream(pages);
  EXPECT_EQ(a, b);
  EXPECT_FALSE(a.empty());
}

}  // namespace
}  // namespace tolv::demo

namespace tolv::demo {
namespace {

std::vector<SourcePage> DesignedPages() {
  std::vector<SourcePage> pages;
  for (const auto& entry : std::filesystem::directory_iterator(TOLV_DEMO_PAGES_DIR)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    ParseResult parsed = ParsePages(text.str(), entry.path().filename().string());
    EXPECT_EQ(parsed.error, "");
    pages.insert(pages.end(), parsed.pages.begin(), parsed.pages.end());
  }
  return pages;
}

// The demo stream through the data callback into reception's page memory.
void ReceiveDemo(Reception& reception) {
  recordings::ReadRecording(DemoStreamBytes(), recordings::RecordingFormat::kTransportStream, std::nullopt,
                            [&](const std::uint8_t* data, std::int32_t length) { reception.Receive(data, length); });
}

// The embedded stream, read as a recording and through the data callback, holds every designed
// page and subpage with exactly the designed rows.
TEST(DemoStream, DeliversEveryDesignedPage) {
  const std::vector<SourcePage> designed = DesignedPages();
  ASSERT_EQ(designed.size(), 13u);
  Reception reception;
  ReceiveDemo(reception);
  std::size_t stored = 0;
  for (unsigned slot = 0; slot < kPageSlots; ++slot)
    for (const CVTPage* p = reception.AllPages().FirstSubpage(slot); p; p = CVTAllPages::NextSubpage(p)) ++stored;
  EXPECT_EQ(stored, designed.size());
  for (const SourcePage& source : designed) {
    SCOPED_TRACE(std::to_string(source.number) + "/" + std::to_string(source.subcode));
    const CVTPage* page = reception.AllPages().GetPage(source.number, 0, gmFirst);
    while (page != nullptr && page->GetSubcode() < source.subcode)
      page = reception.AllPages().GetPage(source.number, page->GetSubcode(), gmNextSub);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->GetSubcode(), source.subcode);
    EXPECT_EQ(page->National, source.national) << "the pages are sent in their own national option";
    for (unsigned r = 1; r < kRows; ++r) {
      ASSERT_EQ(page->Rows[r] != nullptr, source.rows[r].has_value()) << "row " << r;
      if (source.rows[r]) {
        EXPECT_TRUE(std::equal(source.rows[r]->begin(), source.rows[r]->end(), page->Rows[r]->begin())) << r;
      }
    }
    const std::string header(page->Rows[0]->begin() + 8, page->Rows[0]->end());
    EXPECT_NE(header.find("Tol-Vane\x02" + std::to_string(source.number)), std::string::npos) << header;
  }
}

// The quiz hides its answers until the reveal key, and shows its questions.
TEST(DemoStream, QuizAnswersAreConcealed) {
  Reception reception;
  ReceiveDemo(reception);
  CVTPage* quiz = reception.AllPages().GetPage(104, 0, gmFirst);
  ASSERT_NE(quiz, nullptr);
  for (unsigned row : {8u, 11u, 14u, 17u}) {
    unsigned concealedLetters = 0;
    for (unsigned c = 0; c < kColumns; ++c) {
      const TVtCell cell = GetDisplayCell(*quiz, c, row);
      if (cell.Ch > 0x20 && (cell.Flags & kConceal)) ++concealedLetters;
    }
    EXPECT_GT(concealedLetters, 5u) << "row " << row;
    EXPECT_FALSE(GetDisplayCell(*quiz, 5, row - 1).Flags & kConceal) << "the question is shown";
  }
}

// The French page's capitals with accents come as packets X/26 over their basic letters.
TEST(DemoStream, TheFrenchPagePlacesItsAccentedCapitals) {
  Reception reception;
  ReceiveDemo(reception);
  CVTPage* french = reception.AllPages().GetPage(108, 0, gmFirst);
  ASSERT_NE(french, nullptr);
  ASSERT_NE(french->Enhancements, nullptr);
  const std::vector<std::string> text = PageTextLines(*french, false);
  EXPECT_EQ(text[17], " EN CAPITALES : À BIENTÔT, ÉTÉ");
  EXPECT_EQ(text[18], " NOËL, ÇA, CÔTE D'AZUR, ÎLE, OÙ");
  EXPECT_EQ(std::string(french->Rows[17]->begin() + 16, french->Rows[17]->begin() + 25), "A BIENTOT")
      << "a Level 1 decoder shows the basic letters";
}

// Both parts of the broadcast: the magazines first interleaved, then in serial mode.
TEST(DemoStream, SendsMagazinesInParallelThenInSerial) {
  std::vector<bool> serialHeaders;
  std::vector<unsigned> magazines;
  recordings::ReadRecording(DemoStreamBytes(), recordings::RecordingFormat::kTransportStream, std::nullopt,
                            [&](const std::uint8_t* data, std::int32_t length) {
                              for (std::int32_t o = 0; o + 46 <= length; o += 46) {
                                std::uint8_t m = 0, p = 0, pageByte, control = 0, national;
                                std::uint16_t sub;
                                if (data[o] != 0x02 || !DecodeAddress(data + o + 4, m, p) || p != 0) continue;
                                if (!DecodeHeader(data + o + 6, pageByte, sub, control, national)) continue;
                                serialHeaders.push_back(control & kMagazineSerial);
                                magazines.push_back(m);
                              }
                            });
  ASSERT_FALSE(serialHeaders.empty());
  const auto firstSerial = std::find(serialHeaders.begin(), serialHeaders.end(), true);
  ASSERT_NE(firstSerial, serialHeaders.end());
  EXPECT_TRUE(std::all_of(firstSerial, serialHeaders.end(), [](bool s) { return s; }));
  // In the parallel part the headers of magazines 1, 2 and 3 take turns.
  const std::size_t parallel = static_cast<std::size_t>(firstSerial - serialHeaders.begin());
  ASSERT_GT(parallel, 3u);
  EXPECT_NE(magazines[0], magazines[1]);
  EXPECT_NE(magazines[1], magazines[2]);
}

}  // namespace
}  // namespace tolv::demo
