#include "ui/headless/Driver.h"

#include <vector>

#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/Menu.h"
#include "ui/PageControl.h"
#include "ui/Timer.h"

namespace tolv::ui::headless {
namespace {

const std::string* CaptionOf(const Component& component) {
  if (const auto* control = dynamic_cast<const Control*>(&component)) return &control->Caption();
  if (const auto* item = dynamic_cast<const MenuItem*>(&component)) return &item->Caption();
  return nullptr;
}

std::vector<Component*> Matches(const Form& form, std::string_view nameOrCaption) {
  std::vector<Component*> matches;
  if (Component* named = form.FindComponent(nameOrCaption)) matches.push_back(named);
  const std::string wanted = WithoutAccelerator(nameOrCaption);
  for (const auto& component : form.Components()) {
    const std::string* caption = CaptionOf(*component);
    if (caption != nullptr && WithoutAccelerator(*caption) == wanted) matches.push_back(component.get());
  }
  return matches;
}

bool Reachable(const Form& form, const Component& component) {
  if (const auto* item = dynamic_cast<const MenuItem*>(&component)) return form.Visible() && item->Reachable();
  if (const auto* control = dynamic_cast<const Control*>(&component)) {
    return control->Showing() && control->EnabledInTree();
  }
  return false;
}

// The end of a turn of the message loop.
void EndOfTurn() { Application().FreeReleasedForms(); }

}  // namespace

Session::Session() : previous_(SetBackend(&backend_)) {}

Session::~Session() {
  Application().FreeAllForms();
  SetBackend(previous_);
}

std::string WithoutAccelerator(std::string_view caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&&" stands for one '&'
    text += caption[i];
  }
  return text;
}

Component* Find(const Form& form, std::string_view nameOrCaption) {
  auto matches = Matches(form, nameOrCaption);
  return matches.empty() ? nullptr : matches.front();
}

bool Click(Form& form, std::string_view nameOrCaption) {
  for (Component* component : Matches(form, nameOrCaption)) {
    if (!Reachable(form, *component)) continue;
    if (auto* item = dynamic_cast<MenuItem*>(component)) {
      item->Click();
    } else if (auto* sheet = dynamic_cast<TabSheet*>(component)) {
      if (!sheet->Pages().SelectTab(*sheet)) continue;
    } else {
      static_cast<Control*>(component)->Click();
    }
    EndOfTurn();
    return true;
  }
  return false;
}

bool SelectTab(Form& form, std::string_view caption) {
  for (Component* component : Matches(form, caption)) {
    auto* sheet = dynamic_cast<TabSheet*>(component);
    if (sheet == nullptr || !sheet->Pages().Showing()) continue;
    const bool selected = sheet->Pages().SelectTab(*sheet);
    EndOfTurn();
    return selected;
  }
  return false;
}

bool PressKey(Form& form, std::uint16_t key, TShiftState shift) {
  const bool used = form.DispatchKeyDown(key, shift);
  EndOfTurn();
  return used;
}

bool MouseDown(Control& control, TMouseButton button, TShiftState shift, int x, int y) {
  if (!Reachable(control.OwnerForm(), control)) return false;
  control.MouseDown(button, shift, x, y);
  EndOfTurn();
  return true;
}

void TickTimers(Form& form) {
  std::vector<Timer*> timers;
  for (const auto& component : form.Components()) {
    if (auto* timer = dynamic_cast<Timer*>(component.get())) timers.push_back(timer);
  }
  for (Timer* timer : timers) timer->Tick();
  EndOfTurn();
}

int RunTickRequests(Form& form) {
  std::vector<Timer*> timers;
  for (const auto& component : form.Components()) {
    if (auto* timer = dynamic_cast<Timer*>(component.get())) timers.push_back(timer);
  }
  int run = 0;
  for (Timer* timer : timers) {
    if (!timer->TakeTickRequest()) continue;
    timer->Tick();
    ++run;
  }
  EndOfTurn();
  return run;
}

void Paint(PaintBox& box) {
  box.Paint();
  EndOfTurn();
}

void CloseBox(Form& form) {
  form.Close();
  EndOfTurn();
}

}  // namespace tolv::ui::headless
