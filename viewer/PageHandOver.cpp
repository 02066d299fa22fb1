// The hand-overs between the data thread, the channel change and the window thread.
#include "viewer/PageHandOver.h"

#include <thread>

namespace tolv {

using platform::MutexLock;

void PageHandOver::Open() {
  PageDataMutex = platform::NamedMutex::Open(kPageDataMutexName);
  RedrawMutex = platform::NamedMutex::Open(kRedrawMutexName);
  PageRedrawPending.store(false, std::memory_order_relaxed);
  HeaderRedrawPending.store(false, std::memory_order_relaxed);
  HeaderLive.store(false, std::memory_order_relaxed);
}

void PageHandOver::Close() {
  PageDataMutex.Close();
  RedrawMutex.Close();
}

bool PageHandOver::LockPageData() { return PageDataMutex.Lock() == platform::WaitResult::Acquired; }

void PageHandOver::UnlockPageData() { PageDataMutex.Unlock(); }

void PageHandOver::SetBusyPage(std::uint16_t number) { busyPage_.store(number, std::memory_order_relaxed); }

void PageHandOver::ClearBusyPage() {
  const MutexLock data(PageDataMutex);
  // Even when the wait failed the mark must go: a hand-over of this number and a channel change
  // wait for it, and would wait for ever. The copy it protected is complete.
  busyPage_.store(kNoPage, std::memory_order_relaxed);
}

// Data thread, PageDataMutex held by the caller.
void PageHandOver::ReceivePage(CVTPage& page) {
  if (page.Number() != SearchPage.load(std::memory_order_relaxed)) return;
  if (Paused.load(std::memory_order_relaxed) && page.GetSubcode() != ShownSubcode.load(std::memory_order_relaxed)) {
    return;
  }
  if (BusyPage() != kNoPage) return;  // the window thread is putting another page on screen
  DisplayPage.CopyFrom(&page);
  ShownPage.store(DisplayPage.Number(), std::memory_order_relaxed);
  ShownSubcode.store(DisplayPage.GetSubcode(), std::memory_order_relaxed);
  const MutexLock redraw(RedrawMutex);
  if (!redraw) return;
  PageRedrawPending.store(true, std::memory_order_relaxed);
  // The searched page goes on screen at once, not at the next period: the window asks for its
  // tick's redraw as soon as its thread gets to it (a request that never blocks).
  if (OnPageRedrawRequested) OnPageRedrawRequested();
}

// Data thread, no lock held on entry.
void PageHandOver::ReceiveHeader(std::uint8_t* row) {
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

bool PageHandOver::ClearMemoryForChannelChange() {
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

CVTPage* PageHandOver::FetchForShow(std::uint16_t number, std::uint16_t subcode, TGetMode mode, bool fromShown) {
  const MutexLock data(PageDataMutex);
  if (!data) return nullptr;
  // The data thread writes DisplayPage under this lock, so its subcode is read under it too.
  if (fromShown) subcode = DisplayPage.GetSubcode();
  CVTPage* found = allPages_.GetPage(number, subcode, mode);
  if (found != nullptr) SetBusyPage(found->Number());
  return found;
}

// While the record is busy the data thread leaves DisplayPage alone, so a page redraw still
// requested now is for a stream page this copy has replaced: answered at the next tick, it would
// take the page from memory for a live one and let headers paint their clock over its own.
void PageHandOver::WithdrawPageRedraw() {
  const MutexLock redraw(RedrawMutex);
  if (redraw) PageRedrawPending.store(false, std::memory_order_relaxed);
}

namespace {

bool TakeRequest(platform::NamedMutex& redrawMutex, std::atomic<bool>& pending) {
  if (!pending.load(std::memory_order_relaxed)) return false;
  const MutexLock redraw(redrawMutex);
  if (!redraw) return false;
  pending.store(false, std::memory_order_relaxed);
  return true;
}

}  // namespace

bool PageHandOver::TakePageRedraw() { return TakeRequest(RedrawMutex, PageRedrawPending); }

bool PageHandOver::TakeHeaderRedraw() { return TakeRequest(RedrawMutex, HeaderRedrawPending); }

}  // namespace tolv
