// The about dialog as a real modal window over the viewer: its texts, its tabs and "Weiter"
// buttons, its closing paths, and a screenshot.
#include <gtest/gtest.h>

#include "TestForms.h"
#include "ViewerOwnerTest.h"
#include "WindowProbe.h"
#include "ui/Application.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::wine {
namespace {

using ui::win32::WindowOf;

class AboutDialog : public ViewerOwnerTest {
 protected:
  void SetUp() override {
    journal.clear();
    ViewerOwnerTest::SetUp();
  }

  // Opens the dialog from the viewer's "Hilfe" menu; script acts while it is open.
  void OpenFromMenu(std::function<void(HWND dialog)> script) {
    AtNextModalLoop([script] { script(WindowOf(*frmAbout)); });
    const std::vector<MenuLine> lines = ReadMenu(GetMenu(owner));
    const MenuLine* about = FindLine(lines,
                                     "Info \xFC"
                                     "ber Tol-Vane DVB...");
    ASSERT_NE(about, nullptr);
    SendMessageA(owner, WM_COMMAND, about->Id, 0);
  }

  static HWND Tabs(HWND dialog) {
    for (HWND child : Descendants(dialog)) {
      if (ClassName(child) == "SysTabControl32") return child;
    }
    return nullptr;
  }
  // The sheet shown, by its caption.
  static std::string ShownSheet(HWND dialog) {
    for (HWND child : Descendants(Tabs(dialog))) {
      if (GetParent(child) == Tabs(dialog) && IsWindowVisible(child)) return WindowText(child);
    }
    return {};
  }
  static void ClickVisible(HWND dialog, const std::string& text) {
    for (HWND child : Descendants(dialog)) {
      if (WindowText(child) == text && IsWindowVisible(child)) {
        SendMessageA(child, BM_CLICK, 0, 0);
        return;
      }
    }
    ADD_FAILURE() << "no visible button " << text;
  }
};

TEST_F(AboutDialog, OpensModallyOnTheVersionTabOverItsDisabledOwner) {
  bool ran = false;
  OpenFromMenu([&](HWND dialog) {
    ran = true;
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    EXPECT_EQ(WindowText(dialog),
              "Info \xFC"
              "ber Tol-Vane DVB");
    for (const char* text : {"Tol-Vane DVB - Plugin f\xFCr WatchTVPro", "0.4", "26.02.2006", "OK",
                             "http://www.tolvane.example/", "tolvane@tolvane.example"}) {
      EXPECT_NE(FindByText(dialog, text), nullptr) << text;
    }
    HWND tabs = Tabs(dialog);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(TabCtrl_GetItemCount(tabs), 3);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);
    EXPECT_EQ(ShownSheet(dialog), "Version");
    EXPECT_NE(FindByText(dialog, "Vervielf\xE4ltigung"), nullptr);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 486);
    EXPECT_EQ(client.bottom, 441);
    const Screenshot shot = Capture(dialog);
    EXPECT_TRUE(WriteBmp(shot, ArtefactPath("about.bmp")));
    ClickVisible(dialog, "OK");
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(frmAbout, nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner));
  PumpMessages();
  EXPECT_EQ(ui::Application().FormCount(), 1u);  // the viewer alone
}

TEST_F(AboutDialog, WeiterCyclesTheTabsAndATabAnswersAClick) {
  std::vector<std::string> shown;
  OpenFromMenu([&](HWND dialog) {
    for (int press = 0; press < 3; ++press) {
      ClickVisible(dialog, "Weiter");
      shown.push_back(ShownSheet(dialog) + ":" + std::to_string(TabCtrl_GetCurSel(Tabs(dialog))));
    }
    // A click on the third tab, as the mouse makes it.
    HWND tabs = Tabs(dialog);
    RECT item{};
    TabCtrl_GetItemRect(tabs, 2, &item);
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(tabs, WM_LBUTTONUP, 0, at);
    shown.push_back(ShownSheet(dialog) + ":" + std::to_string(TabCtrl_GetCurSel(tabs)));
    const Screenshot shot = Capture(dialog);
    WriteBmp(shot, ArtefactPath("about-terms.bmp"));
    ClickVisible(dialog, "OK");
  });
  EXPECT_EQ(shown,
            (std::vector<std::string>{"Cardware:1", "Vervielf\xE4ltigung:2", "Version:0", "Vervielf\xE4ltigung:2"}));
}

struct ClosingPath {
  const char* name;
  void (*close)(HWND dialog);
  ui::TModalResult result;
};

const ClosingPath kClosingPaths[] = {
    {"OK button", [](HWND dialog) { SendMessageA(FindByText(dialog, "OK"), BM_CLICK, 0, 0); }, ui::mrOk},
    {"Enter key",
     [](HWND dialog) {
       SetFocus(dialog);
       PressKey(GetFocus() != nullptr ? GetFocus() : dialog, VK_RETURN);
     },
     ui::mrOk},
    {"close box", [](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, ui::mrCancel},
};

TEST_F(AboutDialog, OkEnterAndTheCloseBoxCloseAndFreeIt) {
  for (const ClosingPath& path : kClosingPaths) {
    SCOPED_TRACE(path.name);
    HWND dialog = nullptr;
    ui::Application().CreateForm(frmAbout);
    AtNextModalLoop([&] {
      dialog = WindowOf(*frmAbout);
      path.close(dialog);
    });
    EXPECT_EQ(frmAbout->ShowModal(), path.result);
    EXPECT_EQ(frmAbout, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    PumpMessages();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(ui::Application().FormCount(), 1u);
  }
}

TEST_F(AboutDialog, OpensOnTheVersionTabWhateverTabItClosedOn) {
  for (int round = 0; round < 2; ++round) {
    std::string first;
    OpenFromMenu([&](HWND dialog) {
      first = ShownSheet(dialog);
      ClickVisible(dialog, "Weiter");
      ClickVisible(dialog, "OK");
    });
    EXPECT_EQ(first, "Version");
    PumpMessages();
  }
}

}  // namespace
}  // namespace tolv::wine
