// The parts of a form that live in its window: the menu bar with its items (real HMENUs, so
// the system draws them, checks them and reports them to screen readers) and the timers.
#include <string>

#include "ui/Menu.h"
#include "ui/TextEncoding.h"
#include "ui/Timer.h"
#include "ui/win32/FormPeer.h"
#include "ui/win32/Peers.h"

namespace tolv::ui::win32 {
namespace {

FormPeer* FormPeerOf(const Component& component) { return dynamic_cast<FormPeer*>(component.OwnerForm().Peer()); }

class MainMenuPeer final : public ComponentPeer {
 public:
  MainMenuPeer(MainMenu& menu, FormPeer& form) : menu_(menu), form_(form), bar_(NewMenuBar()) {
    if (form_.Owner().OwnerForm().Menu() == &menu_) SetMenu(form_.Hwnd(), bar_.Get());
  }
  MainMenuPeer(const MainMenuPeer&) = delete;
  MainMenuPeer& operator=(const MainMenuPeer&) = delete;
  ~MainMenuPeer() override {
    // Out of the window first: a window destroys the menu it holds.
    if (form_.Hwnd() != nullptr && GetMenu(form_.Hwnd()) == bar_.Get()) SetMenu(form_.Hwnd(), nullptr);
  }
  void Changed(Property /*property*/) override {}
  HMENU Bar() const { return bar_.Get(); }
  FormPeer& Form() const { return form_; }

 private:
  MainMenu& menu_;
  FormPeer& form_;
  MenuHandle bar_;
};

class MenuItemPeer final : public ComponentPeer {
 public:
  MenuItemPeer(MenuItem& item, FormPeer& form) : item_(item), form_(form), id_(form.AddMenuItem(item)) { Insert(); }
  MenuItemPeer(const MenuItemPeer&) = delete;
  MenuItemPeer& operator=(const MenuItemPeer&) = delete;
  ~MenuItemPeer() override {
    Remove();
    form_.RemoveMenuItem(id_);
  }

  void Changed(Property property) override {
    if (property == Property::Visible) {
      item_.Visible() ? Insert() : Remove();
    } else if (inserted_ != nullptr) {
      MENUITEMINFOA info = Describe();
      SetMenuItemInfoA(inserted_, Position(), TRUE, &info);
    }
    RedrawBar();
  }

  // The popup that holds this item's own items, made when the first of them arrives.
  HMENU Submenu() {
    if (!submenu_) {
      submenu_ = NewPopupMenu();
      if (inserted_ != nullptr) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_SUBMENU;
        info.hSubMenu = submenu_.Get();
        SetMenuItemInfoA(inserted_, Position(), TRUE, &info);
      }
    }
    return submenu_.Get();
  }

