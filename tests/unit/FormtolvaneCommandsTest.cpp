// The viewer's commands: reveal, clearing the memory, the page file, printer set-up and about.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/unit/ViewerSession.h"
#ifdef TOLV_WITH_TOLVANE
#include "tools/tolvane/Tolvane.h"
#endif
#include "viewer/FormAbout.h"

namespace tolv::testing {
namespace {

constexpr ui::TColor kGreen = 0x00FF00;

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Commands : public ViewerTest {
 protected:
  std::vector<Buffer> bbc_ = RecordingBuffers(kBbc);
};

// Page 519 of the BBC recording conceals 61 characters.
TEST_F(Commands, RevealTogglesBothControlsAndThePicture) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverAll();
  Type(window, "519");
  ASSERT_EQ(window.PanelShow->Caption(), " Zeige: 519");
  const std::vector<ui::TColor> hidden = Canvas().raster.Pixels();

  struct Toggle {
    const char* how;
    bool reveal;
  };
  for (const Toggle& t : {Toggle{"Rätseltaste", true}, Toggle{"SpeedButtonReveal", false},
                          Toggle{"SpeedButtonReveal", true}, Toggle{"Rätseltaste", false}}) {
    SCOPED_TRACE(std::string(t.how) + (t.reveal ? " on" : " off"));
    Canvas().ResetCounts();
    ASSERT_TRUE(ui::headless::Click(window, t.how));
    EXPECT_EQ(GetReveal(), t.reveal);
    EXPECT_EQ(window.mnReveal->Checked(), t.reveal);
    EXPECT_EQ(window.SpeedButtonReveal->Down(), t.reveal);
    EXPECT_EQ(Canvas().pagePaints, 1u);
    EXPECT_EQ(Canvas().raster.Pixels() == hidden, !t.reveal);
  }
  // Ctrl+R is the menu item's.
  ui::headless::PressKey(window, 'R', ui::ssCtrl);
  EXPECT_TRUE(window.mnReveal->Checked());
  EXPECT_FALSE(window.mnPause->Checked()) << "the two toggles are independent";
}

TEST_F(Commands, PauseAndRevealShowTogether) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverAll();
  Key(window, ui::vk::Return);
  ASSERT_TRUE(ui::headless::Click(window, "SpeedButtonPause"));
  ASSERT_TRUE(ui::headless::Click(window, "SpeedButtonReveal"));
  EXPECT_TRUE(window.mnPause->Checked());
  EXPECT_TRUE(window.mnReveal->Checked());
  EXPECT_TRUE(window.SpeedButtonPause->Down());
  EXPECT_TRUE(window.SpeedButtonReveal->Down());
}

TEST_F(Commands, ClearMemoryWithOkBlanksThePageAtOnceAndEmptiesTheMemory) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverAll();
  Key(window, ui::vk::Return);
  Key(window, ui::vk::Space);
  const std::string search = window.PanelSearch->Caption(), show = window.PanelShow->Caption();

  for (const char* how : {"Ctrl+L", "SpeedButtonDelAll"}) {
    SCOPED_TRACE(how);
    DataThread refill(bbc_);
    refill.DeliverAll();
    ASSERT_TRUE(MemoryHolds(window, 100));
    session_.Backend().AnswerNextMessageBox(ui::mrOk);
    if (std::string(how) == "Ctrl+L") {
      ui::headless::PressKey(window, 'L', ui::ssCtrl);
    } else {
      ASSERT_TRUE(ui::headless::Click(window, how));
    }
    const auto& asked = session_.Backend().MessagesShown().back();
    EXPECT_EQ(asked.Text, "Alle Seiten aus dem Speicher löschen?");
    EXPECT_EQ(asked.Caption, "Bestätigung");
    EXPECT_EQ(asked.Buttons, ui::MessageButtons::OkCancel);

    for (unsigned r = 0; r < kRows; ++r) EXPECT_EQ(DisplayRow(window, r), std::string(40, ' ')) << "row " << r;
    const auto& raster = Canvas().raster;
    const int left = window.Render.Rendering.PageLeft, right = window.Render.Rendering.PageRight;
    for (int y = 0; y < window.Render.Rendering.PageBottom; ++y) {
      for (int x = left; x < right; ++x) ASSERT_EQ(raster.Pixel(x, y), 0u) << x << "," << y;
    }
    for (std::uint16_t number : {100, 101, 151, 699}) EXPECT_FALSE(MemoryHolds(window, number));
    EXPECT_EQ(window.PanelSearch->Caption(), search);
    EXPECT_EQ(window.PanelShow->Caption(), show);
    EXPECT_EQ(window.PanelSearch->Color(), kGreen);
    EXPECT_TRUE(window.Paused.load());
  }
  // With nothing in memory Shift+Up finds nothing and only ends the pause.
  Key(window, ui::vk::Up, ui::ssShift);
  EXPECT_FALSE(window.Paused.load());
  EXPECT_EQ(window.PanelSearch->Caption(), search);
  EXPECT_EQ(window.PanelShow->Caption(), show);
}

