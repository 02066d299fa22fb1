// The system's message box and printer set-up dialog over the viewer: texts in the system's code
// page, the answer of each button, the viewer disabled while they are open.
#include <gtest/gtest.h>

#include "TestForms.h"
#include "ViewerOwnerTest.h"
#include "WindowProbe.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::wine {
namespace {

class SystemDialogs : public ViewerOwnerTest {};

struct BoxRow {
  ui::MessageButtons buttons;
  int press;  // IDOK or IDCANCEL
  ui::TModalResult answer;
};
const BoxRow kBoxes[] = {
    {ui::MessageButtons::Ok, IDOK, ui::mrOk},
    {ui::MessageButtons::OkCancel, IDOK, ui::mrOk},
    {ui::MessageButtons::OkCancel, IDCANCEL, ui::mrCancel},
};

TEST_F(SystemDialogs, MessageBoxesShowTheirTextAndAnswerWithTheButtonPressed) {
  for (const BoxRow& row : kBoxes) {
    SCOPED_TRACE(row.press);
    bool seen = false;
    AtNextModalLoop([&] {
      HWND box = FindWindowA("#32770", "L\xF6schen");
      ASSERT_NE(box, nullptr);
      seen = true;
      EXPECT_FALSE(IsWindowEnabled(owner));
      EXPECT_NE(FindByText(box, "Speicher wirklich l\xF6schen?"), nullptr);
      EXPECT_EQ(GetDlgItem(box, IDCANCEL) != nullptr, row.buttons == ui::MessageButtons::OkCancel);
      PostMessageA(box, WM_COMMAND, row.press, 0);
    });
    EXPECT_EQ(ui::ShowMessageBox("Speicher wirklich löschen?", "Löschen", row.buttons), row.answer);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
}

TEST_F(SystemDialogs, PrinterSetupCancelledReportsNotConfirmed) {
  // Wine without printers may refuse at once or show a dialog (or a notice): cancel what shows.
  AtNextModalLoop([] {
    if (HWND dialog = GetForegroundWindow(); dialog != nullptr && ClassName(dialog) == "#32770") {
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
  });
  EXPECT_FALSE(viewer->PrinterSetupDialog->Execute());
  EXPECT_TRUE(IsWindowEnabled(owner));
}

}  // namespace
}  // namespace tolv::wine
