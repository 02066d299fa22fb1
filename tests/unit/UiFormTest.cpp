// Forms: event binding by name, creation, key dispatch, closing, freeing and modal dialogs, on
// the headless back end.
#include "ui/Form.h"

#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Menu.h"
#include "ui/Timer.h"
#include "ui/headless/Driver.h"

namespace tolv::ui {
namespace {

using headless::Click;
using headless::CloseBox;
using headless::PressKey;

// Outlives the forms it records, so freeing can be observed.
std::vector<std::string> journal;

class ProbeForm;
ProbeForm* probeForm = nullptr;

class ProbeForm : public Form {
 public:
  ProbeForm() : Form("ProbeForm") {
    auto* menu = Make<MainMenu>("Menu");
    SetMenu(menu);
    auto* file = Make<MenuItem>("mnFile", *menu, nullptr);
    file->SetCaption("&Datei");
    Make<MenuItem>("mnRun", *menu, file)->SetShortCut(CtrlKey('R'));
    FindItem("mnRun")->OnClick.Bind("RunClick");
    auto* idle = Make<MenuItem>("mnIdle", *menu, file);
    idle->SetShortCut(CtrlKey('O'));
    idle->SetEnabled(false);
    idle->OnClick.Bind("RunClick");
    auto* locked = Make<MenuItem>("mnLocked", *menu, nullptr);
    locked->SetEnabled(false);
    auto* inside = Make<MenuItem>("mnInside", *menu, locked);
    inside->SetShortCut(CtrlKey('I'));
    inside->OnClick.Bind("RunClick");
    Make<MenuItem>("mnQuit", *menu, file)->OnClick.Bind("QuitClick");

    auto* ok = Make<Button>("OkButton", this);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ok->SetBounds(10, 10, 75, 25);
    ok->OnClick.Bind("OkClick");
    auto* lost = Make<Button>("LostButton", this);
    lost->OnClick.Bind("NoSuchHandler");
    auto* mixedUp = Make<Button>("MixedUpButton", this);
    mixedUp->OnClick.Bind("FormKeyDown");  // a key handler cannot answer a click
    auto* timer = Make<Timer>("Timer");
    timer->SetInterval(100);
    timer->OnTimer.Bind("TimerTick");

    SetKeyPreview(true);
    OnCreate.Bind("FormCreate");
    OnClose.Bind("FormClose");
    OnDestroy.Bind("FormDestroy");
    OnKeyDown.Bind("FormKeyDown");
  }

  MenuItem* FindItem(std::string_view name) const { return static_cast<MenuItem*>(FindComponent(name)); }

  TCloseAction closeAction = caFree;
  std::vector<TCloseAction> laterCloseActions;  // used by the closes after the first
  bool consumeKeys = false;

  void FormCreate(Component& sender) {
    journal.push_back("FormCreate " + sender.Name() + (probeForm == this ? " stored" : " not stored"));
  }
  void FormClose(Component&, TCloseAction& action) {
    journal.push_back("FormClose");
    action = closeAction;
    if (!laterCloseActions.empty()) {
      closeAction = laterCloseActions.front();
      laterCloseActions.erase(laterCloseActions.begin());
    }
  }
  void FormDestroy(Component&) { journal.push_back("FormDestroy"); }
  void FormKeyDown(Component&, std::uint16_t& key, TShiftState shift) {
    journal.push_back("FormKeyDown " + std::to_string(key) + (shift.Contains(ssCtrl) ? " ctrl" : ""));
    if (consumeKeys) key = 0;
  }
  void RunClick(Component& sender) { journal.push_back("RunClick " + sender.Name()); }
  void QuitClick(Component&) {
    Close();
    journal.push_back("after Close: " + Name());  // the form must outlive its own handler
  }
  void OkClick(Component&) { journal.push_back("OkClick"); }
  void TimerTick(Component&) { journal.push_back("TimerTick"); }

