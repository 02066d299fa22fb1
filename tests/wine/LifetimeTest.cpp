// Creating and freeing both windows again and again leaves nothing behind: every handle of the
// back end is given back, and the window classes go with the last window.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "TestForms.h"
#include "WindowProbe.h"
#include "ui/Application.h"
#include "ui/win32/Module.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::wine {
namespace {

using ui::win32::HandleKind;

constexpr HandleKind kKinds[] = {HandleKind::Window,   HandleKind::Font,     HandleKind::Bitmap,    HandleKind::Brush,
                                 HandleKind::MemoryDC, HandleKind::WindowDC, HandleKind::PrinterDC, HandleKind::Menu,
                                 HandleKind::Timer,    HandleKind::Global};
static_assert(std::size(kKinds) == static_cast<std::size_t>(HandleKind::kCount));

bool ClassRegistered(const char* name) {
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  return GetClassInfoExA(ui::win32::ModuleInstance(), name, &info) != FALSE;
}

void ExpectNothingLeft() {
  for (HandleKind kind : kKinds) EXPECT_EQ(ui::win32::LiveHandles(kind), 0) << ui::win32::HandleKindName(kind);
  EXPECT_EQ(ui::Application().FormCount(), 0u);
  EXPECT_FALSE(ui::win32::ClassesRegistered());
  for (const char* name :
       {ui::win32::kFormClass, ui::win32::kControlClass, ui::win32::kPaintBoxClass, ui::win32::kMessageClass}) {
    EXPECT_FALSE(ClassRegistered(name)) << name;
  }
}

TEST(Lifetime, TenRoundsOfBothWindowsLeaveNoHandleAndNoClassBehind) {
  ExpectNothingLeft();
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE(round);
    auto* viewer = ui::Application().NewForm<ViewerUnderTest>();
    viewer->Show();
    HWND window = ui::win32::WindowOf(*viewer);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(ClassRegistered(ui::win32::kFormClass));
    PumpFor(120);  // painted, timer running
    // A window for the form and for each of its controls.
    const auto controls = std::count_if(viewer->Components().begin(), viewer->Components().end(),
                                        [](const auto& c) { return dynamic_cast<ui::Control*>(c.get()) != nullptr; });
    EXPECT_EQ(ui::win32::LiveHandles(HandleKind::Window), 1 + controls);
    EXPECT_EQ(ui::win32::LiveHandles(HandleKind::Timer), 1);
    // The about dialog from the menu, closed with OK.
    AtNextModalLoop([] { SendMessageA(FindByText(ui::win32::WindowOf(*frmAbout), "OK"), BM_CLICK, 0, 0); });
    viewer->mnAbout->Click();
    PumpMessages();
    EXPECT_EQ(ui::Application().FormCount(), 1u);
    // The viewer closed with its close box.
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    ExpectNothingLeft();
  }
  EndModalScripts();
}

}  // namespace
}  // namespace tolv::wine
