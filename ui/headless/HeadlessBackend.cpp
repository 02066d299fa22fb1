#include "ui/headless/HeadlessBackend.h"

#include "ui/Application.h"
#include "ui/Controls.h"

namespace tolv::ui {

Backend& DefaultBackend() {
  static headless::HeadlessBackend backend;
  return backend;
}

namespace headless {
namespace {

// Owns the canvas of one paint box for as long as the box has its peer.
class PaintBoxPeer : public ComponentPeer {
 public:
  PaintBoxPeer(PaintBox& box, std::shared_ptr<Canvas> canvas) : box_(box), canvas_(std::move(canvas)) {
    box_.SetCanvas(canvas_.get());
  }
  PaintBoxPeer(const PaintBoxPeer&) = delete;
  PaintBoxPeer& operator=(const PaintBoxPeer&) = delete;
  ~PaintBoxPeer() override { box_.SetCanvas(nullptr); }
  void Changed(Property /*property*/) override {}

 private:
  PaintBox& box_;
  std::shared_ptr<Canvas> canvas_;
};

}  // namespace

std::unique_ptr<ComponentPeer> HeadlessBackend::CreatePeer(Component& component) {
  auto* box = dynamic_cast<PaintBox*>(&component);
  if (box == nullptr || !canvasFactory_) return nullptr;
  std::shared_ptr<Canvas> canvas = canvasFactory_(*box);
  if (canvas == nullptr) return nullptr;
  return std::make_unique<PaintBoxPeer>(*box, std::move(canvas));
}

TInsets HeadlessBackend::FormFrame(const Form& form) const {
  const int border = form.BorderStyle() == BorderStyle::Dialog ? kDialogBorder : kSizeableBorder;
  const int menu = form.Menu() != nullptr ? kMenuBarHeight : 0;
  return {border, border + kCaptionHeight + menu, border, border};
}

bool HeadlessBackend::RunModalLoop(Form& form) {
  ++modalLoopsRun_;
  ++modalDepth_;
  const auto leave = [this](bool userPresent) {
    --modalDepth_;
    return userPresent;
  };
  while (form.ModalResult() == mrNone) {
    if (modalScripts_.empty()) {
      form.Close();
      return leave(false);
    }
    ModalScript script = std::move(modalScripts_.front());
    modalScripts_.pop_front();
    script(form);
    Application().FreeReleasedForms();
  }
  return leave(true);
}

void HeadlessBackend::FreeReleasedForms() { Application().FreeReleasedForms(); }

TModalResult HeadlessBackend::ShowMessageBox(std::string_view text, std::string_view caption, MessageButtons buttons) {
  messagesShown_.push_back({std::string(text), std::string(caption), buttons});
  if (messageAnswers_.empty()) return buttons == MessageButtons::Ok ? mrOk : mrCancel;
  const TModalResult answer = messageAnswers_.front();
  messageAnswers_.pop_front();
  return answer;
}

bool HeadlessBackend::ExecutePrinterSetup(Form* /*owner*/) {
  ++printerSetupsShown_;
  if (printerAnswers_.empty()) return false;
  const bool confirmed = printerAnswers_.front();
  printerAnswers_.pop_front();
  return confirmed;
}

bool HeadlessBackend::PutOnClipboard(Form* /*owner*/, const ClipboardContent& content) {
  clipboardPuts_.push_back(content);
  return true;
}

std::optional<SaveFileChoice> HeadlessBackend::ChooseSaveFile(Form* /*owner*/, const SaveFileRequest& request) {
  saveDialogsShown_.push_back(request);
  if (saveAnswers_.empty()) return std::nullopt;
  std::optional<SaveFileChoice> choice = std::move(saveAnswers_.front());
  saveAnswers_.pop_front();
  return choice;
}

PrintOutcome HeadlessBackend::Print(Form* /*owner*/, const PrintRequest& request) {
  printDialogsShown_.push_back({request.DocumentName, request.Sheets, nullptr});
  PrintOutcome outcome;
  if (printAnswers_.empty()) return outcome;
  outcome.Result = printAnswers_.front();
  printAnswers_.pop_front();
  if (outcome.Result == PrintResult::kFailed) outcome.Reason = kHeadlessPrintFailure;
  if (outcome.Result != PrintResult::kPrinted) return outcome;
  std::vector<Picture> sheets;
  for (std::size_t sheet = 0; sheet < request.Sheets; ++sheet) {
    std::optional<Picture> picture = request.Draw(sheet);
    if (!picture) return {PrintResult::kFailed, "the picture of a sheet could not be drawn", sheet};
    sheets.push_back(std::move(*picture));
  }
  outcome.SheetsPrinted = sheets.size();
  printedJobs_.push_back(std::move(sheets));
  return outcome;
}

}  // namespace headless
}  // namespace tolv::ui
