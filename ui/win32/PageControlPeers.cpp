// A page control is the system's tab control; its tab sheets are windows of the library inside
// it, the active one shown. The tabs are the visible sheets, in order.
#include "ui/Backend.h"
#include "ui/PageControl.h"
#include "ui/TextEncoding.h"
#include "ui/win32/Peers.h"

namespace tolv::ui::win32 {
namespace {

class PageControlPeer final : public WindowPeer {
 public:
  explicit PageControlPeer(PageControl& pages) : WindowPeer(pages), pages_(pages) {}

  // The framework places the sheets inside the tab strip's frame; the tab control's client
  // area is the whole control.
  POINT ChildOrigin() const override {
    const TInsets frame = CurrentBackend().TabStripFrame();
    return {frame.Left, frame.Top};
  }

  bool OnNotify(const NMHDR& header, LRESULT& result) override {
    if (header.code != TCN_SELCHANGE) return false;
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    const int index = TabCtrl_GetCurSel(Hwnd());
    if (index >= 0 && TabCtrl_GetItem(Hwnd(), index, &item)) {
      // A disabled sheet's tab refuses the click: the active tab comes back.
      if (!pages_.SelectTab(*reinterpret_cast<TabSheet*>(item.lParam))) ShowActive();
    }
    result = 0;
    return true;
  }

  void RebuildTabs() {
    if (Hwnd() == nullptr) return;
    TabCtrl_DeleteAllItems(Hwnd());
    int index = 0;
    for (TabSheet* sheet : pages_.VisibleTabs()) {
      std::string caption = Utf8ToWindows1252(sheet->Caption());
      TCITEMA item{};
      item.mask = TCIF_TEXT | TCIF_PARAM;
      item.pszText = caption.data();
      item.lParam = reinterpret_cast<LPARAM>(sheet);
      SendMessageA(Hwnd(), TCM_INSERTITEMA, index++, reinterpret_cast<LPARAM>(&item));
    }
    ShowActive();
  }

 protected:
  Style WindowStyle() const override {
    return {WC_TABCONTROLA, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, 0};
  }
  void AfterCreate() override { RebuildTabs(); }
  void OnChanged(Property property) override {
    if (property == Property::ActivePage) ShowActive();
  }

 private:
  void ShowActive() {
    int index = 0;
    for (TabSheet* sheet : pages_.VisibleTabs()) {
      if (sheet == pages_.ActivePage()) TabCtrl_SetCurSel(Hwnd(), index);
      ++index;
    }
    for (TabSheet* sheet : pages_.Pages()) {
      if (auto* peer = dynamic_cast<WindowPeer*>(sheet->Peer())) peer->ApplyVisible();
    }
  }

  PageControl& pages_;
};

class TabSheetPeer final : public WindowPeer {
 public:
  explicit TabSheetPeer(TabSheet& sheet) : WindowPeer(sheet), sheet_(sheet) {}

 protected:
  Style WindowStyle() const override { return {kControlClass, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0}; }
  bool ShouldShow() const override { return sheet_.Visible() && sheet_.Pages().ActivePage() == &sheet_; }
  // Sheets are made after their page control: the tab for this one appears now.
  void AfterCreate() override { Tabs(); }
  void OnChanged(Property property) override {
    if (property == Property::Caption || property == Property::TabVisible) Tabs();
  }
  void Paint(HDC dc) override {
    RECT area{};
    GetClientRect(Hwnd(), &area);
    FillRect(dc, &area, BackgroundBrush());
  }

 private:
  void Tabs() {
    if (auto* pages = dynamic_cast<PageControlPeer*>(ParentPeer())) pages->RebuildTabs();
  }
  TabSheet& sheet_;
};

}  // namespace

std::unique_ptr<WindowPeer> NewPageControlPeer(Control& control) {
  if (auto* sheet = dynamic_cast<TabSheet*>(&control)) return std::make_unique<TabSheetPeer>(*sheet);
  if (auto* pages = dynamic_cast<PageControl*>(&control)) return std::make_unique<PageControlPeer>(*pages);
  return nullptr;
}

}  // namespace tolv::ui::win32
