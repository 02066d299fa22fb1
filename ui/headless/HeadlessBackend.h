// The headless back end: no windows; the framework's objects are all there is. Tests steer
// what a user would do in the system's dialogs: the answer of the next message box or printer
// set-up dialog, the name and type chosen in the next save dialog, how the next print dialog
// ends, and scripts that act on a modal dialog while ShowModal runs. The clipboard and the
// printer are records of what was put on them.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Backend.h"
#include "ui/Clipboard.h"
#include "ui/FileDialog.h"
#include "ui/Printer.h"

namespace tolv::ui {
class Canvas;
class PaintBox;
}  // namespace tolv::ui

namespace tolv::ui::headless {

// The reason a queued failed print job gives.
inline constexpr char kHeadlessPrintFailure[] = "the printer refused the job";

struct ShownMessage {
  std::string Text;
  std::string Caption;
  MessageButtons Buttons;
};

// Acts on a modal dialog as its user would (clicks, keys); run by ShowModal, one per turn,
// until the dialog has a modal result.
using ModalScript = std::function<void(Form& dialog)>;

// Supplies the canvas of a paint box; may return null (the box then has no canvas).
using CanvasFactory = std::function<std::shared_ptr<Canvas>(PaintBox& box)>;
// The factory a new headless back end starts with; see PaintBoxCanvas.cpp.
std::shared_ptr<Canvas> MakePaintBoxCanvas(PaintBox& box);

class HeadlessBackend : public Backend {
 public:
  // Frame sizes of the classic Windows look at 96 dpi.
  static constexpr int kCaptionHeight = 19;
  static constexpr int kMenuBarHeight = 19;
  static constexpr int kSizeableBorder = 4;
  static constexpr int kDialogBorder = 3;
  static constexpr TInsets kTabStrip{4, 24, 4, 4};
  static constexpr TRect kWorkArea{0, 0, 1024, 738};

  std::unique_ptr<ComponentPeer> CreatePeer(Component& component) override;
  TInsets FormFrame(const Form& form) const override;
  TInsets TabStripFrame() const override { return kTabStrip; }
  TRect WorkArea() const override { return kWorkArea; }
  // Runs the queued scripts until the dialog has a result; with none left the user closes the
  // dialog with its close box.
  bool RunModalLoop(Form& form) override;
  void ScheduleRelease() override {}
  void FreeReleasedForms() override;
  // Inside one of the modal loops: the test drivers fire the other events from outside.
  bool HandlingEvent() const override { return modalDepth_ > 0; }
  // The headless message box and printer set-up answer at once: none is ever open.
  void CancelDialogs() override {}
  // The queued answer, else OK for an OK box and Cancel for an OK/Cancel box.
  TModalResult ShowMessageBox(std::string_view text, std::string_view caption, MessageButtons buttons) override;
  // The queued answer, else false (cancelled).
  bool ExecutePrinterSetup(Form* owner) override;
  // Keeps content as the clipboard's; always succeeds.
  bool PutOnClipboard(Form* owner, const ClipboardContent& content) override;
  // The queued choice, else cancelled.
  std::optional<SaveFileChoice> ChooseSaveFile(Form* owner, const SaveFileRequest& request) override;
  // The queued result, else cancelled. A confirmed dialog prints every sheet: each picture is
  // drawn and recorded as one job's sheet; a sheet that cannot be drawn fails the job.
  PrintOutcome Print(Form* owner, const PrintRequest& request) override;

  void AnswerNextMessageBox(TModalResult answer) { messageAnswers_.push_back(answer); }
  void AnswerNextPrinterSetup(bool confirmed) { printerAnswers_.push_back(confirmed); }
  void AnswerNextSaveDialog(std::optional<SaveFileChoice> choice) { saveAnswers_.push_back(std::move(choice)); }
  void AnswerNextPrint(PrintResult result) { printAnswers_.push_back(result); }
  void QueueModalScript(ModalScript script) { modalScripts_.push_back(std::move(script)); }
  void SetCanvasFactory(CanvasFactory factory) { canvasFactory_ = std::move(factory); }

  const std::vector<ShownMessage>& MessagesShown() const { return messagesShown_; }
  int PrinterSetupsShown() const { return printerSetupsShown_; }
  std::size_t PendingModalScripts() const { return modalScripts_.size(); }
  int ModalLoopsRun() const { return modalLoopsRun_; }
  // Every content put on the clipboard, the latest last.
  const std::vector<ClipboardContent>& ClipboardPuts() const { return clipboardPuts_; }
  const std::vector<SaveFileRequest>& SaveDialogsShown() const { return saveDialogsShown_; }
  // Each print dialog shown: the request's document name and sheet count.
  const std::vector<PrintRequest>& PrintDialogsShown() const { return printDialogsShown_; }
  // The sheets of every job printed, a job after the other.
  const std::vector<std::vector<Picture>>& PrintedJobs() const { return printedJobs_; }

 private:
  std::deque<TModalResult> messageAnswers_;
  std::deque<bool> printerAnswers_;
  std::deque<ModalScript> modalScripts_;
  std::vector<ShownMessage> messagesShown_;
  std::vector<ClipboardContent> clipboardPuts_;
  std::deque<std::optional<SaveFileChoice>> saveAnswers_;
  std::vector<SaveFileRequest> saveDialogsShown_;
  std::deque<PrintResult> printAnswers_;
  std::vector<PrintRequest> printDialogsShown_;
  std::vector<std::vector<Picture>> printedJobs_;
  int printerSetupsShown_ = 0;
  int modalLoopsRun_ = 0;
  int modalDepth_ = 0;
  CanvasFactory canvasFactory_ = MakePaintBoxCanvas;
};

}  // namespace tolv::ui::headless
