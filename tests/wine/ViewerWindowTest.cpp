// The viewer's layout as real windows: controls found by their captions, the menu read back from
// its HMENU, shortcuts, toolbar buttons, timer, mouse and close box, and a screenshot.
#include <gtest/gtest.h>

#include <ostream>

#include "TestForms.h"
#include "WindowProbe.h"
#include "ui/Application.h"
#include "ui/TextEncoding.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::wine {

// A menu line in a failure message.
void PrintTo(const MenuLine& line, std::ostream* out) {
  *out << "{depth " << line.Depth << ", \"" << line.Text << "\", " << (line.Enabled ? "enabled" : "grayed")
       << (line.Checked ? ", checked" : "") << (line.HasSubmenu ? ", submenu" : "") << "}";
}

namespace {

using ui::win32::WindowOf;

class ViewerWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    form = ui::Application().NewForm<ViewerUnderTest>();
    form->Show();
    window = WindowOf(*form);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    PumpMessages();
    journal.clear();
  }
  void TearDown() override {
    EndModalScripts();
    ui::Application().FreeAllForms();
    PumpMessages();
  }
  HWND Child(const char* name) const { return WindowOf(*form->FindComponent(name)); }
  UINT MenuId(const std::string& text) const {
    const std::vector<MenuLine> lines = ReadMenu(GetMenu(window));
    const MenuLine* line = FindLine(lines, text);
    return line != nullptr ? line->Id : 0;
  }
  bool MenuChecked(const std::string& text) const {
    const std::vector<MenuLine> lines = ReadMenu(GetMenu(window));
    const MenuLine* line = FindLine(lines, text);
    return line != nullptr && line->Checked;
  }

  ViewerUnderTest* form = nullptr;
  HWND window = nullptr;
};

struct WindowRow {
  const char* text;  // Windows-1252
  const char* className;
  bool visible;
};

const WindowRow kWindows[] = {
    {" Suche: 100", "TolvControl", true},
    {" Zeige: 100", "TolvControl", true},
    {"Alles Speichern", "Button", false},  // hidden by the window's creation
    {"VT", "TolvControl", true},
    {"Attr.", "TolvControl", false},
    {"MOT", "TolvControl", false},
    {"Log", "TolvControl", false},
    {"LOP", "Button", false},  // on the hidden debug panel
    {"Level:", "Static", false},
    {"Erase Page", "Button", false},
    {"Mode: 0=parallel, 1=serial", "Button", false},
    {"CharSet:", "Static", false},
};

TEST_F(ViewerWindow, EveryControlIsAWindowCarryingItsCaption) {
  EXPECT_EQ(WindowText(window), "Tol-Vane DVB");
  EXPECT_EQ(ClassName(window), "TolvForm");
  for (const WindowRow& row : kWindows) {
    SCOPED_TRACE(row.text);
    HWND control = FindByText(window, row.text);
    ASSERT_NE(control, nullptr);
    EXPECT_STRCASEEQ(ClassName(control).c_str(), row.className);
    EXPECT_EQ(IsWindowVisible(control) != FALSE, row.visible);
  }
  EXPECT_STRCASEEQ(ClassName(Child("PageControl1")).c_str(), "SysTabControl32");
  EXPECT_STRCASEEQ(ClassName(Child("StatusBar1")).c_str(), "msctls_statusbar32");
  EXPECT_STRCASEEQ(ClassName(Child("MemoDebugLog")).c_str(), "Edit");
  EXPECT_STRCASEEQ(ClassName(Child("PaintBox1")).c_str(), "TolvPaintBox");
  // Only the "VT" tab is left to choose.
  HWND tabs = Child("PageControl1");
  ASSERT_EQ(TabCtrl_GetItemCount(tabs), 1);
  char text[32] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ASSERT_TRUE(TabCtrl_GetItem(tabs, 0, &item));
  EXPECT_STREQ(text, "VT");
}

RECT ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

