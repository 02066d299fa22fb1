#include "ui/Form.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/Backend.h"
#include "ui/Controls.h"
#include "ui/Menu.h"

namespace tolv::ui {
namespace {
void RealignTree(WinControl& container) {
  container.Realign();
  for (Control* child : container.Controls()) {
    if (auto* inner = dynamic_cast<WinControl*>(child)) RealignTree(*inner);
  }
}
}  // namespace

Form::Form(std::string name) : WinControl(this, std::move(name), nullptr) { SetVisible(false); }

Component* Form::FindComponent(std::string_view name) const {
  auto found = std::find_if(components_.begin(), components_.end(), [&](const auto& c) { return c->Name() == name; });
  return found == components_.end() ? nullptr : found->get();
}

void Form::SetClientSize(int width, int height) {
  const TInsets frame = ClientInsets();
  SetBounds(Left(), Top(), width + frame.Left + frame.Right, height + frame.Top + frame.Bottom);
}

TInsets Form::ClientInsets() const { return CurrentBackend().FormFrame(*this); }

void Form::ResolveEvents(const HandlerTable& table, std::vector<std::string>& unresolved) {
  Control::ResolveEvents(table, unresolved);
  OnCreate.Resolve(table, unresolved);
  OnClose.Resolve(table, unresolved);
  OnDestroy.Resolve(table, unresolved);
  OnKeyDown.Resolve(table, unresolved);
}

void Form::AttachPeer(Component& component) { component.AttachPeer(CurrentBackend().CreatePeer(component)); }

void Form::Loaded() {
  if (loaded_) return;
  loaded_ = true;
  AttachPeer(*this);
  for (const auto& component : components_) AttachPeer(*component);
  HandlerTable table;
  PublishHandlers(table);
  unresolved_.clear();
  ResolveEvents(table, unresolved_);
  for (const auto& component : components_) component->ResolveEvents(table, unresolved_);
  RealignTree(*this);
  OnCreate(*this);
}

void Form::BeforeDestruction() {
  if (destroyed_) return;
  destroyed_ = true;
  OnDestroy(*this);
  // Windows go before the objects they show, children before parents.
  for (auto it = components_.rbegin(); it != components_.rend(); ++it) (*it)->DetachPeer();
  DetachPeer();
}

void Form::Show() {
  if (Visible()) {
    // Asked for again: a minimised or covered form comes back to the user.
    Changed(Property::Raised);
    return;
  }
  if (position_ == FormPosition::ScreenCenter) {
    const TRect area = CurrentBackend().WorkArea();
    SetBounds(area.Left + (area.Width - Width()) / 2, area.Top + (area.Height - Height()) / 2, Width(), Height());
  }
  SetVisible(true);
}

TModalResult Form::ShowModal() {
  if (modal_) return mrNone;
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  for (;;) {
    const bool userPresent = CurrentBackend().RunModalLoop(*this);
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    TCloseAction action = caHide;
    OnClose(*this, action);
    if (action == caNone && userPresent) {
      modalResult_ = mrNone;  // the handler keeps the dialog open
      continue;
    }
    const TModalResult result = modalResult_;
    Hide();
    modal_ = false;
    if (action == caFree) Release();
    return result;
  }
}

void Form::Close() {
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;  // the modal loop ends and runs OnClose
  }
  TCloseAction action = caHide;
  OnClose(*this, action);
  switch (action) {
    case caHide:
    case caMinimize: Hide(); break;
    case caFree: Release(); break;
    case caNone: break;
  }
}

void Form::Release() { Application().Release(*this); }

Button* Form::DefaultButton() const {
  for (const auto& component : components_) {
    auto* button = dynamic_cast<Button*>(component.get());
    if (button != nullptr && button->IsDefault() && button->Showing() && button->EnabledInTree()) return button;
  }
  return nullptr;
}

bool Form::DispatchKeyDown(std::uint16_t& key, TShiftState shift) {
  if (menu_ != nullptr) {
    MenuItem* item = menu_->FindShortCut(ShortCut(key, shift));
    if (item != nullptr && item->Reachable()) {
      key = 0;
      item->Click();
      return true;
    }
  }
  if (keyPreview_) {
    OnKeyDown(*this, key, shift);
    if (key == 0) return true;
  }
  if (key == vk::Return) {
    if (Button* button = DefaultButton()) {
      key = 0;
      button->Click();
      return true;
    }
  }
  return false;
}

}  // namespace tolv::ui
