// The viewer window's life and its hand-overs with a real data thread that feeds a real
// recording: opening, the first page on screen, the live header, one redraw per tick, closing,
// and the steps a failed mutex wait skips.
#include <gtest/gtest.h>

#include <filesystem>

#include "pages/RowDecoder.h"
#include "platform/portable/PortableServices.h"
#include "tests/unit/ViewerSession.h"

namespace tolv::testing {
namespace {

constexpr ui::TColor kGreen = 0x00FF00;
constexpr ui::TColor kRed = 0x0000FF;
constexpr std::uint16_t kAbsentPage = 777;  // not in the BBC recording

std::string ShowCaption(std::uint16_t number, std::uint16_t subcode) {
  std::string caption = " Zeige: " + std::to_string(number);
  if (subcode != 0) {
    caption += '.';  // in two steps: GCC 12 warns falsely about "." + std::to_string(...)
    caption += std::to_string(subcode);
  }
  return caption;
}

class Formtolvane : public ViewerTest {
 protected:
  std::vector<Buffer> bbc_ = RecordingBuffers(kBbc);
  Probe probe_{bbc_};
};

TEST_F(Formtolvane, OpensEmptySearchingPage100) {
  TFormTolv& window = Open();
  EXPECT_EQ(FormTolv.load(), &window);
  EXPECT_TRUE(window.UnresolvedHandlers().empty());
  EXPECT_EQ(window.Caption(), "Tol-Vane DVB");
  EXPECT_EQ(window.PanelSearch->Caption(), " Suche: 100");
  EXPECT_EQ(window.PanelSearch->Color(), kRed);
  EXPECT_EQ(window.PanelShow->Caption(), " Zeige: ---");
  EXPECT_FALSE(window.PanelDebugInfo->Visible());
  EXPECT_FALSE(window.SpeedButton4->Visible());
  EXPECT_EQ(window.PageControl1->VisibleTabs(), std::vector<ui::TabSheet*>{window.TabSheet4});
  EXPECT_FALSE(window.mnPause->Checked());
  EXPECT_TRUE(session_.Backend().MessagesShown().empty());
  EXPECT_TRUE(window.PageDataMutex.Valid());
  EXPECT_TRUE(window.RedrawMutex.Valid());
  EXPECT_EQ(window.Render.Rendering.PageLeft, 86);
  EXPECT_FALSE(MemoryHolds(window, 100));
}

TEST_F(Formtolvane, MissingFontFileIsReportedOncePerWindowAndTheWindowOpens) {
  std::filesystem::remove("plugins/tolv.fon");
  for (int opening = 1; opening <= 2; ++opening) {
    TFormTolv& window = Open();
    const auto& shown = session_.Backend().MessagesShown();
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(opening));
    EXPECT_EQ(shown.back().Text, kFontInstallFailedText);
    EXPECT_EQ(shown.back().Caption, "Fehler");
    EXPECT_EQ(shown.back().Buttons, ui::MessageButtons::Ok);
    EXPECT_EQ(window.PanelSearch->Caption(), " Suche: 100");
    ui::headless::CloseBox(window);
  }
}

TEST(Reveal, IsOneSwitchForAllPages) {
  EXPECT_FALSE(GetReveal());
  SetReveal(true);
  EXPECT_TRUE(GetReveal());
  SetReveal(false);
}

// Reveal belongs to the library: a window opened while it is on shows it on.
TEST_F(Formtolvane, NewWindowMirrorsReveal) {
  for (const bool reveal : {true, false}) {
    SetReveal(reveal);
    TFormTolv& window = Open();
    EXPECT_EQ(window.mnReveal->Checked(), reveal);
    EXPECT_EQ(window.SpeedButtonReveal->Down(), reveal);
    ui::headless::CloseBox(window);
  }
}

TEST_F(Formtolvane, SearchedPageFromTheStreamAppearsAtTheNextTick) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  const std::size_t end = probe_.EndOfHandOver(100);
  data.DeliverUntil(end);
  const Probe::HandOver first = probe_.HandOversIn(0, end, 100).front();

