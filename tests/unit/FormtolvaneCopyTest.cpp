// The copy commands: the page on show onto the clipboard as its text (tolvane text's lines) and
// as the picture of its page area (tolvane png's pixels), Reveal respected; nothing without a page.
#include <gtest/gtest.h>

#include <sstream>

#include "pages/PageText.h"
#include "tests/unit/ViewerSession.h"
#ifdef TOLV_WITH_TOLVANE
#include "render/PagePng.h"
#include "tools/tolvane/Tolvane.h"
#endif

namespace tolv::testing {
namespace {

constexpr int kPageWidth = 560;
constexpr int kPageHeight = 360;

std::uint32_t LittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

// The pixels of a packed DIB as a clipboard reader finds them, after checking the layout the
// viewer promises: a BITMAPINFOHEADER, 560 x 360 at 24 bits without compression or colour table,
// bottom row first, rows of 1680 bytes.
::testing::AssertionResult DibPixels(const std::vector<std::uint8_t>& dib, std::vector<ui::TColor>& pixels) {
  constexpr std::size_t kHeader = 40;
  constexpr std::size_t kStride = kPageWidth * 3;  // already a multiple of 4
  if (dib.size() != kHeader + kStride * kPageHeight) {
    return ::testing::AssertionFailure() << "size " << dib.size();
  }
  const std::uint32_t fields[][3] = {
      {0, 4, kHeader},
      {4, 4, kPageWidth},
      {8, 4, kPageHeight},
      {12, 2, 1},
      {14, 2, 24},
      {16, 4, 0},
      {20, 4, kStride * kPageHeight},
      {32, 4, 0},  // no colour table
  };
  for (const auto& f : fields) {
    if (LittleEndian(dib, f[0], static_cast<int>(f[1])) != f[2]) {
      return ::testing::AssertionFailure() << "header field at " << f[0] << " is "
                                           << LittleEndian(dib, f[0], static_cast<int>(f[1])) << ", not " << f[2];
    }
  }
  pixels.assign(static_cast<std::size_t>(kPageWidth) * kPageHeight, 0);
  for (std::size_t y = 0; y < kPageHeight; ++y) {
    const std::uint8_t* row = dib.data() + kHeader + (kPageHeight - 1 - y) * kStride;
    for (std::size_t x = 0; x < kPageWidth; ++x) {
      pixels[y * kPageWidth + x] = static_cast<ui::TColor>(row[3 * x + 2] | row[3 * x + 1] << 8 | row[3 * x] << 16);
    }
  }
  return ::testing::AssertionSuccess();
}

class Copy : public ViewerTest {
 protected:
  const std::vector<ui::ClipboardContent>& Puts() { return session_.Backend().ClipboardPuts(); }

  // The recording's page as the command-line tool gives it (natively), else as the page text
  // of a store filled from the same recording.
  static std::string ExpectedText(const char* recording, const std::string& page, bool reveal) {
    std::vector<std::string> lines;
#ifdef TOLV_WITH_TOLVANE
    std::vector<std::string> args = {"text", SamplePath(recording), page};
    if (reveal) args.emplace_back("--reveal");
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(tolvane::RunTolvane(args, in, out, err), tolvane::kExitSuccess) << err.str();
    std::istringstream printed(out.str());
    for (std::string line; std::getline(printed, line);) lines.push_back(line);
#else
    Reception reception;
    for (const Buffer& b : RecordingBuffers(recording))
      reception.Receive(b.data(), static_cast<std::int32_t>(b.size()));
    CVTPage* stored = reception.AllPages().GetPage(static_cast<std::uint16_t>(std::stoi(page)), 0, gmFirst);
    EXPECT_NE(stored, nullptr);
    if (stored != nullptr) lines = PageTextLines(*stored, reveal);
#endif
    EXPECT_EQ(lines.size(), 24u);
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
    return text;
  }

