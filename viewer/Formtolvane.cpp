// The viewer window's life, and the timer that turns the data thread's hand-overs into drawing
// on the window thread.
#include "viewer/Formtolvane.h"

#include "render/RenderingSetup.h"
#include "ui/Dialogs.h"
#include "viewer/Reveal.h"

namespace tolv {

using platform::MutexLock;

// The construction itself is the layout's (FormtolvaneLayout.cpp); this is the other end.
TFormTolv::~TFormTolv() { WithdrawFormTolv(this, true); }

void TFormTolv::PublishHandlers(ui::HandlerTable& table) {
  Publish(table, "FormCreate", &TFormTolv::FormCreate);
  Publish(table, "FormClose", &TFormTolv::FormClose);
  Publish(table, "FormDestroy", &TFormTolv::FormDestroy);
  Publish(table, "Timer1Timer", &TFormTolv::Timer1Timer);
  Publish(table, "PaintBox1Paint", &TFormTolv::PaintBox1Paint);
  Publish(table, "FormKeyDown", &TFormTolv::FormKeyDown);
  Publish(table, "PaintBox1MouseDown", &TFormTolv::PaintBox1MouseDown);
  Publish(table, "mnPauseClick", &TFormTolv::mnPauseClick);
  Publish(table, "SpeedButtonPauseClick", &TFormTolv::SpeedButtonPauseClick);
  Publish(table, "mnRevealClick", &TFormTolv::mnRevealClick);
  Publish(table, "SpeedButtonRevealClick", &TFormTolv::SpeedButtonRevealClick);
  Publish(table, "mnClearMemClick", &TFormTolv::mnClearMemClick);
  Publish(table, "mnPrinterSetupClick", &TFormTolv::mnPrinterSetupClick);
  Publish(table, "mnCloseAppClick", &TFormTolv::mnCloseAppClick);
  Publish(table, "mnAboutClick", &TFormTolv::mnAboutClick);
  Publish(table, "SpeedButton4Click", &TFormTolv::SpeedButton4Click);
  Publish(table, "mnCopyAsTextClick", &TFormTolv::mnCopyAsTextClick);
  Publish(table, "mnCopyAsGraphicClick", &TFormTolv::mnCopyAsGraphicClick);
  Publish(table, "mnSaveActClick", &TFormTolv::mnSaveActClick);
  Publish(table, "mnSaveSubpagesClick", &TFormTolv::mnSaveSubpagesClick);
  Publish(table, "mnSaveAllPagesClick", &TFormTolv::mnSaveAllPagesClick);
  Publish(table, "mnPrintActClick", &TFormTolv::mnPrintActClick);
  Publish(table, "mnPrintSubpagesClick", &TFormTolv::mnPrintSubpagesClick);
  Publish(table, "mnPrintAllPagesClick", &TFormTolv::mnPrintAllPagesClick);
  Publish(table, "mnPrintBackgroundClick", &TFormTolv::mnPrintBackgroundClick);
}

void TFormTolv::FormCreate(ui::Component& /*sender*/) {
  HandOver.OnPageRedrawRequested = [this] { Timer1->TickSoon(); };
  PanelDebugInfo->SetVisible(false);
  const auto& pages = PageControl1->Pages();
  for (std::size_t i = 1; i < pages.size(); ++i) pages[i]->SetTabVisible(false);
  SpeedButton4->SetVisible(false);
  SetCaption(kWindowCaption);

  HandOver.Open();

  Render.PaintBoxWidth = PaintBox1->Width();  // once: resizing does not move the page
  if (!SetUpRendering(Render)) {
    ui::ShowMessageBox(kFontInstallFailedText, kFontInstallFailedCaption, ui::MessageButtons::Ok);
  }

  Paused.store(false, std::memory_order_relaxed);
  SearchPage.store(100, std::memory_order_relaxed);
  EntryCount = 0;
  EntryDigits = {'1', '0', '0'};
  ShownPage.store(kNoPage, std::memory_order_relaxed);
  ShownSubcode.store(0, std::memory_order_relaxed);
  UpdateShowPanel();
  // Reveal belongs to the library and outlives windows: a new window shows where it stands.
  UpdateRevealControls();
  std::uint16_t enter = ui::vk::Return;
  FormKeyDown(*this, enter, {});
}

void TFormTolv::FormClose(ui::Component& /*sender*/, ui::TCloseAction& action) {
  action = ui::caFree;
  WithdrawFormTolv(this, false);  // from now on the data thread and channel changes find no window
}

void TFormTolv::FormDestroy(ui::Component& /*sender*/) {
  // A hand-over or channel change that got hold of the window before FormClose finishes first:
  // the mutexes and the memory it works on must outlive it.
  WithdrawFormTolv(this, true);
  RemoveRenderingFonts();
  HandOver.Close();
  FreeRenderingBitmap(Render);
}

// Every request made since the last tick costs one drawing, however many hand-overs came.
void TFormTolv::Timer1Timer(ui::Component& /*sender*/) {
  if (FilterWanted.exchange(false, std::memory_order_relaxed) && OnFilterWanted) OnFilterWanted();
  if (HandOver.TakePageRedraw()) {
    UpdateShowPanel();
    PaintDisplayPage();
    HeaderLive.store(true, std::memory_order_relaxed);
  }
  if (HandOver.TakeHeaderRedraw()) DrawHeaderRow();
}

void TFormTolv::PaintBox1Paint(ui::Component& /*sender*/) { PaintDisplayPage(); }

RenderWindow& TFormTolv::PrepareRender() {
  Render.PaintBox = PaintBox1->Canvas();
  Render.DisplayPage = &DisplayPage;
  return Render;
}

void TFormTolv::PaintDisplayPage() {
  const MutexLock data(PageDataMutex);
  if (data) PaintPage(PrepareRender(), GetReveal());
}

void TFormTolv::DrawHeaderRow() {
  const MutexLock data(PageDataMutex);
  if (data) DrawRow(PrepareRender(), &DisplayPage, 0, GetReveal());
}

}  // namespace tolv
