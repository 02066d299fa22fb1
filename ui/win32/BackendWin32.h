// The Win32 back end: real windows for forms and controls, HMENU menus, window timers, the
// system's message box and printer set-up dialog, the clipboard, and modal loops of its own.
#pragma once

#include <optional>

#include "ui/Backend.h"
#include "ui/win32/Handles.h"

namespace tolv::ui::win32 {

class BackendWin32 final : public Backend {
 public:
  std::unique_ptr<ComponentPeer> CreatePeer(Component& component) override;
  TInsets FormFrame(const Form& form) const override;
  TInsets TabStripFrame() const override;
  TRect WorkArea() const override;
  bool RunModalLoop(Form& form) override;
  void ScheduleRelease() override;
  // Also the posted release when it arrives; afterwards the message window goes unless another
  // release is under way.
  void FreeReleasedForms() override;
  bool HandlingEvent() const override;
  // The message or dialog boxes of the system the library shows, owned by its windows, are
  // cancelled as their user would.
  void CancelDialogs() override;
  // The posted release (or its retry) has come.
  void ReleaseArrived();
  TModalResult ShowMessageBox(std::string_view text, std::string_view caption, MessageButtons buttons) override;
  bool ExecutePrinterSetup(Form* owner) override;
  bool PutOnClipboard(Form* owner, const ClipboardContent& content) override;
  std::optional<SaveFileChoice> ChooseSaveFile(Form* owner, const SaveFileRequest& request) override;
  // The print dialog starts with the printer and settings last chosen in it or in the printer
  // set-up dialog.
  PrintOutcome Print(Form* owner, const PrintRequest& request) override;

 private:
  // Counts the modal loops running: a dialog shown straight from an entry point of the host has
  // the library's frames below it although no window message of the library is being handled.
  class ModalScope;
  int modalLoops_ = 0;
  WindowHandle messageWindow_;
  bool releasePosted_ = false;
  WindowTimer releaseRetry_;
  mutable std::optional<TInsets> tabStripFrame_;
  // The printer chosen last (DEVMODEW and DEVNAMES), empty until one was chosen.
  GlobalMemory printerMode_;
  GlobalMemory printerNames_;
};

}  // namespace tolv::ui::win32
