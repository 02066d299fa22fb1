// The seam a back end implements: peers for components, the few system metrics the portable
// layout needs, the modal loop, deferred freeing of forms, message boxes, the printer set-up
// dialog, the clipboard, the save dialog and printing.
//
// Each back end defines DefaultBackend(); the build links exactly one (the headless one in
// native builds and tests, the Win32 one in the plug-in). Tests may install another for a while
// with SetBackend().
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "ui/Component.h"

namespace tolv::ui {

class Form;
struct ClipboardContent;
struct SaveFileRequest;
struct SaveFileChoice;
struct PrintRequest;
struct PrintOutcome;

enum class MessageButtons : std::uint8_t { Ok, OkCancel };

class Backend {
 public:
  virtual ~Backend() = default;

  // A peer for component, or null when this back end keeps none for it. Called once for each
  // component of a form when the form has been built, in creation order (parents first).
  virtual std::unique_ptr<ComponentPeer> CreatePeer(Component& component) = 0;

  // Between a form's outer bounds and its client area: border, caption and menu bar.
  virtual TInsets FormFrame(const Form& form) const = 0;
  // Between a page control's bounds and the area of its pages.
  virtual TInsets TabStripFrame() const = 0;
  // The screen area a centred form is centred in.
  virtual TRect WorkArea() const = 0;

  // Lets the user work with the modal form until form.ModalResult() is set. False when no one
  // can end the dialog any more (a headless script ran out); the form is then ended for them.
  virtual bool RunModalLoop(Form& form) = 0;
  // Forms have been released: Application().FreeReleasedForms() must run soon, from the
  // message loop, after the event that released them has returned.
  virtual void ScheduleRelease() = 0;
  // Frees the released forms now, with what the back end keeps for the release, when no event
  // is being handled: the host may unload the library next.
  virtual void FreeReleasedForms() = 0;
  // True while the library handles an event of the system (a window message, one of its modal
  // loops): frames of the library lie below the caller, so no window of it may go now.
  virtual bool HandlingEvent() const = 0;
  // Ends the dialogs of the system the library runs now (message box, printer set-up) as if
  // their user cancelled them; the library's own modal forms are ended with Form::Close.
  virtual void CancelDialogs() = 0;

  // The answer mrOk or mrCancel.
  virtual TModalResult ShowMessageBox(std::string_view text, std::string_view caption, MessageButtons buttons) = 0;
  // True when the user confirmed the printer set-up dialog.
  virtual bool ExecutePrinterSetup(Form* owner) = 0;
  // Replaces the clipboard's content (ui/Clipboard.h); false when nothing could be put there.
  virtual bool PutOnClipboard(Form* owner, const ClipboardContent& content) = 0;
  // The save dialog (ui/FileDialog.h); nothing when cancelled.
  virtual std::optional<SaveFileChoice> ChooseSaveFile(Form* owner, const SaveFileRequest& request) = 0;
  // The print dialog, then the sheets to the printer chosen there (ui/Printer.h).
  virtual PrintOutcome Print(Form* owner, const PrintRequest& request) = 0;
};

Backend& DefaultBackend();
Backend& CurrentBackend();
// Installs backend (null: the default) and returns the one installed before.
Backend* SetBackend(Backend* backend);

}  // namespace tolv::ui
