// "Drucken": the sheets handed to the printer are the pages as drawn, one a sheet, black and
// white swapped unless "Hintergrund drucken" is checked; a missing printer or a failed job is
// reported, a cancelled dialog is not.
#include <gtest/gtest.h>

#include "tests/unit/ViewerSession.h"

namespace tolv::testing {
namespace {

class Print : public ViewerTest {
 protected:
  TFormTolv& Show544() { return ShowFromMemory(kBbc, "544"); }
  ui::headless::HeadlessBackend& Backend() { return session_.Backend(); }
};

TEST_F(Print, EachPageIsASheetAsDrawnWithBlackAndWhiteSwappedUnlessTheBackgroundIsPrinted) {
  TFormTolv& window = Show544();
  const std::vector<ui::TColor> drawn = PageAreaOnScreen(window);
  std::vector<ui::TColor> swapped = drawn;
  std::size_t black = 0;
  for (ui::TColor& pixel : swapped) {
    black += pixel == 0x000000;
    pixel = pixel == 0x000000 ? 0xFFFFFF : pixel == 0xFFFFFF ? 0x000000 : pixel;
  }
  ASSERT_GT(black, drawn.size() / 2) << "the page should be mostly black background";

  Backend().AnswerNextPrint(ui::PrintResult::kPrinted);
  ui::headless::PressKey(window, 'P', ui::ssCtrl);
  ASSERT_TRUE(ui::headless::Click(window, "Hintergrund drucken"));
  EXPECT_TRUE(window.mnPrintBackground->Checked());
  Backend().AnswerNextPrint(ui::PrintResult::kPrinted);
  window.SpeedButtonPrint->Click();
  Backend().AnswerNextPrint(ui::PrintResult::kPrinted);
  ASSERT_TRUE(ui::headless::Click(window, "mnPrintSubpages"));

  ASSERT_EQ(Backend().PrintedJobs().size(), 3u);
  const std::vector<ui::Picture>& plain = Backend().PrintedJobs()[0];
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(plain[0].Width, 560);
  EXPECT_EQ(plain[0].Height, 360);
  EXPECT_TRUE(plain[0].Pixels == swapped) << "without background: black as white, white as black";
  ASSERT_EQ(Backend().PrintedJobs()[1].size(), 1u);
  EXPECT_TRUE(Backend().PrintedJobs()[1][0].Pixels == drawn) << "with background: as drawn";
  const std::vector<ui::Picture>& subpages = Backend().PrintedJobs()[2];
  ASSERT_EQ(subpages.size(), 2u);  // 544/1 and 544/2
  EXPECT_TRUE(subpages[0].Pixels == drawn);
  EXPECT_FALSE(subpages[1].Pixels == drawn);
  EXPECT_EQ(Backend().PrintDialogsShown().back().DocumentName, "Tol-Vane DVB 544");
  EXPECT_TRUE(Backend().MessagesShown().empty());
}

TEST_F(Print, NoPrinterAndAFailedJobAreReportedACancelledDialogIsNot) {
  TFormTolv& window = Show544();
  const struct {
    ui::PrintResult Result;
    const char* Message;  // empty: none
  } cases[] = {
      {ui::PrintResult::kCancelled, ""},
      {ui::PrintResult::kNoPrinter, kNoPrinterText},
      {ui::PrintResult::kFailed, "Das Drucken ist fehlgeschlagen:\nthe printer refused the job"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    const std::size_t before = Backend().MessagesShown().size();
    Backend().AnswerNextPrint(c.Result);
    ASSERT_TRUE(ui::headless::Click(window, "mnPrintAllPages"));
    if (c.Message[0] == '\0') {
      EXPECT_EQ(Backend().MessagesShown().size(), before);
    } else {
      ASSERT_EQ(Backend().MessagesShown().size(), before + 1);
      EXPECT_EQ(Backend().MessagesShown().back().Text, c.Message);
      EXPECT_EQ(Backend().MessagesShown().back().Caption, kPrintFailedCaption);
    }
  }
  EXPECT_TRUE(Backend().PrintedJobs().empty());
}

}  // namespace
}  // namespace tolv::testing