  EXPECT_EQ(window.PanelShow->Caption(), " Zeige: ---") << "the data thread never touches a control";
  EXPECT_EQ(Canvas().pagePaints, 0u);
  Tick(window);
  EXPECT_EQ(window.PanelShow->Caption(), ShowCaption(100, first.subcode));
  EXPECT_EQ(window.PanelSearch->Color(), kGreen);
  EXPECT_EQ(Canvas().pagePaints, 1u);
  ASSERT_TRUE(window.HandOver.LockPageData());
  const CVTPage* stored = window.AllPages().GetPage(100, 0, gmFirst);
  ASSERT_NE(stored, nullptr);
  for (unsigned r = 1; r < kRows; ++r) {
    if (stored->Rows[r]) {
      EXPECT_EQ(*window.DisplayPage.Rows[r], *stored->Rows[r]) << "row " << r;
    }
  }
  window.HandOver.UnlockPageData();
}

TEST_F(Formtolvane, LiveHeaderRunsThroughRowZeroInGreenWhileSearching) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  Type(window, std::to_string(kAbsentPage));
  Tick(window);
  Canvas().ResetCounts();
  data.DeliverUntil(300);
  Tick(window);

  const Probe::Header* last = probe_.LastHeaderBefore(300);
  ASSERT_NE(last, nullptr);
  const std::string row0 = DisplayRow(window, 0);
  EXPECT_EQ(row0[7], 0x02) << "alpha green ahead of the header text";
  EXPECT_EQ(row0.substr(8), last->row.substr(8));
  // The assembly stores the row it handed to the window: it must come back without the green.
  ASSERT_TRUE(window.HandOver.LockPageData());
  unsigned stored = 0;
  for (unsigned slot = 0; slot < kPageSlots; ++slot) {
    for (const CVTPage* p = window.AllPages().FirstSubpage(slot); p != nullptr; p = CVTAllPages::NextSubpage(p)) {
      EXPECT_EQ((*p->Rows[0])[7], ' ') << "page " << p->Number();
      ++stored;
    }
  }
  window.HandOver.UnlockPageData();
  EXPECT_GT(stored, 0u);
  EXPECT_EQ(Canvas().pagePaints, 0u) << "a header alone redraws row 0 only";
  EXPECT_GT(Canvas().headerCellsDrawn, 0u);
  EXPECT_EQ(Canvas().cellsDrawn, Canvas().headerCellsDrawn);

  // Up to the header's first colour code the text is green on black, in the data and on screen.
  unsigned greenPixels = 0;
  ASSERT_TRUE(window.HandOver.LockPageData());
  for (unsigned c = 8; c < kColumns && static_cast<std::uint8_t>(row0[c]) >= 0x08; ++c) {
    EXPECT_EQ(GetDisplayCell(window.DisplayPage, c, 0).FgColor, kGreen) << "column " << c;
    const int left = window.Render.Rendering.PageLeft + static_cast<int>(c) * 14;
    for (int y = 0; y < 15; ++y) {
      for (int x = left; x < left + 14; ++x) {
        const ui::TColor pixel = Canvas().raster.Pixel(x, y);
        EXPECT_TRUE(pixel == kGreen || pixel == 0) << "column " << c;
        greenPixels += pixel == kGreen ? 1 : 0;
      }
    }
  }
  window.HandOver.UnlockPageData();
  EXPECT_GT(greenPixels, 0u);
  EXPECT_EQ(window.PanelSearch->Color(), kRed);
}

TEST_F(Formtolvane, ShownPageTakesOnlyTheClockFromLaterHeaders) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  const std::size_t shown = probe_.EndOfHandOver(100);
  data.DeliverUntil(shown);
  Tick(window);
  const std::string before = DisplayRow(window, 0);

  // Up to the next completion of page 100: headers of other pages pass meanwhile.
  const std::size_t next = probe_.EndOfHandOver(100, shown) - 1;
  data.DeliverUntil(next);
  Canvas().ResetCounts();
  Tick(window);
  const std::string after = DisplayRow(window, 0);
  const Probe::Header* last = probe_.LastHeaderBefore(next);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(after.substr(0, 24), before.substr(0, 24));
  EXPECT_EQ(after.substr(24), last->row.substr(24));
  EXPECT_NE(after.substr(24), before.substr(24)) << "the clock must have moved for this check to mean anything";
  EXPECT_EQ(Canvas().pagePaints, 0u);
  EXPECT_EQ(Canvas().cellsDrawn, Canvas().headerCellsDrawn);
  EXPECT_GT(Canvas().headerCellsDrawn, 0u);
}