 private:
  MENUITEMINFOA Describe() {
    text_ = Utf8ToWindows1252(item_.Caption());
    // The shortcut as the system's menus show it, right-aligned after a tab.
    // (Appended in two steps: GCC 12 warns wrongly about a concatenation's memcpy here at -O3.)
    if (item_.ShortCut() != scNone) {
      text_ += '\t';
      text_ += Utf8ToWindows1252(ShortCutToText(item_.ShortCut()));
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | (item_.IsSeparator() ? 0u : MIIM_STRING);
    info.fType = item_.IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
    info.fState = (item_.Enabled() ? MFS_ENABLED : MFS_DISABLED | MFS_GRAYED) | (item_.Checked() ? MFS_CHECKED : 0u);
    info.wID = id_;
    info.hSubMenu = submenu_.Get();
    if (!item_.IsSeparator()) {
      info.dwTypeData = text_.data();
      info.cch = static_cast<UINT>(text_.size());
    }
    return info;
  }

  HMENU ParentMenu() const {
    if (item_.Parent() != nullptr) {
      auto* parent = dynamic_cast<MenuItemPeer*>(item_.Parent()->Peer());
      return parent != nullptr ? parent->Submenu() : nullptr;
    }
    const MainMenu* menu = item_.OwnerForm().Menu();
    auto* bar = menu != nullptr ? dynamic_cast<MainMenuPeer*>(menu->Peer()) : nullptr;
    return bar != nullptr ? bar->Bar() : nullptr;
  }

  // Before this item come its visible siblings that already have their place.
  UINT Position() const {
    const std::vector<MenuItem*>* siblings = nullptr;
    if (item_.Parent() != nullptr) {
      siblings = &item_.Parent()->Items();
    } else if (item_.OwnerForm().Menu() != nullptr) {
      siblings = &item_.OwnerForm().Menu()->Items();
    }
    UINT position = 0;
    for (const MenuItem* sibling : siblings != nullptr ? *siblings : std::vector<MenuItem*>()) {
      if (sibling == &item_) break;
      auto* peer = dynamic_cast<const MenuItemPeer*>(sibling->Peer());
      if (peer != nullptr && peer->inserted_ != nullptr) ++position;
    }
    return position;
  }

  void Insert() {
    if (inserted_ != nullptr || !item_.Visible()) return;
    HMENU parent = ParentMenu();
    if (parent == nullptr) return;
    MENUITEMINFOA info = Describe();
    if (InsertMenuItemA(parent, Position(), TRUE, &info)) inserted_ = parent;
    RedrawBar();  // the system measures the bar again: an empty bar had no height
  }

  void Remove() {
    // RemoveMenu, not DeleteMenu: the submenu stays this peer's to destroy.
    if (inserted_ != nullptr) RemoveMenu(inserted_, Position(), MF_BYPOSITION);
    inserted_ = nullptr;
    RedrawBar();
  }

  void RedrawBar() const {
    if (item_.Parent() == nullptr && form_.Hwnd() != nullptr) DrawMenuBar(form_.Hwnd());
  }

  MenuItem& item_;
  FormPeer& form_;
  UINT id_;
  MenuHandle submenu_;
  HMENU inserted_ = nullptr;  // the menu that holds the item now
  std::string text_;          // the caption as the last description gave it
};

class TimerPeer final : public TimerWakePeer {
 public:
  TimerPeer(Timer& timer, FormPeer& form) : timer_(timer), form_(form), id_(form.AddTimer(timer)) { Apply(); }
  TimerPeer(const TimerPeer&) = delete;
  TimerPeer& operator=(const TimerPeer&) = delete;
  ~TimerPeer() override {
    running_.Reset();
    form_.RemoveTimer(id_);
  }
  void Changed(Property property) override {
    if (property == Property::Interval) Apply();
  }
  // The form's window outlives the timer's users on other threads; a post to a window that is
  // gone already fails and is dropped.
  void PostTick() override { PostMessageW(form_.Hwnd(), FormPeer::kTickSoonMessage, id_, 0); }

 private:
  void Apply() {
    running_.Reset();
    if (timer_.Enabled() && timer_.Interval() > 0 && form_.Hwnd() != nullptr) {
      running_ = WindowTimer(form_.Hwnd(), id_, timer_.Interval());
    }
  }
  Timer& timer_;
  FormPeer& form_;
  UINT_PTR id_;
  WindowTimer running_;
};

}  // namespace

std::unique_ptr<ComponentPeer> NewFormPartPeer(Component& component) {
  FormPeer* form = FormPeerOf(component);
  if (form == nullptr) return nullptr;
  if (auto* item = dynamic_cast<MenuItem*>(&component)) return std::make_unique<MenuItemPeer>(*item, *form);
  if (auto* menu = dynamic_cast<MainMenu*>(&component)) return std::make_unique<MainMenuPeer>(*menu, *form);
  if (auto* timer = dynamic_cast<Timer*>(&component)) return std::make_unique<TimerPeer>(*timer, *form);
  return nullptr;
}

}  // namespace tolv::ui::win32
