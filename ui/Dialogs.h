// The system's standard dialogs: message boxes and the printer set-up dialog.
#pragma once

#include <string_view>

#include "ui/Backend.h"

namespace tolv::ui {

// (Not called MessageBox: <windows.h> defines that name as a macro.)
// Shows a message box and waits for the answer: mrOk, or mrCancel (also when the box is closed
// without choosing).
inline TModalResult ShowMessageBox(std::string_view text, std::string_view caption, MessageButtons buttons) {
  return CurrentBackend().ShowMessageBox(text, caption, buttons);
}

class PrinterSetupDialog : public Component {
 public:
  PrinterSetupDialog(Form* owner, std::string name) : Component(owner, std::move(name)) {}
  // Runs the dialog modally; true when the user confirmed it.
  bool Execute() { return CurrentBackend().ExecutePrinterSetup(&OwnerForm()); }
};

}  // namespace tolv::ui
