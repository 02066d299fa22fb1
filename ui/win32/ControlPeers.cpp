// Panels, bevels, labels, static texts, memos, status bars and images.
#include "ui/Controls.h"
#include "ui/TextEncoding.h"
#include "ui/win32/GdiDrawing.h"
#include "ui/win32/Peers.h"

namespace tolv::ui::win32 {
namespace {

class PanelPeer final : public WindowPeer {
 public:
  explicit PanelPeer(Panel& panel) : WindowPeer(panel), panel_(panel) {}

 protected:
  Style WindowStyle() const override { return {kControlClass, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0}; }
  void Paint(HDC dc) override {
    RECT area{};
    GetClientRect(Hwnd(), &area);
    FillRect(dc, &area, BackgroundBrush());
    DrawBevel(dc, area, panel_.BevelOuter());
    DrawBevel(dc, area, panel_.BevelInner());
    static constexpr UINT kAlign[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    const SelectedObject font = SelectFont(dc);
    DrawCaption(dc, panel_.Caption(), area,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | kAlign[static_cast<int>(panel_.Alignment())],
                ColorRef(panel_.Font().Color));
  }

 private:
  Panel& panel_;
};

class BevelPeer final : public WindowPeer {
 public:
  explicit BevelPeer(Bevel& bevel) : WindowPeer(bevel), bevel_(bevel) {}

 protected:
  Style WindowStyle() const override { return {kControlClass, WS_CHILD | WS_CLIPSIBLINGS, 0}; }
  void Paint(HDC dc) override {
    RECT area{};
    GetClientRect(Hwnd(), &area);
    FillRect(dc, &area, ParentPeer() != nullptr ? ParentPeer()->BackgroundBrush() : BackgroundBrush());
    static constexpr UINT kSides[] = {BF_RECT, BF_LEFT, BF_TOP};
    DrawEdge(dc, &area, EDGE_ETCHED, kSides[static_cast<int>(bevel_.Shape())]);
  }

 private:
  Bevel& bevel_;
};

// Labels and static texts: system statics that report clicks.
class TextPeer final : public WindowPeer {
 public:
  TextPeer(Control& control, DWORD wrap) : WindowPeer(control), wrap_(wrap) {}

  bool OnCommand(WORD code) override {
    if (code != STN_CLICKED) return false;
    Owner().Click();
    return true;
  }

 protected:
  Style WindowStyle() const override { return {"STATIC", WS_CHILD | WS_CLIPSIBLINGS | SS_NOTIFY | wrap_, 0}; }

 private:
  DWORD wrap_;
};

class MemoPeer final : public WindowPeer {
 public:
  explicit MemoPeer(Memo& memo) : WindowPeer(memo), memo_(memo) {}

  HBRUSH OnControlColor(HDC dc) override {
    SetTextColor(dc, ColorRef(memo_.Font().Color));
    SetBkColor(dc, ColorRef(memo_.Color()));
    return BackgroundBrush();
  }

 protected:
  Style WindowStyle() const override {
    return {"EDIT",
            WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                (memo_.ReadOnly() ? ES_READONLY : 0u),
            WS_EX_CLIENTEDGE};
  }
  void AfterCreate() override { ShowLines(); }
  void OnChanged(Property property) override {
    if (property == Property::Lines) ShowLines();
  }

 private:
  void ShowLines() {
    std::string text;
    for (const std::string& line : memo_.Lines()) {
      if (!text.empty()) text += "\r\n";
      text += Utf8ToWindows1252(line);
    }
    SetWindowTextA(Hwnd(), text.c_str());
  }
  Memo& memo_;
};

class StatusBarPeer final : public WindowPeer {
 public:
  explicit StatusBarPeer(StatusBar& bar) : WindowPeer(bar) {}

 protected:
  // Placed by the framework's alignment, not by the control itself.
  Style WindowStyle() const override {
    return {STATUSCLASSNAMEA, WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP, 0};
  }
};

class ImagePeer final : public WindowPeer {
 public:
  explicit ImagePeer(Image& image) : WindowPeer(image), image_(image) {}

 protected:
  Style WindowStyle() const override { return {kControlClass, WS_CHILD | WS_CLIPSIBLINGS, 0}; }
  void OnChanged(Property property) override {
    if (property == Property::Picture) Invalidate();
  }
  void Paint(HDC dc) override {
    RECT area{};
    GetClientRect(Hwnd(), &area);
    const COLORREF face = ColorRef(image_.Parent() != nullptr ? image_.Parent()->Color() : image_.Color());
    FillSolid(dc, area, face);
    const PixelImage& picture = image_.Picture();
    if (picture.Empty()) return;
    RECT target = area;
    if (!image_.Stretch()) target = {0, 0, picture.Width, picture.Height};
    DrawPixelImage(dc, picture, 0, picture.Width, target, face);
  }

 private:
  Image& image_;
};

}  // namespace

std::unique_ptr<WindowPeer> NewControlPeer(Control& control) {
  if (auto* panel = dynamic_cast<Panel*>(&control)) return std::make_unique<PanelPeer>(*panel);
  if (auto* bevel = dynamic_cast<Bevel*>(&control)) return std::make_unique<BevelPeer>(*bevel);
  if (auto* label = dynamic_cast<Label*>(&control)) {
    return std::make_unique<TextPeer>(*label, label->WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP);
  }
  if (auto* text = dynamic_cast<StaticText*>(&control)) return std::make_unique<TextPeer>(*text, SS_LEFTNOWORDWRAP);
  if (auto* memo = dynamic_cast<Memo*>(&control)) return std::make_unique<MemoPeer>(*memo);
  if (auto* bar = dynamic_cast<StatusBar*>(&control)) return std::make_unique<StatusBarPeer>(*bar);
  if (auto* image = dynamic_cast<Image*>(&control)) return std::make_unique<ImagePeer>(*image);
  return nullptr;
}

}  // namespace tolv::ui::win32
