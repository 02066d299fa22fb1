// How the host's other threads reach the viewer window without outliving it.
//
// The window thread publishes the window in FormTolv and withdraws it in FormClose. Another
// thread takes a hold under a small lock: it sees the window only while it is published, and
// the window counts the holds. FormDestroy withdraws the window (should FormClose not have run)
// and waits, without spinning, until the count is back to 0; only then are the mutexes closed
// and the memory freed. A thread holding the window never waits for the window thread to pump
// messages (it waits only for PageDataMutex, RedrawMutex and a busy page, all of which the
// window thread gives back within one event), so the wait always ends.
#include <condition_variable>
#include <mutex>

#include "ui/Application.h"
#include "viewer/Formtolvane.h"

namespace tolv {

std::atomic<TFormTolv*> FormTolv{nullptr};

namespace {

struct Holds {
  std::mutex Lock;  // guards FormTolv's writes and every window's users_
  std::condition_variable Released;
};

Holds& TheHolds() {
  static Holds holds;
  return holds;
}

}  // namespace

TFormTolv* CreateFormTolv() {
  if (TFormTolv* open = FormTolv.load(std::memory_order_relaxed)) return open;
  auto* window = ui::Application().NewForm<TFormTolv>();
  // Published only once FormCreate is through, so no other thread sees a window half made.
  const std::lock_guard guard(TheHolds().Lock);
  FormTolv.store(window, std::memory_order_relaxed);
  return window;
}

FormTolvUse UseFormTolv() noexcept {
  try {
    const std::lock_guard guard(TheHolds().Lock);
    TFormTolv* window = FormTolv.load(std::memory_order_relaxed);
    if (window == nullptr) return {};
    ++window->users_;
    return FormTolvUse(window);
  } catch (...) {  // the lock could not be taken: as if no window were open
    return {};
  }
}

void FormTolvUse::Release() noexcept {
  TFormTolv* window = std::exchange(window_, nullptr);
  if (window == nullptr) return;
  Holds& holds = TheHolds();
  const std::lock_guard guard(holds.Lock);
  if (--window->users_ == 0) holds.Released.notify_all();
}

void WithdrawFormTolv(const TFormTolv* window, bool waitForUsers) {
  Holds& holds = TheHolds();
  std::unique_lock guard(holds.Lock);
  if (FormTolv.load(std::memory_order_relaxed) == window) FormTolv.store(nullptr, std::memory_order_relaxed);
  if (waitForUsers) holds.Released.wait(guard, [window] { return window->users_ == 0; });
}

ChannelClearing ClearMemoryForChannelChange() noexcept {
  const FormTolvUse window = UseFormTolv();
  if (!window) return ChannelClearing::kNoWindow;
  return window->HandOver.ClearMemoryForChannelChange() ? ChannelClearing::kCleared : ChannelClearing::kWaitFailed;
}

}  // namespace tolv
