#include "ui/Controls.h"

#include "ui/Form.h"

namespace tolv::ui {

void Panel::SetBevels(BevelCut inner, BevelCut outer) {
  bevelInner_ = inner;
  bevelOuter_ = outer;
  Changed(Property::Bounds);  // the bevels change the look of the frame
  Realign();
}

TInsets Panel::AlignMargins() const {
  const int width = (bevelInner_ != BevelCut::None ? 1 : 0) + (bevelOuter_ != BevelCut::None ? 1 : 0);
  return {width, width, width, width};
}

void SpeedButton::SetDown(bool down) {
  if (down == down_) return;
  down_ = down;
  Changed(Property::Down);
}

void SpeedButton::SetGlyph(PixelImage glyph, int numGlyphs) {
  glyph_ = std::move(glyph);
  numGlyphs_ = numGlyphs;
  Changed(Property::Picture);
}

void SpeedButton::Click() {
  if (toggle_) SetDown(!down_);
  OnClick(*this);
}

void Button::Click() {
  if (modalResult_ != mrNone) OwnerForm().SetModalResult(modalResult_);
  OnClick(*this);
}

void BitBtn::SetGlyph(PixelImage glyph) {
  glyph_ = std::move(glyph);
  Changed(Property::Picture);
}

void CheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Property::Checked);
}

void CheckBox::Click() {
  SetChecked(!checked_);
  OnClick(*this);
}

void Memo::SetLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  Changed(Property::Lines);
}

void Image::SetPicture(PixelImage picture) {
  picture_ = std::move(picture);
  Changed(Property::Picture);
}

ScrollBox::ScrollBox(Form* owner, std::string name, WinControl* parent) : WinControl(owner, std::move(name), parent) {
  SetColor(clBtnFace);
}

TInsets ScrollBox::ClientInsets() const {
  constexpr int kSunkenEdge = 2;  // the single border of a scroll box is a sunken client edge
  return {kSunkenEdge, kSunkenEdge, kSunkenEdge, kSunkenEdge};
}

void PaintBox::ResolveEvents(const HandlerTable& table, std::vector<std::string>& unresolved) {
  Control::ResolveEvents(table, unresolved);
  OnPaint.Resolve(table, unresolved);
}

}  // namespace tolv::ui
