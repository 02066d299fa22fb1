// The application object: it creates forms, keeps them, and frees the ones that released
// themselves once the event that released them is over.
#pragma once

#include <memory>
#include <vector>

#include "ui/Form.h"

namespace tolv::ui {

class TApplication {
 public:
  // Creates a form of type T, stores it in reference, then completes it (peers, event
  // bindings, OnCreate). reference is set before OnCreate runs.
  template <class T>
  void CreateForm(T*& reference) {
    auto form = std::make_unique<T>();
    T* raw = form.get();
    reference = raw;
    forms_.push_back(std::move(form));
    raw->Loaded();
  }
  // Creates and completes a form of type T; the application keeps it until it is freed.
  template <class T>
  T* NewForm() {
    T* form = nullptr;
    CreateForm(form);
    return form;
  }

  std::size_t FormCount() const { return forms_.size(); }
  bool Owns(const Form* form) const;

  // Marks form for freeing; FreeReleasedForms frees it after the current event.
  void Release(Form& form);
  // Frees every released form that is not inside its modal loop. The back ends call it from
  // their message loops; headless test drivers after each event they fire.
  void FreeReleasedForms();
  // Frees form now: OnDestroy, its peers, then the object.
  void Free(Form& form);
  void FreeAllForms();
  // Ends every modal loop as if its user had cancelled the dialog.
  void CloseModalForms();

 private:
  std::vector<std::unique_ptr<Form>> forms_;
  std::vector<Form*> released_;
};

TApplication& Application();

}  // namespace tolv::ui
