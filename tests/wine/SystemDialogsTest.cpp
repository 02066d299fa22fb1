// The system's message box and printer set-up dialog over the viewer: texts in the system's code
// page, the answer of each button, the viewer disabled while they are open. And the system's
// clipboard, as the viewer's copy commands fill it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestForms.h"
#include "ViewerOwnerTest.h"
#include "WindowProbe.h"
#include "ui/Application.h"
#include "ui/Clipboard.h"
#include "ui/Dialogs.h"
#include "ui/Dib.h"
#include "ui/win32/Handles.h"
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

// Another program's view: the text as UTF-16 (a mosaic sextant as a surrogate pair), the picture's
// bytes as given, the viewer window the owner; the memory is the system's once put, and the next
// copy replaces every format.
TEST_F(SystemDialogs, TheClipboardHoldsWhatWasPutThereAndNothingElse) {
  const std::vector<ui::TColor> pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
  const ui::ClipboardContent both{
      "\xC2\xA3"
      "1.93m \xF0\x9F\xAC\xB9\r\nzwei",
      ui::PackedDib(2, 2, pixels)};
  const int globalsBefore = ui::win32::LiveHandles(ui::win32::HandleKind::Global);
  ASSERT_TRUE(ui::PutOnClipboard(viewer, both));
  EXPECT_EQ(ui::win32::LiveHandles(ui::win32::HandleKind::Global), globalsBefore);

  ASSERT_TRUE(OpenClipboard(owner));
  EXPECT_EQ(GetClipboardOwner(), owner);
  HANDLE text = GetClipboardData(CF_UNICODETEXT);
  const auto* wide = text != nullptr ? static_cast<const wchar_t*>(GlobalLock(text)) : nullptr;
  EXPECT_EQ(std::wstring(wide != nullptr ? wide : L"<none>"),
            L"\u00A3"
            L"1.93m \xD83E\xDF39\r\nzwei");
  if (wide != nullptr) GlobalUnlock(text);
  HANDLE dib = GetClipboardData(CF_DIB);
  const auto* bytes = dib != nullptr ? static_cast<const std::uint8_t*>(GlobalLock(dib)) : nullptr;
  ASSERT_NE(bytes, nullptr);
  EXPECT_GE(GlobalSize(dib), both.Dib.size());
  EXPECT_TRUE(std::equal(both.Dib.begin(), both.Dib.end(), bytes));
  GlobalUnlock(dib);
  CloseClipboard();

  ASSERT_TRUE(ui::PutOnClipboard(viewer, {"eins", {}}));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
}

}  // namespace
}  // namespace tolv::wine
