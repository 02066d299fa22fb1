#include "ui/Menu.h"

namespace tolv::ui {

MenuItem::MenuItem(Form* owner, std::string name, MainMenu& menu, MenuItem* parent)
    : Component(owner, std::move(name)), parent_(parent) {
  (parent != nullptr ? parent->items_ : menu.items_).push_back(this);
}

void MenuItem::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(Property::Caption);
}

void MenuItem::SetShortCut(TShortCut shortcut) {
  if (shortcut == shortcut_) return;
  shortcut_ = shortcut;
  Changed(Property::Shortcut);
}

void MenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Property::Enabled);
}

void MenuItem::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(Property::Visible);
}

void MenuItem::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Property::Checked);
}

bool MenuItem::Reachable() const {
  for (const MenuItem* item = this; item != nullptr; item = item->parent_) {
    if (!item->enabled_ || !item->visible_) return false;
  }
  return true;
}

void MenuItem::Click() {
  if (enabled_) OnClick(*this);
}

void MenuItem::ResolveEvents(const HandlerTable& table, std::vector<std::string>& unresolved) {
  OnClick.Resolve(table, unresolved);
}

namespace {
MenuItem* FindIn(const std::vector<MenuItem*>& items, TShortCut shortcut) {
  for (MenuItem* item : items) {
    if (!item->Visible()) continue;
    if (item->ShortCut() == shortcut) return item;
    if (MenuItem* found = FindIn(item->Items(), shortcut)) return found;
  }
  return nullptr;
}
}  // namespace

MenuItem* MainMenu::FindShortCut(TShortCut shortcut) const {
  return shortcut == scNone ? nullptr : FindIn(items_, shortcut);
}

std::string ShortCutToText(TShortCut shortcut) {
  if (shortcut == scNone) return {};
  std::string text;
  if ((shortcut & scCtrl) != 0) text += "Strg+";
  if ((shortcut & scShift) != 0) text += "Umschalt+";
  if ((shortcut & scAlt) != 0) text += "Alt+";
  const unsigned key = shortcut & 0xFFu;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    text += static_cast<char>(key);
  } else {
    // No other key carries a shortcut in this program. (Appended in two steps: GCC 12 warns
    // wrongly about the memcpy of a concatenation here at -O3.)
    text += '#';
    text += std::to_string(key);
  }
  return text;
}

}  // namespace tolv::ui
