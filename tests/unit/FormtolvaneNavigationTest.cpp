// Choosing pages with keys and the mouse over the memory a real recording filled, the two
// panels that report it, and holding a subpage against the stream.
#include <gtest/gtest.h>

#include <functional>

#include "tests/unit/ViewerSession.h"

namespace tolv::testing {
namespace {

constexpr ui::TColor kGreen = 0x00FF00;
constexpr ui::TColor kRed = 0x0000FF;

class Navigation : public ViewerTest {
 protected:
  std::vector<Buffer> bbc_ = RecordingBuffers(kBbc);
};

struct Step {
  const char* what;
  std::function<void(TFormTolv&)> act;
  const char* search;
  ui::TColor colour;
  const char* show;
  bool paused;
};

void Keys(TFormTolv& w, std::initializer_list<std::uint16_t> keys, ui::TShiftState shift = {}) {
  for (std::uint16_t key : keys) ui::headless::PressKey(w, key, shift);
}
std::function<void(TFormTolv&)> Press(std::initializer_list<std::uint16_t> keys, ui::TShiftState shift = {}) {
  std::vector<std::uint16_t> list(keys);
  return [list, shift](TFormTolv& w) {
    for (std::uint16_t key : list) ui::headless::PressKey(w, key, shift);
  };
}
std::uint16_t Pad(int digit) { return static_cast<std::uint16_t>(ui::vk::Numpad0 + digit); }

// One user's session over the BBC recording's pages (100 with subcodes 0 to 7, 101, 151 with
// subcodes 1, 4, 5 ... 15, nothing from 700 to 899).
TEST_F(Navigation, PanelsFollowAUsersSession) {
  using namespace ui::vk;
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverAll();
  Tick(window);

  const Step steps[] = {
      {"Enter", Press({Return}), " Suche: 100", kGreen, " Zeige: 100", false},
      {"first digit", Press({'1'}), " Suche: 1__", kGreen, " Zeige: 100", false},
      {"second digit", Press({'2'}), " Suche: 12_", kGreen, " Zeige: 100", false},
      {"third digit", Press({'3'}), " Suche: 123", kGreen, " Zeige: 123", false},
      {"9 first", Press({'9'}), " Suche: 123", kGreen, " Zeige: 123", false},
      {"0 first", Press({'0'}), " Suche: 123", kGreen, " Zeige: 123", false},
      {"8 0 0", Press({'8', '0', '0'}), " Suche: 800", kRed, " Zeige: 123", false},
      {"keypad 1 0 1", Press({Pad(1), Pad(0), Pad(1)}), " Suche: 101", kGreen, " Zeige: 101", false},
      {"Up from 899", Press({'8', '9', '9', Up}), " Suche: 100", kGreen, " Zeige: 100", false},
      {"Down from 100", Press({Down}), " Suche: 899", kRed, " Zeige: 100", false},
      {"Up from 799", Press({'7', '9', '9', Up}), " Suche: 800", kRed, " Zeige: 100", false},
      {"Down from 800", Press({Down}), " Suche: 799", kRed, " Zeige: 100", false},
      {"Shift+Up past the end", Press({Up}, ui::ssShift), " Suche: 100", kGreen, " Zeige: 100", false},
      {"Shift+Down past the start", Press({Down}, ui::ssShift), " Suche: 699", kGreen, " Zeige: 699.1", false},
      {"Shift+Up", Press({Up}, ui::ssShift), " Suche: 100", kGreen, " Zeige: 100", false},
      {"Shift+Up again", Press({Up}, ui::ssShift), " Suche: 101", kGreen, " Zeige: 101", false},
      {"151", Press({'1', '5', '1'}), " Suche: 151", kGreen, " Zeige: 151.1", false},
      {"Right", Press({Right}), " Suche: 151", kGreen, " Zeige: 151.4", true},
      {"Right again", Press({Right}), " Suche: 151", kGreen, " Zeige: 151.5", true},
      {"Left", Press({Left, Left}), " Suche: 151", kGreen, " Zeige: 151.1", true},
      {"Left from the first", Press({Left}), " Suche: 151", kGreen, " Zeige: 151.15", true},
      {"Space off", Press({Space}), " Suche: 151", kGreen, " Zeige: 151.15", false},
      {"Space on", Press({Space}), " Suche: 151", kGreen, " Zeige: 151.15", true},
      {"half an entry", Press({'2'}), " Suche: 2__", kGreen, " Zeige: 151.15", true},
      {"Enter", Press({Return}), " Suche: 100", kGreen, " Zeige: 100", false},
      {"Right on 100", Press({Right}), " Suche: 100", kGreen, " Zeige: 100.1", true},
      {"right click", [](TFormTolv& w) { ui::headless::MouseDown(*w.PaintBox1, ui::mbRight); }, " Suche: 100", kGreen,
       " Zeige: 100", false},
      {"Right, left click",
       [](TFormTolv& w) {
         Keys(w, {Right});
         ui::headless::MouseDown(*w.PaintBox1, ui::mbLeft);
       },
       " Suche: 100", kGreen, " Zeige: 100.1", true},
  };
  for (const Step& step : steps) {
    step.act(window);
    SCOPED_TRACE(step.what);
    EXPECT_EQ(window.PanelSearch->Caption(), step.search);
    EXPECT_EQ(window.PanelSearch->Color(), step.colour);
    EXPECT_EQ(window.PanelShow->Caption(), step.show);
    EXPECT_EQ(window.Paused.load(), step.paused);
    EXPECT_EQ(window.mnPause->Checked(), step.paused);
    EXPECT_EQ(window.SpeedButtonPause->Down(), step.paused);
  }
}

// Every number, whether the memory holds it or not, in display order 100 ... 899, 100.
TEST_F(Navigation, PlainUpAndDownVisitEveryNumberAndWrap) {
  TFormTolv& window = Open();
  for (unsigned expected = 101; expected <= 900; ++expected) {
    Key(window, ui::vk::Up);
    const unsigned number = expected == 900 ? 100 : expected;
    ASSERT_EQ(window.PanelSearch->Caption(), " Suche: " + std::to_string(number));
  }
  for (unsigned expected = 899; expected >= 99; --expected) {
    Key(window, ui::vk::Down);
    const unsigned number = expected == 99 ? 899 : expected;
    ASSERT_EQ(window.PanelSearch->Caption(), " Suche: " + std::to_string(number));
  }
}

TEST_F(Navigation, SearchForAPageNotInMemoryKeepsTheDisplayAndRefusesThePause) {
  DataThread data(bbc_);
  TFormTolv& window = Open();
  data.DeliverAll();
  Tick(window);
  const std::string shown = DisplayRow(window, 5);
  Type(window, "777");
  EXPECT_EQ(window.PanelSearch->Color(), kRed);
  EXPECT_EQ(DisplayRow(window, 5), shown);
  for (const std::string how : {"space", "Pause (SPACE)", "SpeedButtonPause"}) {
    SCOPED_TRACE(how);
    if (how == "space") {
      Key(window, ui::vk::Space);
    } else {
      ASSERT_TRUE(ui::headless::Click(window, how));
    }
    EXPECT_FALSE(window.Paused.load());
    EXPECT_FALSE(window.mnPause->Checked());
    EXPECT_FALSE(window.SpeedButtonPause->Down());
  }
}

TEST_F(Navigation, PauseHoldsTheShownSubpageAgainstTheOthers) {
  const Probe probe(bbc_);
  DataThread data(bbc_);
  TFormTolv& window = Open();
  const std::optional<Probe::HandOver> hold = probe.HoldableTransmission(100, 2);
  ASSERT_TRUE(hold);
  std::size_t at = hold->buffer + 1;
  data.DeliverUntil(at);
  Tick(window);
  ASSERT_EQ(window.ShownSubcode.load(), hold->subcode);
  ASSERT_TRUE(ui::headless::Click(window, "SpeedButtonPause"));
  ASSERT_TRUE(window.Paused.load());
  ASSERT_TRUE(window.mnPause->Checked());
  std::vector<std::string> rows;
  for (unsigned r = 1; r < kRows; ++r) rows.push_back(DisplayRow(window, r));

  const std::size_t heldAgain = probe.EndOfHandOver(100, at, hold->subcode);
  data.DeliverUntil(heldAgain - 1);
  Canvas().ResetCounts();
  Tick(window);
  EXPECT_EQ(window.ShownSubcode.load(), hold->subcode);
  for (unsigned r = 1; r < kRows; ++r) EXPECT_EQ(DisplayRow(window, r), rows[r - 1]) << "row " << r;
  EXPECT_EQ(Canvas().pagePaints, 0u);

  // A new transmission of the held subpage replaces it.
  data.DeliverUntil(heldAgain);
  Tick(window);
  EXPECT_EQ(Canvas().pagePaints, 1u);
  EXPECT_EQ(window.ShownSubcode.load(), hold->subcode);

  // Without the pause, the next transmission of any subcode replaces it.
  ASSERT_TRUE(ui::headless::Click(window, "Pause (SPACE)"));
  EXPECT_FALSE(window.SpeedButtonPause->Down());
  at = heldAgain;
  const std::size_t next = probe.EndOfHandOver(100, at);
  data.DeliverUntil(next);
  Tick(window);
  EXPECT_EQ(window.ShownSubcode.load(), probe.HandOversIn(at, next, 100).back().subcode);
  EXPECT_EQ(Canvas().pagePaints, 2u);
}

}  // namespace
}  // namespace tolv::testing