 protected:
  void PublishHandlers(HandlerTable& table) override {
    Publish(table, "FormCreate", &ProbeForm::FormCreate);
    Publish(table, "FormClose", &ProbeForm::FormClose);
    Publish(table, "FormDestroy", &ProbeForm::FormDestroy);
    Publish(table, "FormKeyDown", &ProbeForm::FormKeyDown);
    Publish(table, "RunClick", &ProbeForm::RunClick);
    Publish(table, "QuitClick", &ProbeForm::QuitClick);
    Publish(table, "OkClick", &ProbeForm::OkClick);
    Publish(table, "TimerTick", &ProbeForm::TimerTick);
  }
};

class UiForm : public ::testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    Application().CreateForm(probeForm);
    form = probeForm;
    form->Show();
    journal.clear();
  }
  headless::Session session;
  ProbeForm* form = nullptr;
};

TEST_F(UiForm, CreationStoresTheReferenceBeforeOnCreateRuns) {
  ProbeForm* second = nullptr;
  journal.clear();
  Application().CreateForm(probeForm);
  second = probeForm;
  EXPECT_EQ(journal, (std::vector<std::string>{"FormCreate ProbeForm stored"}));
  EXPECT_NE(second, form);
  EXPECT_EQ(Application().FormCount(), 2u);
}

TEST_F(UiForm, BoundNamesReachThePublishedMethods) {
  EXPECT_TRUE(Click(*form, "mnRun"));
  headless::TickTimers(*form);
  EXPECT_EQ(journal, (std::vector<std::string>{"RunClick mnRun", "TimerTick"}));
}

TEST_F(UiForm, NamesWithoutAMethodOfTheirSignatureStaySilentAndAreListed) {
  EXPECT_EQ(form->UnresolvedHandlers(), (std::vector<std::string>{"NoSuchHandler", "FormKeyDown"}));
  EXPECT_TRUE(Click(*form, "LostButton"));
  EXPECT_TRUE(Click(*form, "MixedUpButton"));
  EXPECT_TRUE(journal.empty());
}

TEST_F(UiForm, ShortcutOfAReachableItemRunsItInsteadOfTheKeyPreview) {
  EXPECT_TRUE(PressKey(*form, 'R', ssCtrl));
  EXPECT_EQ(journal, (std::vector<std::string>{"RunClick mnRun"}));
}

TEST_F(UiForm, ShortcutOfAnItemTheUserCannotChooseFallsThroughToTheKeyPreview) {
  EXPECT_FALSE(PressKey(*form, 'O', ssCtrl));  // the item is disabled
  EXPECT_FALSE(PressKey(*form, 'I', ssCtrl));  // its menu is disabled
  EXPECT_FALSE(PressKey(*form, 'R'));          // without Ctrl it is a plain key
  EXPECT_EQ(journal, (std::vector<std::string>{"FormKeyDown 79 ctrl", "FormKeyDown 73 ctrl", "FormKeyDown 82"}));
}

TEST_F(UiForm, EnterClicksTheDefaultButtonUnlessTheKeyPreviewConsumesIt) {
  EXPECT_TRUE(PressKey(*form, vk::Return));
  EXPECT_EQ(journal, (std::vector<std::string>{"FormKeyDown 13", "OkClick"}));
  journal.clear();
  form->consumeKeys = true;
  EXPECT_TRUE(PressKey(*form, vk::Return));
  EXPECT_EQ(journal, (std::vector<std::string>{"FormKeyDown 13"}));
}

TEST_F(UiForm, WithoutKeyPreviewTheFormHandlerSeesNoKeys) {
  form->SetKeyPreview(false);
  EXPECT_FALSE(PressKey(*form, 'A'));
  EXPECT_TRUE(journal.empty());
}

TEST_F(UiForm, CloseWithFreeActionFreesTheFormAfterTheEvent) {
  EXPECT_TRUE(Click(*form, "mnQuit"));
  EXPECT_EQ(journal, (std::vector<std::string>{"FormClose", "after Close: ProbeForm", "FormDestroy"}));
  EXPECT_FALSE(Application().Owns(form));
}

TEST_F(UiForm, CloseActionsHideOrKeepTheForm) {
  form->closeAction = caHide;
  CloseBox(*form);
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(Application().Owns(form));
  form->Show();
  form->closeAction = caNone;
  CloseBox(*form);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(journal, (std::vector<std::string>{"FormClose", "FormClose"}));
}

