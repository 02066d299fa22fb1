// A form's main menu: items with captions ("-" is a separator), Ctrl shortcuts, check marks,
// submenus and disabled entries.
#pragma once

#include <vector>

#include "ui/Component.h"

namespace tolv::ui {

class MainMenu;

class MenuItem : public Component {
 public:
  // parent null: an entry of the menu bar.
  MenuItem(Form* owner, std::string name, MainMenu& menu, MenuItem* parent);

  MenuItem* Parent() const { return parent_; }
  const std::vector<MenuItem*>& Items() const { return items_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool IsSeparator() const { return caption_ == "-"; }
  TShortCut ShortCut() const { return shortcut_; }
  void SetShortCut(TShortCut shortcut);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // A check item shows an on/off state as its check mark.
  bool IsCheckItem() const { return checkItem_; }
  void SetCheckItem(bool checkItem) { checkItem_ = checkItem; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

  // Enabled and visible, and so is every menu above it: a user can choose it.
  bool Reachable() const;

  Event<TNotifyEvent> OnClick;
  // Runs OnClick, unless the item is disabled.
  void Click();
  void ResolveEvents(const HandlerTable& table, std::vector<std::string>& unresolved) override;

 private:
  MenuItem* parent_;
  std::vector<MenuItem*> items_;
  std::string caption_;
  TShortCut shortcut_ = scNone;
  bool enabled_ = true;
  bool visible_ = true;
  bool checkItem_ = false;
  bool checked_ = false;
};

class MainMenu : public Component {
 public:
  MainMenu(Form* owner, std::string name) : Component(owner, std::move(name)) {}

  // The entries of the menu bar.
  const std::vector<MenuItem*>& Items() const { return items_; }
  // The visible item with this shortcut, searched depth first; null when none.
  MenuItem* FindShortCut(TShortCut shortcut) const;

 private:
  friend class MenuItem;
  std::vector<MenuItem*> items_;
};

}  // namespace tolv::ui
