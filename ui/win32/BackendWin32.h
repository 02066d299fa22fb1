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
  TModalResult ShowMessageBox(std::string_view text, std::string_view caption, MessageButtons buttons) override;
  bool ExecutePrinterSetup(Form* owner) override;
  bool PutOnClipboard(Form* owner, const ClipboardContent& content) override;

  // The posted release has arrived: frees the released forms, then the message window unless
  // another release is under way.
  void FreeReleasedForms();

 private:
  WindowHandle messageWindow_;
  bool releasePosted_ = false;
  mutable std::optional<TInsets> tabStripFrame_;
};

}  // namespace tolv::ui::win32
