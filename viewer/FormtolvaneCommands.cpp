// The menu and toolbar commands of the viewer window: pause, reveal, clearing the memory,
// printer set-up, close, about, and the hidden page file command.
#include <filesystem>
#include <fstream>

#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "viewer/FormAbout.h"
#include "viewer/Formtolvane.h"
#include "viewer/Reveal.h"

namespace tolv {

using platform::MutexLock;

std::string PageFilePath() {
  constexpr char separator = static_cast<char>(std::filesystem::path::preferred_separator);
  return std::string(".") + separator + "plugins" + separator + "vtx" + separator + "test.vtx";
}

void TFormTolv::mnPauseClick(ui::Component& /*sender*/) { TogglePause(); }

void TFormTolv::SpeedButtonPauseClick(ui::Component& sender) { mnPauseClick(sender); }

void TFormTolv::mnRevealClick(ui::Component& /*sender*/) {
  SetReveal(!GetReveal());
  UpdateRevealControls();
  PaintDisplayPage();
}

void TFormTolv::SpeedButtonRevealClick(ui::Component& sender) { mnRevealClick(sender); }

void TFormTolv::UpdateRevealControls() {
  mnReveal->SetChecked(GetReveal());
  SpeedButtonReveal->SetDown(mnReveal->Checked());
}

void TFormTolv::mnClearMemClick(ui::Component& /*sender*/) {
  if (ui::ShowMessageBox(kClearMemoryQuestion, kClearMemoryCaption, ui::MessageButtons::OkCancel) != ui::mrOk) return;
  BlankDisplayAndClearMemory();
}

// One hold of PageDataMutex from the blanking to the clearing, so the data thread can neither
// file a page nor put one on screen in between. The search and the panels stay as they are.
void TFormTolv::BlankDisplayAndClearMemory() {
  const MutexLock data(PageDataMutex);
  if (!data) return;
  DisplayPage.ClearRows();
  DrawPage(PrepareRender(), &DisplayPage, GetReveal());
  AllPages().Clear();
}

// Its result is not used: nothing prints.
void TFormTolv::mnPrinterSetupClick(ui::Component& /*sender*/) { PrinterSetupDialog->Execute(); }

void TFormTolv::mnCloseAppClick(ui::Component& /*sender*/) { Close(); }

void TFormTolv::mnAboutClick(ui::Component& /*sender*/) {
  ui::Application().CreateForm(frmAbout);
  if (frmAbout != nullptr) frmAbout->ShowModal();
}

// The whole memory into the page file, replacing it. The folders are not created, and nothing
// is reported: a file that cannot be written stays unwritten.
void TFormTolv::SpeedButton4Click(ui::Component& /*sender*/) {
  std::ofstream file(PageFilePath(), std::ios::binary | std::ios::trunc);
  {
    const MutexLock data(PageDataMutex);
    if (data) AllPages().SaveAll(file);  // a failed wait leaves the file empty
  }
  file.close();
}

}  // namespace tolv
