#include "ui/Control.h"

#include <algorithm>

namespace tolv::ui {

Control::Control(Form* owner, std::string name, WinControl* parent)
    : Component(owner, std::move(name)), parent_(parent) {
  if (parent_ != nullptr) {
    parent_->controls_.push_back(this);
    font_ = parent_->font_;
  }
}

void Control::SetBounds(int left, int top, int width, int height) {
  const TRect bounds{left, top, std::max(width, 0), std::max(height, 0)};
  if (bounds == bounds_) return;
  bounds_ = bounds;
  Changed(Property::Bounds);
  BoundsChanged();
  if (parent_ != nullptr && align_ != ui::Align::None) parent_->Realign();
}

void Control::PlaceAligned(const TRect& bounds) {
  const TRect clamped{bounds.Left, bounds.Top, std::max(bounds.Width, 0), std::max(bounds.Height, 0)};
  if (clamped == bounds_) return;
  bounds_ = clamped;
  Changed(Property::Bounds);
  BoundsChanged();
}

void Control::SetAlign(ui::Align align) {
  if (align == align_) return;
  align_ = align;
  if (parent_ != nullptr) parent_->Realign();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(Property::Visible);
  if (parent_ != nullptr && align_ != ui::Align::None) parent_->Realign();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Property::Enabled);
}

void Control::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(Property::Caption);
}

void Control::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed(Property::Color);
}

void Control::SetFont(TFont font) {
  if (font == font_) return;
  font_ = std::move(font);
  Changed(Property::Font);
}

bool Control::Showing() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->VisibleAsChild()) return false;
  }
  return true;
}

bool Control::EnabledInTree() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

void Control::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  static constexpr TShiftFlag kButtonFlag[] = {ssLeft, ssRight, ssMiddle};
  OnMouseDown(*this, button, shift | kButtonFlag[button], x, y);
}

void Control::ResolveEvents(const HandlerTable& table, std::vector<std::string>& unresolved) {
  OnClick.Resolve(table, unresolved);
  OnMouseDown.Resolve(table, unresolved);
}

int WinControl::ClientWidth() const {
  const TInsets frame = ClientInsets();
  return std::max(Width() - frame.Left - frame.Right, 0);
}

int WinControl::ClientHeight() const {
  const TInsets frame = ClientInsets();
  return std::max(Height() - frame.Top - frame.Bottom, 0);
}

void WinControl::Realign() {
  const TInsets margins = AlignMargins();
  int left = margins.Left;
  int top = margins.Top;
  int right = ClientWidth() - margins.Right;
  int bottom = ClientHeight() - margins.Bottom;
  static constexpr ui::Align kOrder[] = {ui::Align::Top, ui::Align::Bottom, ui::Align::Left, ui::Align::Right,
                                         ui::Align::Client};
  for (ui::Align align : kOrder) {
    for (Control* child : controls_) {
      if (child->Align() != align || !child->Visible()) continue;
      const int w = child->Width();
      const int h = child->Height();
      switch (align) {
        case ui::Align::Top:
          child->PlaceAligned({left, top, right - left, h});
          top += h;
          break;
        case ui::Align::Bottom:
          child->PlaceAligned({left, bottom - h, right - left, h});
          bottom -= h;
          break;
        case ui::Align::Left:
          child->PlaceAligned({left, top, w, bottom - top});
          left += w;
          break;
        case ui::Align::Right:
          child->PlaceAligned({right - w, top, w, bottom - top});
          right -= w;
          break;
        case ui::Align::Client: child->PlaceAligned({left, top, right - left, bottom - top}); break;
        case ui::Align::None: break;
      }
    }
  }
}

}  // namespace tolv::ui
