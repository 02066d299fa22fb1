#include "ui/Application.h"

#include <algorithm>

#include "ui/Backend.h"

namespace tolv::ui {

TApplication& Application() {
  static TApplication application;
  return application;
}

bool TApplication::Owns(const Form* form) const {
  return std::any_of(forms_.begin(), forms_.end(), [&](const auto& f) { return f.get() == form; });
}

void TApplication::Release(Form& form) {
  if (!Owns(&form) || std::find(released_.begin(), released_.end(), &form) != released_.end()) return;
  released_.push_back(&form);
  CurrentBackend().ScheduleRelease();
}

void TApplication::FreeReleasedForms() {
  // Freeing a form may release others (from its OnDestroy); go on until nothing is left.
  for (bool freed = true; freed;) {
    freed = false;
    for (Form* form : released_) {
      if (form->InModalLoop()) continue;
      Free(*form);
      freed = true;
      break;
    }
  }
}

void TApplication::Free(Form& form) {
  auto found = std::find_if(forms_.begin(), forms_.end(), [&](const auto& f) { return f.get() == &form; });
  if (found == forms_.end()) return;
  std::erase(released_, &form);
  form.BeforeDestruction();
  // OnDestroy may have created or freed forms: find the form again before erasing it.
  found = std::find_if(forms_.begin(), forms_.end(), [&](const auto& f) { return f.get() == &form; });
  if (found != forms_.end()) forms_.erase(found);
}

void TApplication::CloseModalForms() {
  for (const auto& form : forms_) {
    if (form->InModalLoop()) form->Close();
  }
}

void TApplication::FreeAllForms() {
  while (!forms_.empty()) Free(*forms_.back());
}

}  // namespace tolv::ui
