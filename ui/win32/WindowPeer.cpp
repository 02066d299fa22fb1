#include "ui/win32/WindowPeer.h"

#include <cstring>

#include "ui/Form.h"
#include "ui/TextEncoding.h"
#include "ui/win32/FormPeer.h"
#include "ui/win32/MessageGuard.h"

namespace tolv::ui::win32 {
namespace {

constexpr char kPeerProperty[] = "TolvPeer";
constexpr UINT_PTR kSubclassId = 1;

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                              DWORD_PTR peer) {
  return GuardedMessage([&] { return reinterpret_cast<WindowPeer*>(peer)->Handle(window, message, wParam, lParam); },
                        [&] { return DefSubclassProc(window, message, wParam, lParam); });
}

bool IsKeyMessage(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }
bool IsCharMessage(UINT message) { return message == WM_CHAR || message == WM_SYSCHAR; }

}  // namespace

LRESULT CALLBACK PeerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    if (create->lpCreateParams != nullptr) SetPropA(window, kPeerProperty, create->lpCreateParams);
  }
  WindowPeer* peer = PeerOf(window);
  const auto defaultHandling = [&] { return DefWindowProcA(window, message, wParam, lParam); };
  if (peer == nullptr) return defaultHandling();
  return GuardedMessage([&] { return peer->Handle(window, message, wParam, lParam); }, defaultHandling);
}

WindowPeer* PeerOf(HWND window) { return static_cast<WindowPeer*>(GetPropA(window, kPeerProperty)); }

HWND WindowOf(const Component& component) {
  const auto* peer = dynamic_cast<const WindowPeer*>(component.Peer());
  return peer != nullptr ? peer->Hwnd() : nullptr;
}

WindowPeer::~WindowPeer() {
  // Messages of the dying window go to the system alone: this object is half gone.
  if (window_) Unbind(window_.Get());
  window_.Reset();
}

bool WindowPeer::Create() {
  const Style style = WindowStyle();
  ownClass_ = std::strcmp(style.ClassName, kFormClass) == 0 || std::strcmp(style.ClassName, kControlClass) == 0 ||
              std::strcmp(style.ClassName, kPaintBoxClass) == 0;
  const HWND parent = ParentWindow();
  const bool child = (style.Style & WS_CHILD) != 0;
  if (child && parent == nullptr) return false;
  WindowSpec request{style.ClassName,
                     style.Style | (ShouldShow() ? WS_VISIBLE : 0u),
                     style.ExStyle,
                     control_.Caption(),
                     WindowBounds(),
                     parent,
                     0};
  if (!control_.Enabled()) request.Style |= WS_DISABLED;
  window_ = CreateLibraryWindow(request, OwnClass() ? this : nullptr);
  if (!window_) return false;
  if (!OwnClass()) {
    SetPropA(window_.Get(), kPeerProperty, this);
    SetWindowSubclass(window_.Get(), SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  SendMessageA(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont(control_.Font())), FALSE);
  AfterCreate();
  return true;
}

void WindowPeer::Unbind(HWND window) {
  RemovePropA(window, kPeerProperty);
  if (!OwnClass()) RemoveWindowSubclass(window, SubclassProc, kSubclassId);
}

void WindowPeer::Changed(Property property) {
  if (!window_) return;
  switch (property) {
    case Property::Caption:
      SetWindowTextA(window_.Get(), Utf8ToWindows1252(control_.Caption()).c_str());
      Invalidate();
      break;
    case Property::Bounds:
      ApplyBounds();
      Invalidate();
      break;
    case Property::Visible: ApplyVisible(); break;
    case Property::Enabled:
      EnableWindow(window_.Get(), control_.Enabled() ? TRUE : FALSE);
      Invalidate();
      break;
    case Property::Color: Invalidate(); break;
    case Property::Font:
      SendMessageA(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont(control_.Font())), TRUE);
      break;
    default: break;
  }
  if ((property == Property::Bounds || property == Property::Visible) && ParentPeer() != nullptr) {
    ParentPeer()->ChildChanged();
  }
  OnChanged(property);
}