TEST_F(UiForm, FreeingRunsOnDestroyOnce) {
  Application().Free(*form);
  Application().FreeAllForms();
  EXPECT_EQ(journal, (std::vector<std::string>{"FormDestroy"}));
  EXPECT_EQ(Application().FormCount(), 0u);
}

TEST_F(UiForm, ButtonWithAModalResultEndsTheDialogWithIt) {
  form->Hide();
  session.Backend().QueueModalScript([](Form& dialog) { Click(dialog, "OK"); });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->InModalLoop());
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(journal, (std::vector<std::string>{"OkClick", "FormClose"}));
  EXPECT_TRUE(Application().Owns(form));  // released, freed on the next turn of the loop
  Application().FreeReleasedForms();
  EXPECT_FALSE(Application().Owns(form));
}

TEST_F(UiForm, AReleasedDialogIsFreedOnlyAfterItsModalLoop) {
  form->Hide();
  form->closeAction = caHide;
  session.Backend().QueueModalScript([](Form& dialog) {
    dialog.Release();
    Application().FreeReleasedForms();
    EXPECT_TRUE(Application().Owns(&dialog));
    Click(dialog, "OK");
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  Application().FreeReleasedForms();
  EXPECT_FALSE(Application().Owns(form));
}

TEST_F(UiForm, CloseBoxEndsTheDialogWithCancel) {
  form->Hide();
  form->closeAction = caHide;
  session.Backend().QueueModalScript([](Form& dialog) { CloseBox(dialog); });
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(session.Backend().PendingModalScripts(), 0u);
  EXPECT_TRUE(Application().Owns(form));
}

TEST_F(UiForm, CloseActionNoneKeepsTheDialogOpenForTheNextStep) {
  form->Hide();
  form->closeAction = caNone;
  form->laterCloseActions = {caFree};
  session.Backend().QueueModalScript([](Form& dialog) { CloseBox(dialog); });
  session.Backend().QueueModalScript([](Form& dialog) { Click(dialog, "OK"); });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(journal, (std::vector<std::string>{"FormClose", "OkClick", "FormClose"}));
}

TEST_F(UiForm, AnUnscriptedDialogIsClosedByItsCloseBox) {
  form->Hide();
  form->closeAction = caNone;  // even a dialog that refuses cannot hang the test
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(journal, (std::vector<std::string>{"FormClose"}));
}

TEST_F(UiForm, MessageBoxesGiveTheQueuedAnswersThenTheirDefaults) {
  session.Backend().AnswerNextMessageBox(mrOk);
  EXPECT_EQ(ShowMessageBox("Frage?", "Bestätigung", MessageButtons::OkCancel), mrOk);
  EXPECT_EQ(ShowMessageBox("Frage?", "Bestätigung", MessageButtons::OkCancel), mrCancel);
  EXPECT_EQ(ShowMessageBox("Fehler!", "Fehler", MessageButtons::Ok), mrOk);
  const auto& shown = session.Backend().MessagesShown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2].Text, "Fehler!");
  EXPECT_EQ(shown[2].Caption, "Fehler");
  EXPECT_EQ(shown[2].Buttons, MessageButtons::Ok);
}

TEST_F(UiForm, PrinterSetupGivesTheQueuedAnswerThenCancel) {
  auto* dialog = form->Make<PrinterSetupDialog>("PrinterSetupDialog");
  session.Backend().AnswerNextPrinterSetup(true);
  EXPECT_TRUE(dialog->Execute());
  EXPECT_FALSE(dialog->Execute());
  EXPECT_EQ(session.Backend().PrinterSetupsShown(), 2);
}

TEST_F(UiForm, OnlyEnabledTimersTick) {
  auto* timer = static_cast<Timer*>(form->FindComponent("Timer"));
  timer->SetEnabled(false);
  headless::TickTimers(*form);
  EXPECT_TRUE(journal.empty());
  timer->SetEnabled(true);
  headless::TickTimers(*form);
  EXPECT_EQ(journal, (std::vector<std::string>{"TimerTick"}));
}

}  // namespace
}  // namespace tolv::ui