TEST_F(ViewerWindow, ControlsSitWhereTheLayoutPutsThem) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  // The framework's client area is the window's.
  EXPECT_EQ(form->ClientWidth(), client.right);
  EXPECT_EQ(form->ClientHeight(), client.bottom);
  const RECT toolbar = ScreenRect(Child("Panel1"));
  EXPECT_EQ(toolbar.left, origin.x);
  EXPECT_EQ(toolbar.top, origin.y);
  EXPECT_EQ(toolbar.right - toolbar.left, client.right);
  EXPECT_EQ(toolbar.bottom - toolbar.top, 27);
  const RECT status = ScreenRect(Child("StatusBar1"));
  EXPECT_EQ(status.bottom, origin.y + client.bottom);
  EXPECT_EQ(status.bottom - status.top, 19);
  const RECT pages = ScreenRect(Child("PageControl1"));
  EXPECT_EQ(pages.top, toolbar.bottom);
  EXPECT_EQ(pages.bottom, status.top);
  const RECT search = ScreenRect(Child("PanelSearch"));
  EXPECT_EQ(search.left - toolbar.left, 4);
  EXPECT_EQ(search.top - toolbar.top, 3);
  EXPECT_EQ(search.right - search.left, 85);
  const RECT pause = ScreenRect(Child("SpeedButtonPause"));
  EXPECT_EQ(pause.left - toolbar.left, 425);
  EXPECT_EQ(pause.right - pause.left, 25);
  // The paint box at the top left of the scroll box's client area, at its design size.
  const RECT box = ScreenRect(Child("PaintBox1"));
  POINT scrollOrigin{0, 0};
  ClientToScreen(Child("ScrollBox1"), &scrollOrigin);
  EXPECT_EQ(box.left, scrollOrigin.x);
  EXPECT_EQ(box.top, scrollOrigin.y);
  EXPECT_EQ(box.right - box.left, 733);
  EXPECT_EQ(box.bottom - box.top, 385);
}

// The portable menu as the system should report it: captions in Windows-1252 with the shortcut
// after a tab, in display order.
std::vector<MenuLine> PortableMenu(const std::vector<ui::MenuItem*>& items, int depth = 0) {
  std::vector<MenuLine> lines;
  for (const ui::MenuItem* item : items) {
    if (!item->Visible()) continue;
    std::string text = item->IsSeparator() ? "-" : ui::Utf8ToWindows1252(item->Caption());
    if (item->ShortCut() != ui::scNone) {
      text += '\t';  // in two steps: GCC 12 warns wrongly about a concatenation's memcpy at -O3
      text += ui::Utf8ToWindows1252(ui::ShortCutToText(item->ShortCut()));
    }
    lines.push_back({depth, text, item->Enabled(), item->Checked(), !item->Items().empty(), 0});
    std::vector<MenuLine> inner = PortableMenu(item->Items(), depth + 1);
    lines.insert(lines.end(), inner.begin(), inner.end());
  }
  return lines;
}

// The system's menu of the window equals the menu the layout built, line by line, and keeps
// equal as commands and the program change captions, states and check marks.
void ExpectSystemMenuMatches(HWND window, const ui::MainMenu& menu) {
  std::vector<MenuLine> lines = ReadMenu(GetMenu(window));
  const std::vector<MenuLine> expected = PortableMenu(menu.Items());
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(expected[i].Text);
    EXPECT_NE(lines[i].Id, 0u);
    if (!lines[i].HasSubmenu && lines[i].Text != "-") {
      // The item's own state, asked by its command as a host would.
      const UINT state = GetMenuState(GetMenu(window), lines[i].Id, MF_BYCOMMAND);
      EXPECT_EQ((state & MF_GRAYED) == 0, expected[i].Enabled);
      EXPECT_EQ((state & MF_CHECKED) != 0, expected[i].Checked);
    }
    lines[i].Id = 0;
    EXPECT_EQ(lines[i], expected[i]);
  }
}

