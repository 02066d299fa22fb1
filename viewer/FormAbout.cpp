#include "viewer/FormAbout.h"

#include "platform/Shell.h"
#include "viewer/Glyphs.h"
#include "viewer/ProgramInfo.h"

namespace tolv {

TfrmAbout* frmAbout = nullptr;

TfrmAbout::TfrmAbout() : ui::Form("frmAbout") {
  SetCaption("Info");
  SetBorderStyle(ui::BorderStyle::Dialog);
  SetPosition(ui::FormPosition::ScreenCenter);
  SetClientSize(486, 441);
  OnCreate.Bind("FormCreate");
  OnClose.Bind("FormClose");

  OKButton = Make<ui::Button>("OKButton", this);
  OKButton->SetCaption("OK");
  OKButton->SetBounds(205, 404, 75, 25);
  OKButton->SetDefault(true);
  OKButton->SetModalResult(ui::mrOk);
  OKButton->OnClick.Bind("OKButtonClick");

  PageControl1 = Make<ui::PageControl>("PageControl1", this);
  PageControl1->SetBounds(14, 16, 459, 369);

  TabSheet1 = AddTab("TabSheet1", "Version");
  Panel2 = Make<ui::Panel>("Panel2", TabSheet1);
  Panel2->SetBounds(16, 16, 417, 177);
  Panel2->SetBevels(ui::BevelCut::Raised, ui::BevelCut::Lowered);
  ProgramIcon = Make<ui::Image>("ProgramIcon", Panel2);
  ProgramIcon->SetBounds(32, 24, 65, 57);
  ProgramIcon->SetStretch(true);
  ProgramIcon->SetPicture(ProgramIconImage());
  LabelAppName = AddLabel("LabelAppName", 112, 24, 290);
  ui::TFont bold = LabelAppName->Font();
  bold.Bold = true;
  bold.Size = 10;
  LabelAppName->SetFont(bold);
  LabelAppName->SetBounds(112, 24, 290, 16);
  LabelVersion = AddLabel("LabelVersion", 112, 48, 290);
  LabelTimestamp = AddLabel("LabelTimestamp", 112, 64, 290);
  LabelCopyright = AddLabel("LabelCopyright", 32, 96, 370);
  LabelURL = AddLabel("LabelURL", 32, 120, 370);
  LabelMailTo = AddLabel("LabelMailTo", 32, 144, 370);
  for (ui::Label* link : {LabelURL, LabelMailTo}) {
    ui::TFont font = link->Font();
    font.Color = ui::clBlue;
    font.Underline = true;
    link->SetFont(font);
    link->SetWordWrap(true);
    link->SetCursor(ui::Cursor::HandPoint);
  }
  LabelURL->OnClick.Bind("LabelURLClick");
  LabelMailTo->OnClick.Bind("LabelMailToClick");
  BitBtnNextTo2 = AddNextButton("BitBtnNextTo2", TabSheet1, "BitBtnNextTo2Click");

  TabSheet2 = AddTab("TabSheet2", "Cardware");
  Memo1 = AddTermsMemo("Memo1", TabSheet2, TermsOfUse());
  Memo1->SetColor(ui::clBtnFace);
  BitBtnNextTo3 = AddNextButton("BitBtnNextTo3", TabSheet2, "BitBtnNextTo3Click");

  TabSheet3 = AddTab("TabSheet3", "Vervielfältigung");
  Memo2 = AddTermsMemo("Memo2", TabSheet3, TermsOfDistribution());
  BitBtnNextTo1 = AddNextButton("BitBtnNextTo1", TabSheet3, "BitBtnNextTo1Click");
}

ui::TabSheet* TfrmAbout::AddTab(const char* name, const char* caption) {
  auto* tab = Make<ui::TabSheet>(name, PageControl1);
  tab->SetCaption(caption);
  return tab;
}

ui::Label* TfrmAbout::AddLabel(const char* name, int left, int top, int width) {
  auto* label = Make<ui::Label>(name, Panel2);
  label->SetBounds(left, top, width, 13);
  return label;
}

ui::BitBtn* TfrmAbout::AddNextButton(const char* name, ui::TabSheet* tab, const char* handler) {
  auto* button = Make<ui::BitBtn>(name, tab);
  button->SetCaption("Weiter");
  button->SetBounds(352, 304, 75, 25);
  ui::TFont bold = button->Font();
  bold.Bold = true;
  button->SetFont(bold);
  button->SetGlyph(NextGlyph());
  button->OnClick.Bind(handler);
  return button;
}

ui::Memo* TfrmAbout::AddTermsMemo(const char* name, ui::TabSheet* tab, std::vector<std::string> lines) {
  auto* memo = Make<ui::Memo>(name, tab);
  memo->SetBounds(16, 16, 417, 273);
  memo->SetReadOnly(true);
  memo->SetLines(std::move(lines));
  return memo;
}

void TfrmAbout::PublishHandlers(ui::HandlerTable& table) {
  Publish(table, "FormCreate", &TfrmAbout::FormCreate);
  Publish(table, "FormClose", &TfrmAbout::FormClose);
  Publish(table, "BitBtnNextTo2Click", &TfrmAbout::BitBtnNextTo2Click);
  Publish(table, "BitBtnNextTo3Click", &TfrmAbout::BitBtnNextTo3Click);
  Publish(table, "BitBtnNextTo1Click", &TfrmAbout::BitBtnNextTo1Click);
  Publish(table, "LabelURLClick", &TfrmAbout::LabelURLClick);
  Publish(table, "LabelMailToClick", &TfrmAbout::LabelMailToClick);
  Publish(table, "OKButtonClick", &TfrmAbout::OKButtonClick);
}

void TfrmAbout::FormCreate(ui::Component& /*sender*/) {
  PageControl1->SetActivePage(TabSheet1);
  SetCaption(std::string("Info über ") + kProgramName);
  LabelAppName->SetCaption(std::string(kProgramName) + " - " + kProgramKind);
  LabelVersion->SetCaption(kProgramVersion);
  LabelTimestamp->SetCaption(kProgramDate);
  LabelCopyright->SetCaption(kCopyright);
  LabelURL->SetCaption(kWebAddress);
  LabelMailTo->SetCaption(kMailAddress);
}

void TfrmAbout::FormClose(ui::Component& /*sender*/, ui::TCloseAction& action) {
  action = ui::caFree;
  frmAbout = nullptr;
}

void TfrmAbout::BitBtnNextTo2Click(ui::Component& /*sender*/) { PageControl1->SetActivePage(TabSheet2); }
void TfrmAbout::BitBtnNextTo3Click(ui::Component& /*sender*/) { PageControl1->SetActivePage(TabSheet3); }
void TfrmAbout::BitBtnNextTo1Click(ui::Component& /*sender*/) { PageControl1->SetActivePage(TabSheet1); }

// The shell's answer is not looked at: without a browser or mail program nothing happens.
void TfrmAbout::LabelURLClick(ui::Component& /*sender*/) { platform::ShellOpen(kWebAddress); }
void TfrmAbout::LabelMailToClick(ui::Component& /*sender*/) {
  platform::ShellOpen(std::string("mailto:") + kMailAddress);
}

void TfrmAbout::OKButtonClick(ui::Component& /*sender*/) { Close(); }

}  // namespace tolv
