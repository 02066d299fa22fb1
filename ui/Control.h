// Visible controls and the containers that hold them, with the alignment of children
// (top, bottom, left, right, then client, in creation order) computed here for both back ends.
#pragma once

#include "ui/Component.h"

namespace tolv::ui {

class WinControl;

class Control : public Component {
 public:
  WinControl* Parent() const { return parent_; }

  const TRect& Bounds() const { return bounds_; }
  int Left() const { return bounds_.Left; }
  int Top() const { return bounds_.Top; }
  int Width() const { return bounds_.Width; }
  int Height() const { return bounds_.Height; }
  void SetBounds(int left, int top, int width, int height);

  ui::Align Align() const { return align_; }
  void SetAlign(ui::Align align);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  const TFont& Font() const { return font_; }
  void SetFont(TFont font);
  ui::Cursor Cursor() const { return cursor_; }
  void SetCursor(ui::Cursor cursor) { cursor_ = cursor; }

  // Visible, and so is every container up to the form (a tab sheet only while it is the
  // active page): a user can see it.
  bool Showing() const;
  // Enabled, and so is every container up to the form: a user can operate it.
  bool EnabledInTree() const;

  Event<TNotifyEvent> OnClick;
  Event<TMouseEvent> OnMouseDown;

  // A user's click on the control; kinds that change state on a click (toggle buttons, check
  // boxes, buttons with a modal result) do that before OnClick.
  virtual void Click() { OnClick(*this); }
  // A mouse button pressed over the control; the button itself is always part of shift.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);

  void ResolveEvents(const HandlerTable& table, std::vector<std::string>& unresolved) override;

 protected:
  Control(Form* owner, std::string name, WinControl* parent);
  virtual bool VisibleAsChild() const { return visible_; }
  // Sets the bounds the parent's alignment computed, without aligning the parent again.
  void PlaceAligned(const TRect& bounds);
  virtual void BoundsChanged() {}

 private:
  friend class WinControl;
  WinControl* parent_;
  TRect bounds_;
  ui::Align align_ = ui::Align::None;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  TColor color_ = clBtnFace;
  TFont font_;
  ui::Cursor cursor_ = ui::Cursor::Default;
};

class WinControl : public Control {
 public:
  const std::vector<Control*>& Controls() const { return controls_; }
  int ClientWidth() const;
  int ClientHeight() const;
  // Places the aligned children inside the client area less AlignMargins().
  void Realign();

  // The frame between the control's outer bounds and its client area (border, caption, menu
  // bar, tab strip).
  virtual TInsets ClientInsets() const { return {}; }
  // Room kept free inside the client area when aligning children (a panel's bevels).
  virtual TInsets AlignMargins() const { return {}; }

 protected:
  WinControl(Form* owner, std::string name, WinControl* parent) : Control(owner, std::move(name), parent) {}
  void BoundsChanged() override { Realign(); }

 private:
  friend class Control;
  std::vector<Control*> controls_;
};

}  // namespace tolv::ui
