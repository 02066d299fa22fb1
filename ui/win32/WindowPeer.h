// The peer of a control: its real window. One window procedure serves the library's classes
// (bound to the peer on WM_NCCREATE); the system's controls (buttons, statics, edits, the tab
// control, the status bar) are subclassed, so every window of a form passes its keys to the
// form's key preview first. A parent hands the notifications of its children (WM_COMMAND,
// WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*) to the child's peer.
#pragma once

#include "ui/Control.h"
#include "ui/win32/Handles.h"
#include "ui/win32/Module.h"

namespace tolv::ui::win32 {

class FormPeer;

class WindowPeer : public ComponentPeer {
 public:
  explicit WindowPeer(Control& control) : control_(control) {}
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;
  ~WindowPeer() override;

  // Makes the window with the control's current properties; false when the system refused
  // (the peer then does nothing).
  bool Create();
  HWND Hwnd() const { return window_.Get(); }
  Control& Owner() const { return control_; }
  void Changed(Property property) final;

  // Every message of the window.
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Notifications of this window's own control, handed on by its parent.
  virtual bool OnCommand(WORD /*code*/) { return false; }
  virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  // Prepares dc for the control's text and returns its background brush; null: the system's.
  virtual HBRUSH OnControlColor(HDC dc);

  // The brush of the control's colour, for its background and for children showing through.
  HBRUSH BackgroundBrush();
  // Where the framework's (0, 0) of this control's children lies in the window's client area.
  virtual POINT ChildOrigin() const { return {0, 0}; }
  // Puts the window where the control's bounds say (the parent's origin may have moved).
  virtual void ApplyBounds();
  virtual void ApplyVisible();
  // A child was moved, sized, shown or hidden.
  virtual void ChildChanged() {}

 protected:
  struct Style {
    const char* ClassName;
    DWORD Style;
    DWORD ExStyle;
  };
  virtual Style WindowStyle() const = 0;
  // The window exists; set what the creation did not.
  virtual void AfterCreate() {}
  // Properties the common handling leaves to the kind.
  virtual void OnChanged(Property /*property*/) {}
  // The window's own messages; true when handled, with result.
  virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) { return false; }
  // The library's own classes paint everything themselves.
  virtual void Paint(HDC /*dc*/) {}
  virtual bool ShouldShow() const { return control_.Visible(); }
  // The rectangle for SetWindowPos, in the parent window's client coordinates.
  virtual RECT WindowBounds() const;
  virtual HWND ParentWindow() const;

  LRESULT Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  FormPeer* Form() const;
  WindowPeer* ParentPeer() const;
  void Invalidate() const;
  // Selects the control's font into dc for as long as the result lives.
  SelectedObject SelectFont(HDC dc) const;

 private:
  bool OwnClass() const { return ownClass_; }
  bool HandleFromChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void Unbind(HWND window);

  Control& control_;
  WindowHandle window_;
  BrushHandle background_;
  TColor backgroundColor_ = 0;
  // The window is of one of the library's classes (else a subclassed system control). Kept
  // from Create: the destructor cannot ask the derived class any more.
  bool ownClass_ = false;
};

// The peer bound to a window of the library, null for any other window.
WindowPeer* PeerOf(HWND window);
// The window of a control or form of the Win32 back end; null for anything else.
HWND WindowOf(const Component& component);

}  // namespace tolv::ui::win32
