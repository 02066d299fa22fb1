// Unit FormAbout: the about dialog, with the program's name, version and the maker's links on
// its first tab and the terms of use and of distribution on the other two.
//
// Opened modally through Application().CreateForm(frmAbout), from the viewer's "Hilfe" menu
// and from the host's menu; it frees itself when closed and clears frmAbout.
#pragma once

#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PageControl.h"

namespace tolv {

class TfrmAbout : public ui::Form {
 public:
  TfrmAbout();

  ui::Button* OKButton;
  ui::PageControl* PageControl1;
  ui::TabSheet* TabSheet1;
  ui::Panel* Panel2;
  ui::Image* ProgramIcon;
  ui::Label* LabelAppName;
  ui::Label* LabelVersion;
  ui::Label* LabelTimestamp;
  ui::Label* LabelCopyright;
  ui::Label* LabelURL;
  ui::Label* LabelMailTo;
  ui::BitBtn* BitBtnNextTo2;
  ui::TabSheet* TabSheet2;
  ui::Memo* Memo1;
  ui::BitBtn* BitBtnNextTo3;
  ui::TabSheet* TabSheet3;
  ui::Memo* Memo2;
  ui::BitBtn* BitBtnNextTo1;

  void FormCreate(ui::Component& sender);
  void FormClose(ui::Component& sender, ui::TCloseAction& action);
  void BitBtnNextTo2Click(ui::Component& sender);
  void BitBtnNextTo3Click(ui::Component& sender);
  void BitBtnNextTo1Click(ui::Component& sender);
  void LabelURLClick(ui::Component& sender);
  void LabelMailToClick(ui::Component& sender);
  void OKButtonClick(ui::Component& sender);

 protected:
  void PublishHandlers(ui::HandlerTable& table) override;

 private:
  ui::TabSheet* AddTab(const char* name, const char* caption);
  ui::Label* AddLabel(const char* name, int left, int top, int width);
  ui::BitBtn* AddNextButton(const char* name, ui::TabSheet* tab, const char* handler);
  ui::Memo* AddTermsMemo(const char* name, ui::TabSheet* tab, std::vector<std::string> lines);
};

// The open about dialog, null when none is open.
extern TfrmAbout* frmAbout;

// The terms shown on the second and third tab.
std::vector<std::string> TermsOfUse();
std::vector<std::string> TermsOfDistribution();

}  // namespace tolv
