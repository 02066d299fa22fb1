// Controls: alignment, state changes on a click, reachability, tabs, peers, shortcut texts and
// pictures, on the headless back end.
#include "ui/Controls.h"

#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/Menu.h"
#include "ui/PageControl.h"
#include "ui/headless/Driver.h"

namespace tolv::ui {
namespace {

using headless::Click;
using headless::HeadlessBackend;

class Board : public Form {
 public:
  Board() : Form("Board") {
    SetBounds(0, 0, 400, 300);
    top = Make<Panel>("Top", this);
    top->SetBounds(0, 0, 0, 27);
    top->SetAlign(Align::Top);
    bottom = Make<StatusBar>("Bottom", this);
    bottom->SetBounds(0, 0, 0, 19);
    bottom->SetAlign(Align::Bottom);
    pages = Make<PageControl>("Pages", this);
    pages->SetAlign(Align::Client);
    first = Make<TabSheet>("First", pages);
    first->SetCaption("&Erste");
    second = Make<TabSheet>("Second", pages);
    second->SetCaption("Zweite");
    box = Make<Panel>("Box", first);
    box->SetAlign(Align::Client);
    box->SetBevels(BevelCut::Lowered, BevelCut::Raised);
    side = Make<Panel>("Side", box);
    side->SetBounds(0, 0, 50, 0);
    side->SetAlign(Align::Right);
    toggle = Make<SpeedButton>("Toggle", top);
    toggle->SetToggle(true);
    toggle->SetCaption("Umschalten");
    plain = Make<SpeedButton>("Plain", top);
    plain->SetCaption("Knopf");
    check = Make<CheckBox>("Check", side);
    check->SetCaption("Haken");
    onSecond = Make<Button>("OnSecond", second);
    onSecond->SetCaption("Knopf");
  }
  Panel* top;
  StatusBar* bottom;
  PageControl* pages;
  TabSheet* first;
  TabSheet* second;
  Panel* box;
  Panel* side;
  SpeedButton* toggle;
  SpeedButton* plain;
  CheckBox* check;
  Button* onSecond;
};

class UiControls : public ::testing::Test {
 protected:
  void SetUp() override {
    board = Application().NewForm<Board>();
    board->Show();
  }
  headless::Session session;
  Board* board = nullptr;
};

TEST_F(UiControls, AlignedControlsShareTheClientAreaInOrder) {
  // Client area of a sizeable form without a menu: 400 - 2 * 4 by 300 - 4 - 19 - 4.
  constexpr int w = 400 - 2 * HeadlessBackend::kSizeableBorder;
  constexpr int h = 300 - 2 * HeadlessBackend::kSizeableBorder - HeadlessBackend::kCaptionHeight;
  constexpr TInsets tabs = HeadlessBackend::kTabStrip;
  constexpr int pageW = w - tabs.Left - tabs.Right;
  constexpr int pageH = h - 27 - 19 - tabs.Top - tabs.Bottom;
  const struct {
    Control* control;
    TRect bounds;
  } cases[] = {
      {board->top, {0, 0, w, 27}},
      {board->bottom, {0, h - 19, w, 19}},
      {board->pages, {0, 27, w, h - 27 - 19}},
      {board->first, {0, 0, pageW, pageH}},
      {board->second, {0, 0, pageW, pageH}},
      {board->box, {0, 0, pageW, pageH}},
      {board->side, {pageW - 2 - 50, 2, 50, pageH - 4}},  // inside two bevels of one pixel
  };
  for (const auto& c : cases) EXPECT_EQ(c.control->Bounds(), c.bounds) << c.control->Name();
}

TEST_F(UiControls, HidingAnAlignedControlGivesItsRoomAwayAndResizingAlignsAgain) {
  board->top->SetVisible(false);
  EXPECT_EQ(board->pages->Top(), 0);
  board->SetBounds(0, 0, 500, 300);
  EXPECT_EQ(board->pages->Width(), 500 - 2 * HeadlessBackend::kSizeableBorder);
  EXPECT_EQ(board->side->Left(), board->box->Width() - 2 - 50);
}

TEST_F(UiControls, AToggleButtonChangesItsStateBeforeItsHandlerRuns) {
  std::vector<bool> seen;
  board->toggle->OnClick.Set([&](Component&) { seen.push_back(board->toggle->Down()); });
  board->plain->OnClick.Set([&](Component&) { seen.push_back(board->plain->Down()); });
  EXPECT_TRUE(Click(*board, "Umschalten"));
  EXPECT_TRUE(Click(*board, "Umschalten"));
  EXPECT_TRUE(Click(*board, "Plain"));
  EXPECT_EQ(seen, (std::vector<bool>{true, false, false}));
  EXPECT_TRUE(Click(*board, "Haken"));
  EXPECT_TRUE(board->check->Checked());
}

TEST_F(UiControls, UsersReachOnlyShownEnabledControls) {
  int clicks = 0;
  board->plain->OnClick.Set([&](Component&) { ++clicks; });
  board->onSecond->OnClick.Set([&](Component&) { ++clicks; });
  board->plain->SetEnabled(false);
  EXPECT_FALSE(Click(*board, "Plain"));
  board->plain->SetEnabled(true);
  board->top->SetEnabled(false);  // a disabled container disables what it holds
  EXPECT_FALSE(Click(*board, "Plain"));
  board->top->SetEnabled(true);
  board->side->SetVisible(false);
  EXPECT_FALSE(Click(*board, "Haken"));
  EXPECT_EQ(clicks, 0);
  // Two controls share the caption "Knopf"; the one on the hidden page is out of reach.
  EXPECT_TRUE(Click(*board, "Knopf"));
  EXPECT_EQ(clicks, 1);
  board->Hide();
  EXPECT_FALSE(Click(*board, "Knopf"));
}

TEST_F(UiControls, TheUserChoosesOnlyVisibleEnabledTabs) {
  EXPECT_EQ(board->pages->ActivePage(), board->first);
  EXPECT_FALSE(board->onSecond->Showing());
  EXPECT_TRUE(headless::SelectTab(*board, "Zweite"));
  EXPECT_EQ(board->pages->ActivePage(), board->second);
  EXPECT_TRUE(board->onSecond->Showing());
  EXPECT_FALSE(board->check->Showing());
  EXPECT_TRUE(headless::SelectTab(*board, "Erste"));  // "&Erste" reads "Erste"

  board->second->SetEnabled(false);
  EXPECT_FALSE(headless::SelectTab(*board, "Zweite"));
  board->second->SetEnabled(true);
  board->second->SetTabVisible(false);
  EXPECT_FALSE(headless::SelectTab(*board, "Zweite"));
  EXPECT_EQ(board->pages->VisibleTabs(), (std::vector<TabSheet*>{board->first}));
  board->pages->SetActivePage(board->second);  // the program may show any page
  EXPECT_EQ(board->pages->ActivePage(), board->second);
}

TEST_F(UiControls, HidingTheActiveTabShowsTheNextVisibleOne) {
  board->first->SetTabVisible(false);
  EXPECT_EQ(board->pages->ActivePage(), board->second);
}

TEST_F(UiControls, MouseDownCarriesItsButtonInTheShiftState) {
  TShiftState seen;
  board->plain->OnMouseDown.Set([&](Component&, TMouseButton, TShiftState shift, int, int) { seen = shift; });
  EXPECT_TRUE(headless::MouseDown(*board->plain, mbRight, ssShift));
  EXPECT_EQ(seen, ssShift | ssRight);
}

// Records every property change a back end would have to copy to its window.
class RecordingPeer : public ComponentPeer {
 public:
  RecordingPeer(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
  RecordingPeer(const RecordingPeer&) = delete;
  RecordingPeer& operator=(const RecordingPeer&) = delete;
  ~RecordingPeer() override { log_.push_back("destroy " + name_); }
  void Changed(Property property) override { log_.push_back(name_ + " " + std::to_string(static_cast<int>(property))); }

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

class RecordingBackend : public HeadlessBackend {
 public:
  std::unique_ptr<ComponentPeer> CreatePeer(Component& component) override {
    return std::make_unique<RecordingPeer>(log, component.Name());
  }
  std::vector<std::string> log;
};

class Pair : public Form {
 public:
  Pair() : Form("Pair") {
    parent = Make<Panel>("Parent", this);
    child = Make<Label>("Child", parent);
  }
  Panel* parent;
  Label* child;
};

TEST(UiPeers, ChangedPropertiesReachThePeerAndPeersGoChildrenFirst) {
  RecordingBackend backend;
  Backend* previous = SetBackend(&backend);
  Pair* pair = Application().NewForm<Pair>();
  backend.log.clear();
  pair->child->SetCaption("Text");
  pair->child->SetCaption("Text");  // unchanged: nothing to copy
  pair->child->SetColor(clRed);
  pair->parent->SetEnabled(false);
  const auto caption = std::to_string(static_cast<int>(Property::Caption));
  const auto color = std::to_string(static_cast<int>(Property::Color));
  const auto enabled = std::to_string(static_cast<int>(Property::Enabled));
  EXPECT_EQ(backend.log, (std::vector<std::string>{"Child " + caption, "Child " + color, "Parent " + enabled}));
  backend.log.clear();
  Application().Free(*pair);
  EXPECT_EQ(backend.log, (std::vector<std::string>{"destroy Child", "destroy Parent", "destroy Pair"}));
  SetBackend(previous);
}

TEST(UiPeers, APaintBoxHoldsTheCanvasItsBackEndSuppliesWhileItHasAPeer) {
  headless::Session session;
  // The canvas is never drawn on here: only its identity is checked.
  static int token = 0;
  auto* const expected = reinterpret_cast<Canvas*>(&token);
  // The aliasing constructor: the pointer is expected, the owner an int to be deleted.
  auto owner = std::make_shared<int>(0);
  session.Backend().SetCanvasFactory([&](PaintBox&) { return std::shared_ptr<Canvas>(owner, expected); });
  struct Painted : Form {
    Painted() : Form("Painted") { box = Make<PaintBox>("Box", this); }
    PaintBox* box;
  };
  auto* form = Application().NewForm<Painted>();
  EXPECT_EQ(form->box->Canvas(), expected);
  PaintBox* const box = form->box;
  form->BeforeDestruction();
  EXPECT_EQ(box->Canvas(), nullptr);
}

TEST(ShortCutToText, NamesTheKeysAsAGermanMenuDoes) {
  const struct {
    TShortCut shortcut;
    const char* text;
  } cases[] = {
      {CtrlKey('R'), "Strg+R"},
      {ShortCut('7', ssCtrl | ssShift), "Strg+Umschalt+7"},
      {ShortCut('X', ssAlt), "Alt+X"},
      {scNone, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortCutToText(c.shortcut), c.text);
}

TEST(PixelImage, RowsBecomePixelsWithTransparentGapsAndPadding) {
  const PixelImage image = ImageFromRows({"ab.", "b"}, {{'a', clRed}, {'b', clBlue}});
  ASSERT_EQ(image.Width, 3);
  ASSERT_EQ(image.Height, 2);
  EXPECT_EQ(image.Pixels, (std::vector<TColor>{clRed, clBlue, clFuchsia, clBlue, clFuchsia, clFuchsia}));
}

TEST(PixelImage, TwoStateGlyphAddsAGreyDisabledLook) {
  const PixelImage glyph = ImageFromRows({"a..", "..."}, {{'a', clRed}});
  const PixelImage strip = TwoStateGlyph(glyph);
  ASSERT_EQ(strip.Width, 6);
  ASSERT_EQ(strip.Height, 2);
  EXPECT_EQ(strip.At(0, 0), clRed);  // the normal state as drawn
  EXPECT_EQ(strip.At(1, 0), clFuchsia);
  EXPECT_EQ(strip.At(3, 0), clGray);  // the disabled state: grey shape, white shadow
  EXPECT_EQ(strip.At(4, 1), clWhite);
  EXPECT_EQ(strip.At(4, 0), clFuchsia);
}

}  // namespace
}  // namespace tolv::ui
