#include "ui/PageControl.h"

#include <algorithm>

#include "ui/Backend.h"

namespace tolv::ui {

TabSheet::TabSheet(Form* owner, std::string name, PageControl* parent)
    : WinControl(owner, std::move(name), parent), pageControl_(parent) {
  parent->pages_.push_back(this);
  if (parent->active_ == nullptr) parent->active_ = this;
  SetAlign(ui::Align::Client);
}

void TabSheet::SetTabVisible(bool visible) {
  if (visible == tabVisible_) return;
  tabVisible_ = visible;
  Changed(Property::TabVisible);
  // A hidden tab cannot stay the one shown: the next visible page takes its place.
  if (!visible && pageControl_->ActivePage() == this) {
    auto tabs = pageControl_->VisibleTabs();
    if (!tabs.empty()) pageControl_->SetActivePage(tabs.front());
  }
}

bool TabSheet::VisibleAsChild() const { return Visible() && pageControl_->ActivePage() == this; }

std::vector<TabSheet*> PageControl::VisibleTabs() const {
  std::vector<TabSheet*> tabs;
  std::copy_if(pages_.begin(), pages_.end(), std::back_inserter(tabs), [](TabSheet* p) { return p->TabVisible(); });
  return tabs;
}

void PageControl::SetActivePage(TabSheet* page) {
  if (page == active_ || std::find(pages_.begin(), pages_.end(), page) == pages_.end()) return;
  active_ = page;
  Changed(Property::ActivePage);
}

bool PageControl::SelectTab(TabSheet& page) {
  if (!page.TabVisible() || !page.Enabled() || !EnabledInTree()) return false;
  SetActivePage(&page);
  return true;
}

TInsets PageControl::ClientInsets() const { return CurrentBackend().TabStripFrame(); }

}  // namespace tolv::ui
