// The peer of a form: a top-level window that runs its menu commands, its timers and its key
// preview, turns the close box into Form::Close and follows the user's moving and sizing.
#pragma once

#include <map>

#include "ui/Form.h"
#include "ui/win32/WindowPeer.h"

namespace tolv::ui {
class MenuItem;
class Timer;
}  // namespace tolv::ui

namespace tolv::ui::win32 {

class FormPeer final : public WindowPeer {
 public:
  explicit FormPeer(ui::Form& form) : WindowPeer(form), form_(form) {}

  // Posted by Timer::TickSoon with the timer's id: its extra tick.
  static constexpr UINT kTickSoonMessage = WM_APP + 2;

  // A key or character message of any window of the form. True when the form used the key
  // (menu shortcut, key preview, default button), and for the character message that follows a
  // used key: the window it was meant for must not see it.
  bool PreviewKeyMessage(UINT message, WPARAM key);

  // Command ids of the form's menu items and ids of its timers.
  UINT AddMenuItem(MenuItem& item);
  void RemoveMenuItem(UINT id) { menuItems_.erase(id); }
  UINT_PTR AddTimer(Timer& timer);
  void RemoveTimer(UINT_PTR id) { timers_.erase(id); }

  // The window a modal form disables while it runs: the one active when it was shown.
  HWND ModalOwner() const { return modalOwner_; }

  // Frame of a window of this style (border, caption, menu bar) before it exists.
  static TInsets EstimatedFrame(const ui::Form& form);
  // Frame of the real window.
  TInsets MeasuredFrame() const;

  void ApplyBounds() override;
  void ApplyVisible() override;

 protected:
  Style WindowStyle() const override;
  RECT WindowBounds() const override;
  HWND ParentWindow() const override { return nullptr; }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnChanged(Property property) override;
  void Paint(HDC dc) override;

 private:
  ui::Form& form_;
  std::map<UINT, MenuItem*> menuItems_;
  UINT nextMenuId_ = 100;
  std::map<UINT_PTR, Timer*> timers_;
  UINT_PTR nextTimerId_ = 1;
  bool followingUser_ = false;
  bool swallowChar_ = false;
  HWND modalOwner_ = nullptr;
};

// The modifier keys held now.
TShiftState CurrentShift();

}  // namespace tolv::ui::win32