TEST_F(ViewerWindow, SystemMenuIsThePortableMenuThroughEveryChange) {
  ASSERT_FALSE(form->MainMenu1->Items().empty());
  ExpectSystemMenuMatches(window, *form->MainMenu1);
  PressKey(window, 'R', true);
  SendMessageA(window, WM_COMMAND, MenuId("Pause (SPACE)"), 0);
  ASSERT_TRUE(form->mnReveal->Checked());
  ASSERT_TRUE(form->mnPause->Checked());
  form->mnSetClock->SetEnabled(true);
  form->mnClearMem->SetEnabled(false);
  form->mnOffline->SetCaption("Online");
  form->mnCopyAsGraphic->SetShortCut(ui::CtrlKey('G'));
  form->mnOpen->SetVisible(false);
  ExpectSystemMenuMatches(window, *form->MainMenu1);
  form->mnOpen->SetVisible(true);
  ExpectSystemMenuMatches(window, *form->MainMenu1);
}

TEST_F(ViewerWindow, CtrlShortcutsRunTheirItemsFromWhicheverWindowHasTheFocus) {
  PressKey(window, 'R', true);
  EXPECT_EQ(journal, (std::vector<std::string>{"Reveal:mnReveal"}));
  EXPECT_TRUE(MenuChecked("R\xE4tseltaste"));
  EXPECT_TRUE(form->SpeedButtonReveal->Down());
  // From a control with the keyboard focus, the form's key preview still sees the key first.
  SetFocus(Child("PageControl1"));
  PressKey(GetFocus(), 'R', true);
  EXPECT_FALSE(MenuChecked("R\xE4tseltaste"));
  PressKey(GetFocus(), 'L', true);
  EXPECT_EQ(journal.back(), "mnClearMemClick:mnClearMem");
  PressKey(GetFocus(), 'C', true);
  EXPECT_EQ(journal.back(), "mnCopyAsTextClick:mnCopyAsText");
  PressKey(GetFocus(), 'S', true);
  EXPECT_EQ(journal.back(), "mnSaveActClick:mnSaveAct");
  PressKey(GetFocus(), 'P', true);
  EXPECT_EQ(journal.back(), "mnPrintActClick:mnPrintAct");
  // Keys that are no shortcut go to the form's key handler.
  PressKey(GetFocus(), 'A');
  EXPECT_EQ(journal.back(), "FormKeyDown:65");
}

TEST_F(ViewerWindow, ShortcutsAndCommandsOfDisabledItemsDoNothing) {
  for (const MenuEntry& row : FormTolvMenu()) {
    if (row.Enabled || row.ShortCut == ui::scNone) continue;
    SCOPED_TRACE(row.Name);
    const auto letter = static_cast<std::uint8_t>(row.ShortCut & 0xFFu);
    journal.clear();
    PressKey(window, letter, true);
    // Not used up by a menu item: the key handler sees it, nothing else happens.
    EXPECT_EQ(journal, (std::vector<std::string>{"FormKeyDown:" + std::to_string(letter)}));
  }
  form->mnReveal->SetEnabled(false);
  journal.clear();
  PressKey(window, 'R', true);
  SendMessageA(window, WM_COMMAND, MenuId("R\xE4tseltaste"), 0);
  EXPECT_EQ(journal, (std::vector<std::string>{"FormKeyDown:82"}));
  EXPECT_FALSE(MenuChecked("R\xE4tseltaste"));
  const std::vector<MenuLine> lines = ReadMenu(GetMenu(window));
  EXPECT_FALSE(FindLine(lines, "R\xE4tseltaste")->Enabled);
}

TEST_F(ViewerWindow, MenuCommandsAndToolbarButtonsShareTheirState) {
  SendMessageA(window, WM_COMMAND, MenuId("Pause (SPACE)"), 0);
  EXPECT_EQ(journal.back(), "Pause:mnPause");
  EXPECT_TRUE(MenuChecked("Pause (SPACE)"));
  EXPECT_TRUE(form->SpeedButtonPause->Down());
  SendMessageA(Child("SpeedButtonPause"), BM_CLICK, 0, 0);
  EXPECT_EQ(journal.back(), "Pause:SpeedButtonPause");
  EXPECT_FALSE(MenuChecked("Pause (SPACE)"));
  SendMessageA(Child("SpeedButtonDelAll"), BM_CLICK, 0, 0);
  EXPECT_EQ(journal.back(), "mnClearMemClick:SpeedButtonDelAll");
  // A speed button does not keep the keyboard focus.
  EXPECT_NE(GetFocus(), Child("SpeedButtonDelAll"));
  SendMessageA(Child("SpeedButtonSaveAs"), BM_CLICK, 0, 0);
  EXPECT_EQ(journal.back(), "mnSaveActClick:SpeedButtonSaveAs");
  SendMessageA(Child("SpeedButtonPrint"), BM_CLICK, 0, 0);
  EXPECT_EQ(journal.back(), "mnPrintActClick:SpeedButtonPrint");
  journal.clear();
  for (const char* idle : {"SpeedButtonOpen", "SpeedButtonSetClock"}) {
    EXPECT_FALSE(IsWindowEnabled(Child(idle))) << idle;
    SendMessageA(Child(idle), BM_CLICK, 0, 0);
  }
  EXPECT_TRUE(journal.empty());
}

