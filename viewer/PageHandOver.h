// The page data the viewer window shares with the host's other threads, and the protocol by
// which they share it. No window in it: the window owns one (TFormTolv::HandOver); the data
// thread reaches it as the magazine assembly's ReceptionTarget, and the channel change clears
// its memory. Both come through a hold on the window (FormTolvUse), which keeps it alive.
//
// PageDataMutex guards the page memory, the busy page, every write into DisplayPage from the
// data thread and every drawing of it; RedrawMutex guards the two redraw requests. The order is
// PageDataMutex before RedrawMutex. Values the data thread reads without a lock are atomics with
// relaxed order; everything else belongs to the window thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "decoder/MagazineAssembly.h"
#include "pages/Lop.h"
#include "platform/NamedMutex.h"

namespace tolv {

inline constexpr char kPageDataMutexName[] = "TOLVANE_240104";
inline constexpr char kRedrawMutexName[] = "TOLVANE_200504";

class PageHandOver : public ReceptionTarget {
 public:
  // The window's creation: opens both mutexes and clears the redraw requests and HeaderLive.
  void Open();
  // The window's destruction, once no other thread holds it: closes both mutexes.
  void Close();

  platform::NamedMutex PageDataMutex;
  platform::NamedMutex RedrawMutex;
  // Set and cleared under RedrawMutex; the timer peeks at them without it.
  std::atomic<bool> PageRedrawPending{false};
  std::atomic<bool> HeaderRedrawPending{false};
  // Called by the data thread, both mutexes held, after a page redraw was requested: must not
  // block nor wait for the window thread (the window posts itself an early tick).
  std::function<void()> OnPageRedrawRequested;
  // The page on screen: written by the data thread under PageDataMutex while no page is busy,
  // by the window thread while its page is busy (or under the mutex); drawn under the mutex.
  CVTPage DisplayPage;
  std::atomic<std::uint16_t> SearchPage{100};  // internal page numbers, kNoPage for none
  std::atomic<std::uint16_t> ShownPage{kNoPage};
  std::atomic<std::uint16_t> ShownSubcode{0};
  // DisplayPage came from the stream, so headers may refresh its clock.
  std::atomic<bool> HeaderLive{false};
  std::atomic<bool> Paused{false};

  // --- The data thread's side (ReceptionTarget); see MagazineAssembly.h.
  bool LockPageData() override;
  void UnlockPageData() override;
  std::uint16_t BusyPage() const override { return busyPage_.load(std::memory_order_relaxed); }
  CVTAllPages& AllPages() override { return allPages_; }
  void ReceivePage(CVTPage& page) override;
  void ReceiveHeader(std::uint8_t* row) override;

  // The channel change's clearing of the page memory, on any thread: waits until no page is
  // busy. False when the wait on PageDataMutex failed; the memory then stays as it was.
  bool ClearMemoryForChannelChange();

  // --- The window thread's side.
  // The busy-page protocol: SetBusyPage with PageDataMutex held; ClearBusyPage takes it.
  void SetBusyPage(std::uint16_t number);
  void ClearBusyPage();
  // Fetches a record from the memory and marks it busy, under one hold of PageDataMutex; the
  // subcode is DisplayPage's when fromShown is set. Null when none (or the wait failed).
  CVTPage* FetchForShow(std::uint16_t number, std::uint16_t subcode, TGetMode mode, bool fromShown = false);
  // While a record is busy: a stream page's redraw request is obsolete.
  void WithdrawPageRedraw();
  // Each takes its redraw request: true when one was pending, and it is cleared now. RedrawMutex
  // is given back before the caller draws, so no one waits for PageDataMutex while holding it.
  bool TakePageRedraw();
  bool TakeHeaderRedraw();

 private:
  CVTAllPages allPages_;
  // The number of the record the window thread is copying into DisplayPage; kNoPage if none.
  // Written under PageDataMutex.
  std::atomic<std::uint16_t> busyPage_{kNoPage};
};

}  // namespace tolv
