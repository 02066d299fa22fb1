// The viewer's layout as real windows: controls found by their captions, the menu read back from
// its HMENU, shortcuts, toolbar buttons, timer, mouse and close box, and a screenshot.
#include <gtest/gtest.h>

#include "TestForms.h"
#include "WindowProbe.h"
#include "ui/Application.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::wine {
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

// Windows-1252 bytes: ä E4, ö D6, ü FC, Ö D6.
const MenuLine kMenu[] = {
    {0, "&Datei", true, false, true, 0},
    {1,
     "\xD6"
     "ffnen...\tStrg+O",
     false, false, false, 0},
    {1, "-", true, false, false, 0},
    {1, "Speichern &unter", true, false, true, 0},
    {2, "aktuelle Seite...\tStrg+S", true, false, false, 0},
    {2, "alle Unterseiten...", true, false, false, 0},
    {2, "alle Seiten...", true, false, false, 0},
    {1, "-", true, false, false, 0},
    {1, "Drucken", true, false, true, 0},
    {2, "aktuelle Seite...\tStrg+P", true, false, false, 0},
    {2, "alle Unterseiten...", true, false, false, 0},
    {2, "alle Seiten...", true, false, false, 0},
    {2, "Hintergrund drucken", true, false, false, 0},
    {1, "Druckereinrichtung...", true, false, false, 0},
    {1, "-", true, false, false, 0},
    {1, "Offline", false, false, false, 0},
    {1, "Beenden", true, false, false, 0},
    {0, "Bearbeiten", true, false, true, 0},
    {1, "Seite als Text kopieren\tStrg+C", true, false, false, 0},
    {1, "Seite als Grafik kopieren", true, false, false, 0},
    {0, "Programm", true, false, true, 0},
    {1, "R\xE4tseltaste\tStrg+R", true, false, false, 0},
    {1,
     "Uhrzeit \xFC"
     "bernehmen\tStrg+U",
     false, false, false, 0},
    {1, "Speicher l\xF6schen...\tStrg+L", true, false, false, 0},
    {1, "Pause (SPACE)", true, false, false, 0},
    {1, "-", true, false, false, 0},
    {1, "Setup...", false, false, false, 0},
    {0, "Hilfe", true, false, true, 0},
    {1, "Inhalt", false, false, false, 0},
    {1, "-", true, false, false, 0},
    {1,
     "Info \xFC"
     "ber Tol-Vane DVB...",
     true, false, false, 0},
};

TEST_F(ViewerWindow, MenuBarHoldsEveryItemWithItsShortcutAndState) {
  std::vector<MenuLine> lines = ReadMenu(GetMenu(window));
  ASSERT_EQ(lines.size(), std::size(kMenu));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(kMenu[i].Text);
    EXPECT_NE(lines[i].Id, 0u);
    lines[i].Id = 0;
    EXPECT_EQ(lines[i], kMenu[i]);
  }
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
  for (char letter : {'O', 'U'}) {
    SCOPED_TRACE(letter);
    journal.clear();
    PressKey(window, static_cast<std::uint8_t>(letter), true);
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
