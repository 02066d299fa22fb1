// The viewer window's life, the data thread's hand-overs into it, and the timer that turns
// those hand-overs into drawing on the window thread.
#include "viewer/Formtolvane.h"

#include <thread>

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
  PanelDebugInfo->SetVisible(false);
  const auto& pages = PageControl1->Pages();
  for (std::size_t i = 1; i < pages.size(); ++i) pages[i]->SetTabVisible(false);
  SpeedButton4->SetVisible(false);
  SetCaption(kWindowCaption);

  PageDataMutex = platform::NamedMutex::Open(kPageDataMutexName);
  RedrawMutex = platform::NamedMutex::Open(kRedrawMutexName);
  PageRedrawPending.store(false, std::memory_order_relaxed);
  HeaderRedrawPending.store(false, std::memory_order_relaxed);
  HeaderLive.store(false, std::memory_order_relaxed);

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
  PageDataMutex.Close();
  RedrawMutex.Close();
  FreeRenderingBitmap(Render);
}

bool TFormTolv::LockPageData() { return PageDataMutex.Lock() == platform::WaitResult::Acquired; }

void TFormTolv::UnlockPageData() { PageDataMutex.Unlock(); }

void TFormTolv::SetBusyPage(std::uint16_t number) { busyPage_.store(number, std::memory_order_relaxed); }

void TFormTolv::ClearBusyPage() {
  const MutexLock data(PageDataMutex);
  // Even when the wait failed the mark must go: a hand-over of this number and a channel change
  // wait for it, and would wait for ever. The copy it protected is complete.
  busyPage_.store(kNoPage, std::memory_order_relaxed);
}

// Data thread, PageDataMutex held by the caller.
void TFormTolv::ReceivePage(CVTPage& page) {
  if (page.Number() != SearchPage.load(std::memory_order_relaxed)) return;
  if (Paused.load(std::memory_order_relaxed) && page.GetSubcode() != ShownSubcode.load(std::memory_order_relaxed)) {
    return;
  }
  if (BusyPage() != kNoPage) return;  // the window thread is putting another page on screen
  DisplayPage.CopyFrom(&page);
  ShownPage.store(DisplayPage.Number(), std::memory_order_relaxed);
  ShownSubcode.store(DisplayPage.GetSubcode(), std::memory_order_relaxed);
  const MutexLock redraw(RedrawMutex);
  if (redraw) PageRedrawPending.store(true, std::memory_order_relaxed);
}

// Data thread, no lock held on entry.
void TFormTolv::ReceiveHeader(std::uint8_t* row) {
  constexpr std::uint8_t kAlphaGreen = 0x02;
  constexpr std::uint8_t kClockColumn = 24;
  MutexLock data(PageDataMutex);
  if (!data || BusyPage() != kNoPage) return;  // this header is dropped; the next one comes soon
  if (SearchPage.load(std::memory_order_relaxed) != ShownPage.load(std::memory_order_relaxed)) {
    // Searching: every passing header runs through row 0, green from column 8 on.
    const std::uint8_t saved = row[7];
    row[7] = kAlphaGreen;
    DisplayPage.SetRow(0, row, 0);
    row[7] = saved;
  } else if (!Paused.load(std::memory_order_relaxed) && HeaderLive.load(std::memory_order_relaxed)) {
    DisplayPage.SetRow(0, row, kClockColumn);
  } else {
    return;
  }
  data.Release();
  const MutexLock redraw(RedrawMutex);
  if (redraw) HeaderRedrawPending.store(true, std::memory_order_relaxed);
}

bool TFormTolv::ClearMemoryForChannelChange() {
  for (;;) {
    MutexLock data(PageDataMutex);
    if (!data) return false;
    if (BusyPage() == kNoPage) {
      allPages_.Clear();
      return true;
    }
    data.Release();
    std::this_thread::yield();  // the window thread is copying; it clears the mark right after
  }
}

// Every request made since the last tick costs one drawing, however many hand-overs came.
void TFormTolv::Timer1Timer(ui::Component& /*sender*/) {
  if (PageRedrawPending.load(std::memory_order_relaxed)) {
    MutexLock redraw(RedrawMutex);
    if (redraw) {
      PageRedrawPending.store(false, std::memory_order_relaxed);
      redraw.Release();  // never wait for PageDataMutex while holding RedrawMutex
      UpdateShowPanel();
      PaintDisplayPage();
      HeaderLive.store(true, std::memory_order_relaxed);
    }
  }
  if (HeaderRedrawPending.load(std::memory_order_relaxed)) {
    MutexLock redraw(RedrawMutex);
    if (redraw) {
      HeaderRedrawPending.store(false, std::memory_order_relaxed);
      redraw.Release();
      DrawHeaderRow();
    }
  }
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
