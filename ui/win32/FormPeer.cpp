#include "ui/win32/FormPeer.h"

#include <utility>

#include "ui/Menu.h"
#include "ui/Timer.h"
#include "ui/win32/GdiDrawing.h"

namespace tolv::ui::win32 {
namespace {

constexpr DWORD kSizeableStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

DWORD StyleOf(const ui::Form& form) {
  return form.BorderStyle() == BorderStyle::Dialog ? kDialogStyle : kSizeableStyle;
}
DWORD ExStyleOf(const ui::Form& form) { return form.BorderStyle() == BorderStyle::Dialog ? WS_EX_DLGMODALFRAME : 0; }

}  // namespace

TShiftState CurrentShift() {
  TShiftState shift;
  if (GetKeyState(VK_SHIFT) < 0) shift = shift | ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift = shift | ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift = shift | ssAlt;
  return shift;
}

WindowPeer::Style FormPeer::WindowStyle() const { return {kFormClass, StyleOf(form_), ExStyleOf(form_)}; }

RECT FormPeer::WindowBounds() const {
  const TRect& b = form_.Bounds();
  return {b.Left, b.Top, b.Right(), b.Bottom()};
}

TInsets FormPeer::EstimatedFrame(const ui::Form& form) {
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, StyleOf(form), form.Menu() != nullptr ? TRUE : FALSE, ExStyleOf(form));
  return {-r.left, -r.top, r.right, r.bottom};
}

TInsets FormPeer::MeasuredFrame() const {
  RECT outer{};
  RECT inner{};
  GetWindowRect(Hwnd(), &outer);
  GetClientRect(Hwnd(), &inner);
  POINT origin{0, 0};
  ClientToScreen(Hwnd(), &origin);
  return {origin.x - outer.left, origin.y - outer.top, outer.right - origin.x - inner.right,
          outer.bottom - origin.y - inner.bottom};
}

void FormPeer::ApplyBounds() {
  if (!followingUser_) WindowPeer::ApplyBounds();
}

void FormPeer::OnChanged(Property property) {
  if (property != Property::Raised || Hwnd() == nullptr) return;
  if (IsIconic(Hwnd()) != FALSE) ShowWindow(Hwnd(), SW_RESTORE);
  // The user asked for the window from the host's menu, so the host's thread is the foreground
  // one and may hand the activation over.
  SetForegroundWindow(Hwnd());
  BringWindowToTop(Hwnd());
}

void FormPeer::ApplyVisible() {
  if (Hwnd() == nullptr) return;
  if (!form_.Visible()) {
    ShowWindow(Hwnd(), SW_HIDE);
    return;
  }
  if (form_.InModalLoop()) {
    // Owned by the window it is modal to: it stays above that window and takes its place when
    // it closes.
    HWND active = GetActiveWindow();
    modalOwner_ = active != Hwnd() ? active : nullptr;
    SetWindowLongPtrA(Hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(modalOwner_));
  }
  ShowWindow(Hwnd(), SW_SHOW);
  UpdateWindow(Hwnd());
}

bool FormPeer::PreviewKeyMessage(UINT message, WPARAM key) {
  if (message == WM_CHAR || message == WM_SYSCHAR) return std::exchange(swallowChar_, false);
  auto code = static_cast<std::uint16_t>(key);
  swallowChar_ = form_.DispatchKeyDown(code, CurrentShift());
  return swallowChar_;
}

UINT FormPeer::AddMenuItem(MenuItem& item) {
  // Command ids travel in 16 bits; a form has a few dozen items.
  while (menuItems_.count(nextMenuId_) != 0 || nextMenuId_ == 0) ++nextMenuId_;
  const UINT id = nextMenuId_++ & 0xFFFFu;
  menuItems_[id] = &item;
  return id;
}

UINT_PTR FormPeer::AddTimer(Timer& timer) {
  const UINT_PTR id = nextTimerId_++;
  timers_[id] = &timer;
  return id;
}

bool FormPeer::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CLOSE:
      form_.Close();  // the form decides: hide, free, keep, or end its modal loop
      result = 0;
      return true;
    case WM_COMMAND: {
      if (lParam != 0 || HIWORD(wParam) != 0) return false;
      auto found = menuItems_.find(LOWORD(wParam));
      if (found != menuItems_.end()) found->second->Click();
      result = 0;
      return true;
    }
    case WM_TIMER:
    case kTickSoonMessage: {
      auto found = timers_.find(wParam);
      if (found == timers_.end()) return false;
      if (message == WM_TIMER || found->second->TakeTickRequest()) found->second->Tick();
      result = 0;
      return true;
    }
    case WM_WINDOWPOSCHANGED: {
      // The user moved or sized the window: the framework follows and aligns the controls.
      if (Hwnd() == nullptr || IsIconic(Hwnd())) return false;
      RECT r{};
      GetWindowRect(Hwnd(), &r);
      followingUser_ = true;
      form_.SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
      followingUser_ = false;
      return false;
    }
    default: return false;
  }
}

void FormPeer::Paint(HDC dc) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  FillRect(dc, &client, BackgroundBrush());
}

}  // namespace tolv::ui::win32
