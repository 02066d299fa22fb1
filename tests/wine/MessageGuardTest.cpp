// A handler that throws does not take the host down: the exception ends at the window procedure
// the system called, the message gets the system's default handling, and the window works on.
#include <gtest/gtest.h>

#include <stdexcept>

#include "WindowProbe.h"
#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::wine {
namespace {

class Thrower : public ui::Form {
 public:
  Thrower() : Form("Thrower") {
    SetBounds(0, 0, 200, 100);
    button = Make<ui::Button>("Throw", this);
    button->SetBounds(10, 10, 80, 25);
    button->SetCaption("Wirf");
    button->OnClick.Set([this](ui::Component& /*sender*/) {
      ++clicks;
      throw std::runtime_error("the handler failed");
    });
  }
  ui::Button* button;
  int clicks = 0;
};

TEST(MessageGuard, AnExceptionFromAHandlerEndsAtTheWindowProcedure) {
  auto* form = ui::Application().NewForm<Thrower>();
  form->Show();
  const HWND button = ui::win32::WindowOf(*form->button);
  ASSERT_NE(button, nullptr);
  // The click reaches the handler through the button's subclass procedure and the form's
  // WM_COMMAND; without the guard the first exception ends the process.
  SendMessageA(button, BM_CLICK, 0, 0);
  SendMessageA(button, BM_CLICK, 0, 0);
  PumpMessages();
  EXPECT_EQ(form->clicks, 2);
  EXPECT_NE(IsWindow(button), FALSE);
  ui::Application().FreeAllForms();
  PumpMessages();
}

}  // namespace
}  // namespace tolv::wine
