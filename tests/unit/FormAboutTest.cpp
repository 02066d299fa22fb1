// The about dialog: layout, texts, tabs, links and every way of closing it.
#include "viewer/FormAbout.h"

#include <gtest/gtest.h>

#include "platform/portable/PortableServices.h"
#include "ui/Application.h"
#include "ui/headless/Driver.h"
#include "viewer/ProgramInfo.h"

namespace tolv {
namespace {

using ui::headless::Click;
using Headless = ui::headless::HeadlessBackend;

class FormAbout : public ::testing::Test {
 protected:
  void SetUp() override { platform::portable::ClearShellRequests(); }
  // Opens the dialog as both menus do and lets script act on it while it is shown.
  ui::TModalResult OpenAbout(const ui::headless::ModalScript& script) {
    session.Backend().QueueModalScript(script);
    ui::Application().CreateForm(frmAbout);
    const ui::TModalResult result = frmAbout != nullptr ? frmAbout->ShowModal() : ui::mrNone;
    ui::Application().FreeReleasedForms();  // the host's message loop goes on
    return result;
  }
  static TfrmAbout& Dialog(ui::Form& form) { return static_cast<TfrmAbout&>(form); }
  static std::string ActiveTab(ui::Form& form) { return Dialog(form).PageControl1->ActivePage()->Caption(); }