RECT WindowPeer::WindowBounds() const {
  const POINT origin = ParentPeer() != nullptr ? ParentPeer()->ChildOrigin() : POINT{0, 0};
  const TRect& b = control_.Bounds();
  return {b.Left + origin.x, b.Top + origin.y, b.Right() + origin.x, b.Bottom() + origin.y};
}

HWND WindowPeer::ParentWindow() const {
  WindowPeer* parent = ParentPeer();
  return parent != nullptr ? parent->Hwnd() : nullptr;
}

void WindowPeer::ApplyBounds() {
  if (!window_) return;
  const RECT r = WindowBounds();
  SetWindowPos(window_.Get(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPeer::ApplyVisible() {
  if (window_) ShowWindow(window_.Get(), ShouldShow() ? SW_SHOWNOACTIVATE : SW_HIDE);
}

FormPeer* WindowPeer::Form() const { return dynamic_cast<FormPeer*>(control_.OwnerForm().Peer()); }

WindowPeer* WindowPeer::ParentPeer() const {
  return control_.Parent() != nullptr ? dynamic_cast<WindowPeer*>(control_.Parent()->Peer()) : nullptr;
}

void WindowPeer::Invalidate() const {
  if (window_) InvalidateRect(window_.Get(), nullptr, TRUE);
}

SelectedObject WindowPeer::SelectFont(HDC dc) const { return SelectedObject(dc, ControlFont(control_.Font())); }

HBRUSH WindowPeer::BackgroundBrush() {
  const TColor color = control_.Color();
  if (IsSystemColor(color)) return GetSysColorBrush(static_cast<int>(color & ~kSystemColorFlag));
  if (!background_ || backgroundColor_ != color) {
    background_ = NewSolidBrush(color);
    backgroundColor_ = color;
  }
  return background_.Get();
}

HBRUSH WindowPeer::OnControlColor(HDC dc) {
  // Text in the control's font colour on the parent's face, as the framework's labels show.
  SetTextColor(dc, ColorRef(control_.Font().Color));
  SetBkMode(dc, TRANSPARENT);
  WindowPeer* parent = ParentPeer();
  return parent != nullptr ? parent->BackgroundBrush() : nullptr;
}

bool WindowPeer::HandleFromChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  WindowPeer* child = nullptr;
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0 || (child = PeerOf(reinterpret_cast<HWND>(lParam))) == nullptr) return false;
      result = 0;
      return child->OnCommand(HIWORD(wParam));
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      child = PeerOf(header->hwndFrom);
      return child != nullptr && child->OnNotify(*header, result);
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      child = PeerOf(item->hwndItem);
      result = TRUE;
      return child != nullptr && child->OnDrawItem(*item);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      child = PeerOf(reinterpret_cast<HWND>(lParam));
      HBRUSH brush = child != nullptr ? child->OnControlColor(reinterpret_cast<HDC>(wParam)) : nullptr;
      result = reinterpret_cast<LRESULT>(brush);
      return brush != nullptr;
    }
    case WM_SETCURSOR:
      child = PeerOf(reinterpret_cast<HWND>(wParam));
      if (child == nullptr || child->control_.Cursor() != Cursor::HandPoint) return false;
      SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
      result = TRUE;
      return true;
    default: return false;
  }
}

LRESULT WindowPeer::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (message == WM_NCDESTROY) {
    // Destroyed by the system (with its parent or owner), not by this peer.
    Unbind(window);
    const LRESULT done = Default(window, message, wParam, lParam);
    if (window_.Get() == window) window_.Abandon();
    return done;
  }
  if (IsKeyMessage(message) || IsCharMessage(message)) {
    FormPeer* form = Form();
    if (form != nullptr && form->PreviewKeyMessage(message, wParam)) return 0;
  }
  if (OwnClass()) {
    if (HandleFromChild(message, wParam, lParam, result)) return result;
    if (message == WM_ERASEBKGND) return 1;  // WM_PAINT paints the whole window
  }
  if (OnMessage(message, wParam, lParam, result)) return result;
  if (OwnClass() && message == WM_PAINT) {
    const PaintDC paint(window);
    Paint(paint.Get());
    return 0;
  }
  return Default(window, message, wParam, lParam);
}

LRESULT WindowPeer::Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return OwnClass() ? DefWindowProcA(window, message, wParam, lParam)
                    : DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace tolv::ui::win32
