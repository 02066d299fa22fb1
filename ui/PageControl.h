// A tab control with one page per tab. Tabs can be hidden (TabVisible) or disabled; the user
// can choose only a visible, enabled tab, the program any page.
#pragma once

#include <vector>

#include "ui/Control.h"

namespace tolv::ui {

class PageControl;

class TabSheet : public WinControl {
 public:
  TabSheet(Form* owner, std::string name, PageControl* parent);

  PageControl& Pages() const { return *pageControl_; }
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible);

 protected:
  // A page shows only while it is the active one.
  bool VisibleAsChild() const override;

 private:
  PageControl* pageControl_;
  bool tabVisible_ = true;
};

class PageControl : public WinControl {
 public:
  PageControl(Form* owner, std::string name, WinControl* parent) : WinControl(owner, std::move(name), parent) {}

  const std::vector<TabSheet*>& Pages() const { return pages_; }
  std::vector<TabSheet*> VisibleTabs() const;
  TabSheet* ActivePage() const { return active_; }
  // The program's choice; page must be one of this control's pages.
  void SetActivePage(TabSheet* page);
  // The user's click on a tab: false, and nothing changes, for a hidden or disabled tab.
  bool SelectTab(TabSheet& page);

  TInsets ClientInsets() const override;

 private:
  friend class TabSheet;
  std::vector<TabSheet*> pages_;
  TabSheet* active_ = nullptr;
};

}  // namespace tolv::ui