  ui::headless::Session session;
};

TEST_F(FormAbout, ShowsTheProgramsTextsOnTheVersionTab) {
  OpenAbout([](ui::Form& form) {
    TfrmAbout& dialog = Dialog(form);
    EXPECT_TRUE(dialog.UnresolvedHandlers().empty());
    EXPECT_EQ(dialog.Caption(), "Info über Tol-Vane DVB");
    EXPECT_EQ(dialog.LabelAppName->Caption(), "Tol-Vane DVB - Plugin für WatchTVPro");
    EXPECT_EQ(dialog.LabelVersion->Caption(), "0.4");
    EXPECT_EQ(dialog.LabelTimestamp->Caption(), "26.02.2006");
    EXPECT_NE(dialog.LabelCopyright->Caption().find("2004-2006"), std::string::npos);
    EXPECT_EQ(dialog.LabelURL->Caption(), kWebAddress);
    EXPECT_EQ(dialog.LabelMailTo->Caption(), kMailAddress);
    EXPECT_TRUE(dialog.LabelAppName->Font().Bold);
    EXPECT_EQ(dialog.LabelAppName->Font().Size, 10);
    for (ui::Label* link : {dialog.LabelURL, dialog.LabelMailTo}) {
      EXPECT_EQ(link->Font().Color, ui::clBlue);
      EXPECT_TRUE(link->Font().Underline);
      EXPECT_TRUE(link->WordWrap());
      EXPECT_EQ(link->Cursor(), ui::Cursor::HandPoint);
    }
    EXPECT_TRUE(dialog.ProgramIcon->Stretch());
    EXPECT_FALSE(dialog.ProgramIcon->Picture().Empty());
    dialog.OKButton->Click();
  });
}

TEST_F(FormAbout, TermsOfUseAndDistributionAreReadOnlyGermanTexts) {
  OpenAbout([](ui::Form& form) {
    TfrmAbout& dialog = Dialog(form);
    EXPECT_EQ(dialog.Memo1->Lines().size(), 16u);
    EXPECT_EQ(dialog.Memo2->Lines().size(), 11u);
    for (ui::Memo* memo : {dialog.Memo1, dialog.Memo2}) {
      EXPECT_TRUE(memo->ReadOnly());
      EXPECT_EQ(memo->Bounds(), (ui::TRect{16, 16, 417, 273}));
    }
    EXPECT_EQ(dialog.Memo1->Color(), ui::clBtnFace);
    dialog.OKButton->Click();
  });
}

TEST_F(FormAbout, LayoutAsDesigned) {
  OpenAbout([](ui::Form& form) {
    TfrmAbout& dialog = Dialog(form);
    EXPECT_EQ(dialog.ClientWidth(), 486);
    EXPECT_EQ(dialog.ClientHeight(), 441);
    const ui::TRect area = Headless::kWorkArea;
    EXPECT_EQ(dialog.Left(), (area.Width - dialog.Width()) / 2);  // centred on the screen
    EXPECT_EQ(dialog.Top(), (area.Height - dialog.Height()) / 2);
    EXPECT_EQ(dialog.OKButton->Bounds(), (ui::TRect{205, 404, 75, 25}));
    EXPECT_TRUE(dialog.OKButton->IsDefault());
    EXPECT_EQ(dialog.OKButton->ModalResult(), ui::mrOk);
    EXPECT_EQ(dialog.PageControl1->Bounds(), (ui::TRect{14, 16, 459, 369}));
    std::vector<std::string> tabs;
    for (ui::TabSheet* tab : dialog.PageControl1->Pages()) tabs.push_back(tab->Caption());
    EXPECT_EQ(tabs, (std::vector<std::string>{"Version", "Cardware", "Vervielfältigung"}));
    EXPECT_EQ(dialog.Panel2->Bounds(), (ui::TRect{16, 16, 417, 177}));
    EXPECT_EQ(dialog.ProgramIcon->Bounds(), (ui::TRect{32, 24, 65, 57}));
    for (ui::BitBtn* next : {dialog.BitBtnNextTo2, dialog.BitBtnNextTo3, dialog.BitBtnNextTo1}) {
      EXPECT_EQ(next->Caption(), "Weiter");
      EXPECT_EQ(next->Bounds(), (ui::TRect{352, 304, 75, 25}));
      EXPECT_TRUE(next->Font().Bold);
      EXPECT_FALSE(next->Glyph().Empty());
    }
    dialog.OKButton->Click();
  });
}

TEST_F(FormAbout, WeiterCyclesTheThreeTabs) {
  std::vector<std::string> seen;
  OpenAbout([&](ui::Form& dialog) {
    seen.push_back(ActiveTab(dialog));
    for (int i = 0; i < 3; ++i) {
      EXPECT_TRUE(Click(dialog, "Weiter"));
      seen.push_back(ActiveTab(dialog));
    }
    Click(dialog, "OK");
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"Version", "Cardware", "Vervielfältigung", "Version"}));
}

TEST_F(FormAbout, OpensOnTheVersionTabEveryTime) {
  OpenAbout([](ui::Form& dialog) {
    EXPECT_TRUE(ui::headless::SelectTab(dialog, "Vervielfältigung"));
    Click(dialog, "OK");
  });
  std::string firstTab;
  OpenAbout([&](ui::Form& dialog) {
    firstTab = ActiveTab(dialog);
    Click(dialog, "OK");
  });
  EXPECT_EQ(firstTab, "Version");
}

TEST_F(FormAbout, EveryWayOfClosingFreesTheDialogAndClearsItsReference) {
  const struct {
    const char* way;
    ui::headless::ModalScript close;
    ui::TModalResult result;
  } ways[] = {
      {"OK", [](ui::Form& d) { EXPECT_TRUE(Click(d, "OK")); }, ui::mrOk},
      {"Enter", [](ui::Form& d) { EXPECT_TRUE(ui::headless::PressKey(d, ui::vk::Return)); }, ui::mrOk},
      {"Enter on another tab",
       [](ui::Form& d) {
         Click(d, "Weiter");
         ui::headless::PressKey(d, ui::vk::Return);
       },
       ui::mrOk},
      {"close box", [](ui::Form& d) { ui::headless::CloseBox(d); }, ui::mrCancel},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    bool referenceSetWhileOpen = false;
    const ui::TModalResult result = OpenAbout([&](ui::Form& dialog) {
      referenceSetWhileOpen = frmAbout == &dialog;
      way.close(dialog);
    });
    EXPECT_TRUE(referenceSetWhileOpen);
    EXPECT_EQ(result, way.result);
    EXPECT_EQ(frmAbout, nullptr);
    EXPECT_EQ(ui::Application().FormCount(), 0u);
    EXPECT_EQ(session.Backend().PendingModalScripts(), 0u);
  }
}

TEST_F(FormAbout, LinkLabelsAskTheShellToOpenTheirTargets) {
  OpenAbout([](ui::Form& dialog) {
    EXPECT_TRUE(Click(dialog, "LabelURL"));
    EXPECT_TRUE(Click(dialog, "LabelMailTo"));
    Click(dialog, "OK");
  });
  EXPECT_EQ(platform::portable::ShellRequests(),
            (std::vector<std::string>{kWebAddress, std::string("mailto:") + kMailAddress}));
}

TEST_F(FormAbout, LinksAreOutOfReachOnTheOtherTabs) {
  OpenAbout([](ui::Form& dialog) {
    Click(dialog, "Weiter");
    EXPECT_FALSE(Click(dialog, "LabelURL"));
    Click(dialog, "OK");
  });
  EXPECT_TRUE(platform::portable::ShellRequests().empty());
}

TEST_F(FormAbout, AddressesAreThisProjectsOwn) {
  const std::string web = kWebAddress;
  const std::string mail = kMailAddress;
  EXPECT_EQ(web.rfind("http://", 0), 0u);
  EXPECT_NE(web.find(".example/"), std::string::npos);
  EXPECT_EQ(mail.substr(mail.size() - 8), ".example");
  EXPECT_NE(mail.find('@'), std::string::npos);
}

}  // namespace
}  // namespace tolv