  // Ctrl+C and the menu item put the page's text; the other item its picture, which is the
  // page area as drawn and as tolvane png draws it.
  void CheckCopiesOf(const char* recording, const std::string& page, const char* letter) {
    TFormTolv& window = ShowFromMemory(recording, page);
    const std::string expected = ExpectedText(recording, page, false);
    EXPECT_NE(expected.find(letter), std::string::npos) << "the page's own letter is missing";

    ui::headless::PressKey(window, 'C', ui::ssCtrl);
    ASSERT_EQ(Puts().size(), 1u);
    EXPECT_EQ(Puts().back().Text, expected);
    EXPECT_TRUE(Puts().back().Dib.empty());
    ASSERT_TRUE(ui::headless::Click(window, "Seite als Text kopieren"));
    ASSERT_EQ(Puts().size(), 2u);
    EXPECT_EQ(Puts().back(), Puts().front());

    ASSERT_TRUE(ui::headless::Click(window, "Seite als Grafik kopieren"));
    ASSERT_EQ(Puts().size(), 3u);
    EXPECT_TRUE(Puts().back().Text.empty());
    std::vector<ui::TColor> copied;
    ASSERT_TRUE(DibPixels(Puts().back().Dib, copied));
    EXPECT_TRUE(copied == PageAreaOnScreen(window)) << "the copy is not the page area as drawn";
#ifdef TOLV_WITH_TOLVANE
    CVTPage shown;
    ASSERT_TRUE(window.HandOver.LockPageData());
    shown.CopyFrom(&window.DisplayPage);
    window.HandOver.UnlockPageData();
    ui::RasterCanvas png(0, 0);
    ASSERT_TRUE(RenderPageImage(shown, false, png, TOLV_FONT_FILE));
    EXPECT_TRUE(copied == png.Pixels()) << "the copy is not tolvane png's picture";
#endif
  }
};

TEST_F(Copy, AFrenchPageFromMemoryIsCopiedAsTolvaneTextAndAsDrawn) { CheckCopiesOf(kArte, "100", "\xC3\xA9"); }

TEST_F(Copy, AnEnglishPageFromMemoryIsCopiedAsTolvaneTextAndAsDrawn) { CheckCopiesOf(kBbc, "544", "\xC2\xA3"); }

// BBC's page 519 conceals 61 characters: both copies follow Reveal.
TEST_F(Copy, ConcealedCellsAreCopiedOnlyWhenRevealed) {
  TFormTolv& window = ShowFromMemory(kBbc, "519");
  std::vector<ui::ClipboardContent> copies[2];  // concealed, revealed
  for (bool reveal : {false, true}) {
    SCOPED_TRACE(reveal ? "revealed" : "concealed");
    if (reveal) {
      ASSERT_TRUE(ui::headless::Click(window, "R\xC3\xA4tseltaste"));
    }
    ASSERT_EQ(GetReveal(), reveal);
    ui::headless::PressKey(window, 'C', ui::ssCtrl);
    ASSERT_TRUE(ui::headless::Click(window, "Seite als Grafik kopieren"));
    ASSERT_EQ(Puts().size(), reveal ? 4u : 2u);
    copies[reveal] = {Puts().end()[-2], Puts().end()[-1]};
    EXPECT_EQ(copies[reveal][0].Text, ExpectedText(kBbc, "519", reveal));
    std::vector<ui::TColor> copied;
    ASSERT_TRUE(DibPixels(copies[reveal][1].Dib, copied));
    EXPECT_TRUE(copied == PageAreaOnScreen(window));
  }
  EXPECT_NE(copies[0][0].Text, copies[1][0].Text);
  EXPECT_NE(copies[0][1].Dib, copies[1][1].Dib);
}

// Before any page is on screen, while the first is searched and its running header is drawn,
// neither command puts anything on the clipboard.
TEST_F(Copy, WithNoPageShownNothingIsCopied) {
  DataThread data(RecordingBuffers(kBbc));
  TFormTolv& window = Open();
  Type(window, "899");  // not in the recording
  data.Deliver(data.Size() / 4);
  Tick(window);
  ASSERT_EQ(window.PanelShow->Caption(), " Zeige: ---");
  ASSERT_NE(DisplayRow(window, 0), "<absent>") << "the running header should be on screen";
  ui::headless::PressKey(window, 'C', ui::ssCtrl);
  EXPECT_TRUE(ui::headless::Click(window, "Seite als Text kopieren"));
  EXPECT_TRUE(ui::headless::Click(window, "Seite als Grafik kopieren"));
  EXPECT_TRUE(Puts().empty());
}

}  // namespace
}  // namespace tolv::testing
