// Scroll boxes and paint boxes.
#include <algorithm>
#include <memory>

#include "ui/Controls.h"
#include "ui/win32/FormPeer.h"
#include "ui/win32/GdiCanvas.h"
#include "ui/win32/Peers.h"

namespace tolv::ui::win32 {
namespace {

// A container whose children may reach beyond it; its scroll bars move them.
class ScrollBoxPeer final : public WindowPeer {
 public:
  explicit ScrollBoxPeer(ScrollBox& box) : WindowPeer(box), box_(box) {}

  POINT ChildOrigin() const override { return {-offset_.x, -offset_.y}; }
  void ChildChanged() override { UpdateScrollBars(); }

 protected:
  Style WindowStyle() const override {
    return {kControlClass, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  void AfterCreate() override { UpdateScrollBars(); }
  void OnChanged(Property property) override {
    if (property == Property::Bounds) UpdateScrollBars();
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT& result) override {
    if (message != WM_HSCROLL && message != WM_VSCROLL) return false;
    Scroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
    result = 0;
    return true;
  }
  void Paint(HDC dc) override {
    RECT area{};
    GetClientRect(Hwnd(), &area);
    FillRect(dc, &area, BackgroundBrush());
  }

 private:
  // The extent of the children placed by position (the aligned ones fill the box).
  SIZE Content() const {
    SIZE extent{0, 0};
    for (const Control* child : box_.Controls()) {
      if (!child->Visible() || child->Align() != Align::None) continue;
      extent.cx = std::max<LONG>(extent.cx, child->Bounds().Right());
      extent.cy = std::max<LONG>(extent.cy, child->Bounds().Bottom());
    }
    return extent;
  }

  void UpdateScrollBars() {
    if (Hwnd() == nullptr) return;
    const SIZE content = Content();
    const int page[2] = {box_.ClientWidth(), box_.ClientHeight()};
    const LONG extent[2] = {content.cx, content.cy};
    for (int bar : {SB_HORZ, SB_VERT}) {
      SCROLLINFO info{sizeof info,
                      SIF_RANGE | SIF_PAGE,
                      0,
                      static_cast<int>(extent[bar]) - 1,
                      static_cast<UINT>(std::max(page[bar], 0)),
                      0,
                      0};
      SetScrollInfo(Hwnd(), bar, &info, TRUE);
    }
    SetOffset({GetScrollPos(Hwnd(), SB_HORZ), GetScrollPos(Hwnd(), SB_VERT)});
  }

  void Scroll(int bar, WORD request) {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(Hwnd(), bar, &info);
    int position = info.nPos;
    const int line = 16;
    switch (request) {
      case SB_LINEUP: position -= line; break;
      case SB_LINEDOWN: position += line; break;
      case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
      case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
      case SB_THUMBTRACK:
        if (!box_.TracksThumb()) return;
        position = info.nTrackPos;
        break;
      case SB_THUMBPOSITION: position = info.nTrackPos; break;
      case SB_TOP: position = info.nMin; break;
      case SB_BOTTOM: position = info.nMax; break;
      default: return;
    }
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(Hwnd(), bar, &info, TRUE);
    SetOffset({GetScrollPos(Hwnd(), SB_HORZ), GetScrollPos(Hwnd(), SB_VERT)});
  }

  void SetOffset(POINT offset) {
    if (offset.x == offset_.x && offset.y == offset_.y) return;
    offset_ = offset;
    for (const Control* child : box_.Controls()) {
      if (auto* peer = dynamic_cast<WindowPeer*>(child->Peer())) peer->ApplyBounds();
    }
  }

  ScrollBox& box_;
  POINT offset_{0, 0};
};

// A paint box draws through its canvas on the window's own DC (the class has CS_OWNDC): in
// WM_PAINT, and straight from key and timer handlers, with the same font and colours kept.
class PaintBoxPeer final : public WindowPeer {
 public:
  explicit PaintBoxPeer(PaintBox& box) : WindowPeer(box), box_(box) {}
  PaintBoxPeer(const PaintBoxPeer&) = delete;
  PaintBoxPeer& operator=(const PaintBoxPeer&) = delete;
  ~PaintBoxPeer() override {
    box_.SetCanvas(nullptr);
    canvas_.reset();  // before the DC it draws on
    dc_.Reset();
  }

 protected:
  Style WindowStyle() const override { return {kPaintBoxClass, WS_CHILD | WS_CLIPSIBLINGS, 0}; }
  void AfterCreate() override {
    dc_ = WindowDC(Hwnd());
    canvas_ = std::make_unique<GdiCanvas>(dc_.Get());
    box_.SetCanvas(canvas_.get());
  }
  void OnChanged(Property property) override {
    if (property == Property::Invalidated) Invalidate();
  }
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    static constexpr struct {
      UINT Message;
      TMouseButton Button;
    } kButtons[] = {{WM_LBUTTONDOWN, mbLeft}, {WM_RBUTTONDOWN, mbRight}, {WM_MBUTTONDOWN, mbMiddle}};
    for (const auto& entry : kButtons) {
      if (message != entry.Message) continue;
      TShiftState shift = CurrentShift();
      if ((wParam & MK_LBUTTON) != 0) shift = shift | ssLeft;
      if ((wParam & MK_RBUTTON) != 0) shift = shift | ssRight;
      if ((wParam & MK_MBUTTON) != 0) shift = shift | ssMiddle;
      box_.MouseDown(entry.Button, shift, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      result = 0;
      return true;
    }
    return false;
  }
  void Paint(HDC dc) override {
    // What the program does not paint shows the face of the box's container.
    RECT area{};
    GetClientRect(Hwnd(), &area);
    FillRect(dc, &area, ParentPeer() != nullptr ? ParentPeer()->BackgroundBrush() : BackgroundBrush());
    box_.Paint();
  }

 private:
  PaintBox& box_;
  WindowDC dc_;
  std::unique_ptr<GdiCanvas> canvas_;
};

}  // namespace

std::unique_ptr<WindowPeer> NewContainerPeer(Control& control) {
  if (auto* box = dynamic_cast<ScrollBox*>(&control)) return std::make_unique<ScrollBoxPeer>(*box);
  if (auto* paint = dynamic_cast<PaintBox*>(&control)) return std::make_unique<PaintBoxPeer>(*paint);
  return nullptr;
}

}  // namespace tolv::ui::win32
