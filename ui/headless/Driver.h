// Plays the user against headless forms: keys, clicks on menu items, buttons and tabs found by
// name or caption, mouse buttons, timer ticks and the close box. Each action ends like a turn
// of a message loop: forms released during it are freed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/Form.h"
#include "ui/headless/HeadlessBackend.h"

namespace tolv::ui {
class PaintBox;
}

namespace tolv::ui::headless {

// Installs a fresh headless back end for its lifetime; at its end every form is freed and the
// previous back end comes back.
class Session {
 public:
  Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();
  HeadlessBackend& Backend() { return backend_; }

 private:
  HeadlessBackend backend_;
  ui::Backend* previous_;
};

// A caption as the user reads it: "&Datei" is "Datei".
std::string WithoutAccelerator(std::string_view caption);

// The component with this name, else the first control or menu item with this caption.
Component* Find(const Form& form, std::string_view nameOrCaption);

// Clicks the first menu item or control with this name or caption that the user can reach
// (shown and enabled, the form visible). False, and nothing happens, when there is none.
bool Click(Form& form, std::string_view nameOrCaption);
// Clicks the tab with this caption. False for a hidden or disabled tab.
bool SelectTab(Form& form, std::string_view caption);
// A key pressed while form is active. True when the form used the key up.
bool PressKey(Form& form, std::uint16_t key, TShiftState shift = {});
// A mouse button pressed over control. False when the user cannot reach it.
bool MouseDown(Control& control, TMouseButton button, TShiftState shift = {}, int x = 0, int y = 0);
// One period of every enabled timer of form.
void TickTimers(Form& form);
// The extra ticks other threads asked for with Timer::TickSoon (the headless back end posts
// nothing; the requests wait for this), as a message loop would run them next. The number run.
int RunTickRequests(Form& form);
// The box must be painted (exposed, or invalidated).
void Paint(PaintBox& box);
// The close box of the title bar.
void CloseBox(Form& form);

}  // namespace tolv::ui::headless