TEST_F(Commands, ClearMemoryCancelledChangesNothing) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverAll();
  Key(window, ui::vk::Return);
  const std::vector<ui::TColor> picture = Canvas().raster.Pixels();
  const std::string row = DisplayRow(window, 3);
  session_.Backend().AnswerNextMessageBox(ui::mrCancel);
  ASSERT_TRUE(ui::headless::Click(window, "Speicher löschen..."));
  EXPECT_EQ(session_.Backend().MessagesShown().size(), 1u);
  EXPECT_EQ(Canvas().raster.Pixels(), picture);
  EXPECT_EQ(DisplayRow(window, 3), row);
  EXPECT_TRUE(MemoryHolds(window, 151));
}

TEST_F(Commands, ClearMemoryWithAFailedWaitChangesNothing) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverAll();
  Key(window, ui::vk::Return);
  const std::string row = DisplayRow(window, 3);
  session_.Backend().AnswerNextMessageBox(ui::mrOk);
  platform::portable::FailNextWaits(kPageDataMutexName, 1);
  ASSERT_TRUE(ui::headless::Click(window, "Speicher löschen..."));
  EXPECT_EQ(DisplayRow(window, 3), row);
  EXPECT_TRUE(MemoryHolds(window, 151));
}

#ifdef TOLV_WITH_TOLVANE
// The hidden button's command writes what tolvane writes for the same recording.
TEST_F(Commands, PageFileEqualsTolvaneSave) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverAll();
  ASSERT_FALSE(window.SpeedButton4->Visible());
  window.SpeedButton4->Click();  // no user can reach it; the program can
  const std::vector<std::uint8_t> written = FileBytes("plugins/vtx/test.vtx");

  const std::vector<std::string> args = {"save", SamplePath(kBbc), "-o", "expected.vtx"};
  std::istringstream in;
  std::ostringstream out, err;
  ASSERT_EQ(tolvane::RunTolvane(args, in, out, err), tolvane::kExitSuccess) << err.str();
  const std::vector<std::uint8_t> expected = FileBytes("expected.vtx");
  EXPECT_EQ(written.size(), 945u * 968u);
  EXPECT_TRUE(written == expected);
}
#endif

TEST_F(Commands, PageFileIsReplacedAndEmptiedAsTheMemoryIs) {
  TFormTolv& window = Open();
  {
    std::ofstream old("plugins/vtx/test.vtx", std::ios::binary);
    old << "old content";
  }
  window.SpeedButton4->Click();
  EXPECT_TRUE(FileBytes("plugins/vtx/test.vtx").empty()) << "an empty memory writes an empty file";

  DataThread data(bbc_);
  data.DeliverAll();
  platform::portable::FailNextWaits(kPageDataMutexName, 1);
  window.SpeedButton4->Click();
  EXPECT_TRUE(FileBytes("plugins/vtx/test.vtx").empty()) << "a failed wait writes nothing";

  std::filesystem::remove_all("plugins/vtx");
  window.SpeedButton4->Click();  // the folder is not created, and nothing is said
  EXPECT_FALSE(std::filesystem::exists("plugins/vtx"));
  EXPECT_TRUE(session_.Backend().MessagesShown().empty());
}

TEST_F(Commands, PrinterSetupIsShownAndItsAnswerIgnored) {
  TFormTolv& window = Open();
  for (const bool confirmed : {true, false}) {
    session_.Backend().AnswerNextPrinterSetup(confirmed);
    ASSERT_TRUE(ui::headless::Click(window, "Druckereinrichtung..."));
  }
  EXPECT_EQ(session_.Backend().PrinterSetupsShown(), 2);
  EXPECT_EQ(FormTolv.load(), &window);
}

TEST_F(Commands, AboutOpensTheModalDialogAndTheViewerStays) {
  TFormTolv& window = Open();
  std::string caption;
  session_.Backend().QueueModalScript([&](ui::Form& dialog) {
    caption = dialog.Caption();
    ui::headless::Click(dialog, "OK");
  });
  ASSERT_TRUE(ui::headless::Click(window, "Info über Tol-Vane DVB..."));
  EXPECT_EQ(caption, "Info über Tol-Vane DVB");
  EXPECT_EQ(frmAbout, nullptr);
  EXPECT_EQ(ui::Application().FormCount(), 1u);
  EXPECT_EQ(FormTolv.load(), &window);
}

}  // namespace
}  // namespace tolv::testing