TEST_F(Formtolvane, HeadersChangeNothingWhilePausedOrForAPageFromMemory) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  const std::optional<Probe::HandOver> hold = probe_.HoldableTransmission(100, 2);
  ASSERT_TRUE(hold);
  std::size_t at = hold->buffer + 1;
  data.DeliverUntil(at);
  Tick(window);
  ASSERT_EQ(window.ShownSubcode.load(), hold->subcode);

  // Paused: up to the next transmission of the held subpage, only others come.
  Key(window, ui::vk::Space);
  ASSERT_TRUE(window.Paused.load());
  const std::string paused = DisplayRow(window, 0);
  const std::size_t again = probe_.EndOfHandOver(100, at, hold->subcode) - 1;
  data.DeliverUntil(again);
  Canvas().ResetCounts();
  Tick(window);
  EXPECT_EQ(DisplayRow(window, 0), paused);
  EXPECT_EQ(window.ShownSubcode.load(), hold->subcode);
  EXPECT_EQ(Canvas().cellsDrawn, 0u);
  at = again;

  // A page from memory: its header stays as stored until it comes in again.
  Key(window, ui::vk::Space);
  Key(window, ui::vk::Up, ui::ssShift);
  ASSERT_EQ(window.PanelShow->Caption(), " Zeige: 101");
  const std::string fromMemory = DisplayRow(window, 0);
  const std::size_t before101 = probe_.EndOfHandOver(101, at) - 1;
  ASSERT_NE(probe_.LastHeaderBefore(before101), probe_.LastHeaderBefore(at)) << "headers must pass meanwhile";
  data.DeliverUntil(before101);
  Canvas().ResetCounts();
  Tick(window);
  EXPECT_EQ(DisplayRow(window, 0), fromMemory);
  EXPECT_EQ(Canvas().cellsDrawn, 0u);
}

TEST_F(Formtolvane, PageFromMemoryShownBeforeTheTickKeepsItsOwnHeader) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  // Page 101 in memory; then page 100 comes on the stream, and its redraw waits for the tick.
  const std::size_t stored101 = probe_.EndOfHandOver(101);
  const std::size_t shown100 = probe_.EndOfHandOver(100, stored101);
  data.DeliverUntil(shown100);
  ASSERT_TRUE(window.PageRedrawPending.load());

  Key(window, ui::vk::Up, ui::ssShift);  // before that tick: page 101 from memory
  ASSERT_EQ(window.PanelShow->Caption(), " Zeige: 101");
  const std::string fromMemory = DisplayRow(window, 0);
  Tick(window);
  EXPECT_FALSE(window.HeaderLive.load());
  const std::size_t before101 = probe_.EndOfHandOver(101, shown100) - 1;
  ASSERT_NE(probe_.LastHeaderBefore(before101), probe_.LastHeaderBefore(shown100)) << "headers must pass meanwhile";
  data.DeliverUntil(before101);
  Tick(window);
  EXPECT_EQ(DisplayRow(window, 0), fromMemory);
}

TEST_F(Formtolvane, BurstOfHandOversBetweenTwoTicksGivesOneRedraw) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  const std::size_t third = probe_.EndOfHandOver(100, probe_.EndOfHandOver(100, probe_.EndOfHandOver(100)));
  ASSERT_GE(probe_.HandOversIn(0, third, 100).size(), 3u);
  data.DeliverUntil(third);
  Tick(window);
  EXPECT_EQ(Canvas().pagePaints, 1u);
  Tick(window);
  EXPECT_EQ(Canvas().pagePaints, 1u) << "a request is answered once";
}

// The hand-over of the searched page asks for its own tick: the page is drawn as soon as the
// window thread runs its requests, with no period passed; headers ask for none, and a burst of
// hand-overs merges into one request.
TEST_F(Formtolvane, SearchedPageAsksForAnExtraTickAtOnce) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  const std::size_t end = probe_.EndOfHandOver(100);
  data.DeliverUntil(end - 1);
  EXPECT_EQ(ui::headless::RunTickRequests(window), 0) << "passing headers wait for the period";
  data.DeliverUntil(end);
  EXPECT_EQ(ui::headless::RunTickRequests(window), 1);
  EXPECT_EQ(Canvas().pagePaints, 1u);
  EXPECT_EQ(window.PanelShow->Caption(), ShowCaption(100, probe_.HandOversIn(0, end, 100).front().subcode));
  EXPECT_EQ(ui::headless::RunTickRequests(window), 0) << "a request is answered once";

  const std::size_t third = probe_.EndOfHandOver(100, probe_.EndOfHandOver(100, end));
  ASSERT_GE(probe_.HandOversIn(end, third, 100).size(), 2u);
  data.DeliverUntil(third);
  EXPECT_EQ(ui::headless::RunTickRequests(window), 1);
  EXPECT_EQ(Canvas().pagePaints, 2u);
}