TEST_F(ViewerWindow, TimerTicksWhileTheHostRunsItsMessageLoop) {
  timerTicks = 0;
  PumpFor(450);
  // A busy machine may coalesce ticks, but some come, and never more than the interval allows.
  EXPECT_GE(timerTicks, 1);
  EXPECT_LE(timerTicks, 6);
}

TEST_F(ViewerWindow, MouseButtonsOnThePaintBoxReportButtonAndPlace) {
  SendMessageA(Child("PaintBox1"), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 20));
  SendMessageA(Child("PaintBox1"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(700, 380));
  EXPECT_EQ(journal, (std::vector<std::string>{"PaintBox1MouseDown:PaintBox1:1@10,20",
                                               "PaintBox1MouseDown:PaintBox1:0@700,380"}));
}

// Picking the viewer from the host's menu again shows the open window: a minimised one is
// restored and comes to the front.
TEST_F(ViewerWindow, ShownAgainWhileMinimisedComesBackToTheFront) {
  ShowWindow(window, SW_MINIMIZE);
  PumpMessages();
  ASSERT_NE(IsIconic(window), FALSE);
  form->Show();
  PumpMessages();
  EXPECT_EQ(IsIconic(window), FALSE);
  EXPECT_EQ(GetForegroundWindow(), window);
}

TEST_F(ViewerWindow, CloseBoxAndBeendenFreeTheWindowAfterTheirEvent) {
  for (bool closeBox : {true, false}) {
    SCOPED_TRACE(closeBox ? "close box" : "Beenden");
    if (!closeBox) {
      form = ui::Application().NewForm<ViewerUnderTest>();
      form->Show();
      window = WindowOf(*form);
    }
    journal.clear();
    if (closeBox) {
      SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
      form->mnCloseApp->OnClick.Set([this](ui::Component&) { form->Close(); });
      SendMessageA(window, WM_COMMAND, MenuId("Beenden"), 0);
    }
    // Freed once the event is over, not inside it.
    EXPECT_EQ(journal, (std::vector<std::string>{"FormClose"}));
    EXPECT_TRUE(IsWindow(window));
    PumpMessages();
    EXPECT_EQ(journal, (std::vector<std::string>{"FormClose", "FormDestroy"}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(ui::Application().FormCount(), 0u);
  }
}

TEST_F(ViewerWindow, ScreenshotShowsTheLayoutWithThePage) {
  form->SetBounds(0, 0, form->Width(), form->Height());  // wholly on the test's 1024 x 768 screen
  const Screenshot shot = Capture(window);
  ASSERT_GT(shot.Width, 900);
  EXPECT_TRUE(WriteBmp(shot, ArtefactPath("viewer.bmp")));
  // Sample the picture where the layout puts things: the green search panel, the black page.
  RECT frame{};
  GetWindowRect(window, &frame);
  auto at = [&](HWND child, int x, int y) {
    RECT r{};
    GetWindowRect(child, &r);
    return shot.At(r.left - frame.left + x, r.top - frame.top + y);
  };
  EXPECT_EQ(at(Child("PanelSearch"), 80, 10), 0x00FF00u);
  EXPECT_EQ(at(Child("PaintBox1"), 2, 2), 0x000000u);
  EXPECT_EQ(at(Child("PaintBox1"), 2, 380), GetSysColor(COLOR_BTNFACE));  // below the page
}

}  // namespace
}  // namespace tolv::wine
