// Push buttons, bit buttons, speed buttons and check boxes: system buttons whose clicks go to
// Control::Click, which changes the state (down, checked, modal result) and runs OnClick.
#include <algorithm>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/TextEncoding.h"
#include "ui/win32/GdiDrawing.h"
#include "ui/win32/Peers.h"

namespace tolv::ui::win32 {
namespace {

class ButtonPeer : public WindowPeer {
 public:
  explicit ButtonPeer(Control& control) : WindowPeer(control) {}

  bool OnCommand(WORD code) override {
    if (code != BN_CLICKED) return false;
    Owner().Click();
    return true;
  }

 protected:
  Style WindowStyle() const override {
    const auto* button = dynamic_cast<const Button*>(&Owner());
    const DWORD kind = button != nullptr && button->IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    return {"BUTTON", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | kind, 0};
  }
};

class CheckBoxPeer final : public ButtonPeer {
 public:
  explicit CheckBoxPeer(CheckBox& box) : ButtonPeer(box), box_(box) {}

 protected:
  // Checked by the framework (CheckBox::Click), not by the system.
  Style WindowStyle() const override { return {"BUTTON", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_CHECKBOX, 0}; }
  void AfterCreate() override { ShowCheck(); }
  void OnChanged(Property property) override {
    if (property == Property::Checked) ShowCheck();
  }

 private:
  void ShowCheck() { SendMessageA(Hwnd(), BM_SETCHECK, box_.Checked() ? BST_CHECKED : BST_UNCHECKED, 0); }
  CheckBox& box_;
};

// Buttons with a glyph: drawn by the library, still system buttons with their caption.
class GlyphButtonPeer : public ButtonPeer {
 public:
  explicit GlyphButtonPeer(Control& control) : ButtonPeer(control) {}

  bool OnDrawItem(const DRAWITEMSTRUCT& item) override {
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool down = pressed || Latched();
    FillSolid(dc, area, ColorRef(clBtnFace));
    DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0u));
    const int shift = down ? 1 : 0;
    const bool enabled = Owner().EnabledInTree();
    const PixelImage& glyph = Glyph();
    const int states = glyph.Empty() ? 1 : std::max(NumGlyphs(), 1);
    const int glyphW = glyph.Width / states;
    // The second half of a two-state strip is the disabled look.
    const int sourceX = !enabled && states > 1 ? glyphW : 0;
    const std::string& caption = Owner().Caption();
    const SelectedObject font = SelectFont(dc);
    SIZE text{};
    const std::string encoded = Utf8ToWindows1252(caption);  // measured in the code page it is drawn in
    if (!encoded.empty()) GetTextExtentPoint32A(dc, encoded.c_str(), static_cast<int>(encoded.size()), &text);
    const int spacing = !glyph.Empty() && !caption.empty() ? 4 : 0;
    const int contentW = (glyph.Empty() ? 0 : glyphW) + spacing + text.cx;
    int x = (area.left + area.right - contentW) / 2 + shift;
    const int midY = (item.rcItem.top + item.rcItem.bottom) / 2 + shift;
    if (!glyph.Empty()) {
      const RECT target{x, midY - glyph.Height / 2, x + glyphW, midY - glyph.Height / 2 + glyph.Height};
      DrawPixelImage(dc, glyph, sourceX, glyphW, target, ColorRef(clBtnFace));
      x += glyphW + spacing;
    }
    if (!caption.empty()) {
      const RECT textArea{x, item.rcItem.top + shift, x + text.cx + 1, item.rcItem.bottom + shift};
      DrawCaption(dc, caption, textArea, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT,
                  enabled ? ColorRef(Owner().Font().Color) : GetSysColor(COLOR_GRAYTEXT));
    }
    if ((item.itemState & ODS_FOCUS) != 0) {
      RECT focus = item.rcItem;
      InflateRect(&focus, -4, -4);
      DrawFocusRect(dc, &focus);
    }
    return true;
  }

 protected:
  Style WindowStyle() const override { return {"BUTTON", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_OWNERDRAW, 0}; }
  void OnChanged(Property property) override {
    if (property == Property::Picture || property == Property::Down) Invalidate();
  }
  virtual const PixelImage& Glyph() const = 0;
  virtual int NumGlyphs() const { return 1; }
  virtual bool Latched() const { return false; }
};

class BitBtnPeer final : public GlyphButtonPeer {
 public:
  explicit BitBtnPeer(BitBtn& button) : GlyphButtonPeer(button), button_(button) {}

 protected:
  const PixelImage& Glyph() const override { return button_.Glyph(); }

 private:
  BitBtn& button_;
};

class SpeedButtonPeer final : public GlyphButtonPeer {
 public:
  explicit SpeedButtonPeer(SpeedButton& button) : GlyphButtonPeer(button), button_(button) {}

  bool OnCommand(WORD code) override {
    const bool used = GlyphButtonPeer::OnCommand(code);
    // A speed button never keeps the focus: the keys stay with the form.
    if (used && GetFocus() == Hwnd() && WindowOf(Owner().OwnerForm()) != nullptr) {
      SetFocus(WindowOf(Owner().OwnerForm()));
    }
    return used;
  }

 protected:
  Style WindowStyle() const override { return {"BUTTON", WS_CHILD | WS_CLIPSIBLINGS | BS_OWNERDRAW, 0}; }
  const PixelImage& Glyph() const override { return button_.Glyph(); }
  int NumGlyphs() const override { return button_.NumGlyphs(); }
  bool Latched() const override { return button_.Down(); }

 private:
  SpeedButton& button_;
};

}  // namespace

std::unique_ptr<WindowPeer> NewButtonPeer(Control& control) {
  if (auto* speed = dynamic_cast<SpeedButton*>(&control)) return std::make_unique<SpeedButtonPeer>(*speed);
  if (auto* bit = dynamic_cast<BitBtn*>(&control)) return std::make_unique<BitBtnPeer>(*bit);
  if (dynamic_cast<Button*>(&control) != nullptr) return std::make_unique<ButtonPeer>(control);
  if (auto* box = dynamic_cast<CheckBox*>(&control)) return std::make_unique<CheckBoxPeer>(*box);
  return nullptr;
}

}  // namespace tolv::ui::win32