TEST_F(Formtolvane, ClosedWindowTakesItsMemoryAndANewOneStartsAtPage100) {
  DataThread data(bbc_);
  TFormTolv& first = Open();
  data.DeliverUntil(bbc_.size() / 2);
  ASSERT_TRUE(MemoryHolds(first, 100));
  ui::headless::CloseBox(first);
  EXPECT_EQ(FormTolv.load(), nullptr);
  EXPECT_EQ(ui::Application().FormCount(), 0u);
  EXPECT_EQ(platform::portable::OpenMutexNames(), 0u);

  data.Deliver(10);
  EXPECT_EQ(data.CallbacksWithoutWindow.load(), 10u) << "callbacks after the close find no window";

  TFormTolv& second = Open();
  data.ResetPending = true;
  EXPECT_FALSE(MemoryHolds(second, 100));
  EXPECT_EQ(second.PanelSearch->Caption(), " Suche: 100");
  EXPECT_EQ(second.PanelShow->Caption(), " Zeige: ---");
  data.DeliverAll();
  Tick(second);
  EXPECT_TRUE(MemoryHolds(second, 100));
  EXPECT_EQ(second.PanelSearch->Color(), kGreen);
}

TEST_F(Formtolvane, BeendenClosesTheWindow) {
  TFormTolv& window = Open();
  ASSERT_TRUE(ui::headless::Click(window, "Beenden"));
  EXPECT_EQ(FormTolv.load(), nullptr);
  EXPECT_EQ(ui::Application().FormCount(), 0u);
}

// --- Failed waits: the guarded step is skipped, nothing waits for ever.

class FailedWait : public Formtolvane {
 protected:
  static void FailNext(const char* mutex, unsigned count = 1) { platform::portable::FailNextWaits(mutex, count); }
};

TEST_F(FailedWait, OnPageDataDropsTheHeader) {
  TFormTolv& window = Open();
  std::string header(40, 'H');
  const std::string before = DisplayRow(window, 0);
  FailNext(kPageDataMutexName);
  window.ReceiveHeader(reinterpret_cast<std::uint8_t*>(header.data()));
  EXPECT_EQ(DisplayRow(window, 0), before);
  EXPECT_FALSE(window.HeaderRedrawPending.load());
  window.ReceiveHeader(reinterpret_cast<std::uint8_t*>(header.data()));
  EXPECT_EQ(DisplayRow(window, 0).substr(8), header.substr(8));
}

TEST_F(FailedWait, OnRedrawLeavesTheRequestForTheNextTick) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverUntil(probe_.EndOfHandOver(100));
  FailNext(kRedrawMutexName);
  Tick(window);
  EXPECT_EQ(Canvas().pagePaints, 0u);
  EXPECT_TRUE(window.PageRedrawPending.load());
  Tick(window);
  EXPECT_EQ(Canvas().pagePaints, 1u);
}

// The mark must go even so: a hand-over of that number and a channel change wait for it.
TEST_F(FailedWait, OnClearingTheBusyPageStillClearsIt) {
  TFormTolv& window = Open();
  ASSERT_TRUE(window.HandOver.LockPageData());
  window.SetBusyPage(100);
  window.HandOver.UnlockPageData();
  FailNext(kPageDataMutexName);
  window.ClearBusyPage();
  EXPECT_EQ(window.BusyPage(), kNoPage);
}

TEST_F(FailedWait, OnTheChannelChangeLeavesTheMemory) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverAll();
  FailNext(kPageDataMutexName);
  EXPECT_EQ(ClearMemoryForChannelChange(), ChannelClearing::kWaitFailed);
  EXPECT_TRUE(MemoryHolds(window, 100));
  EXPECT_EQ(ClearMemoryForChannelChange(), ChannelClearing::kCleared);
  EXPECT_FALSE(MemoryHolds(window, 100));
}

TEST_F(FailedWait, OnShowingFromMemoryLeavesTheDisplay) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverAll();
  Tick(window);
  const std::string before = DisplayRow(window, 1);
  FailNext(kPageDataMutexName);
  Type(window, "101");
  EXPECT_EQ(window.PanelSearch->Caption(), " Suche: 101");
  EXPECT_EQ(window.PanelSearch->Color(), kRed);
  EXPECT_EQ(DisplayRow(window, 1), before);
  EXPECT_EQ(window.BusyPage(), kNoPage);
}

}  // namespace
}  // namespace tolv::testing
