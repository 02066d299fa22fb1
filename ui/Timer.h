// A timer that fires OnTimer every Interval milliseconds while enabled, on the window thread,
// and once more soon when another thread asks for it (TickSoon).
#pragma once

#include <atomic>

#include "ui/Component.h"

namespace tolv::ui {

// The peer of a timer that can wake the window thread: the Win32 back end posts a message. A
// back end without one (the headless one) leaves the request to its driver (RunTickRequests).
class TimerWakePeer : public ComponentPeer {
 public:
  // Any thread; never blocks.
  virtual void PostTick() = 0;
};

class Timer : public Component {
 public:
  Timer(Form* owner, std::string name) : Component(owner, std::move(name)) {}

  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  Event<TNotifyEvent> OnTimer;
  // One period has passed; the back ends call it.
  void Tick() {
    if (enabled_ && interval_ > 0) OnTimer(*this);
  }
  // Any thread, never blocks and never waits for the window thread: OnTimer runs once more on
  // the window thread as soon as it gets to it, ahead of the next period. Requests made before
  // that extra tick runs merge into it. The peer is attached before other threads see the timer.
  void TickSoon() {
    if (tickRequested_.exchange(true, std::memory_order_acq_rel)) return;  // one is on its way
    if (auto* peer = dynamic_cast<TimerWakePeer*>(Peer())) peer->PostTick();
  }
  // Window thread: the extra tick asked for, if any; the back ends call it, then Tick.
  bool TakeTickRequest() { return tickRequested_.exchange(false, std::memory_order_acq_rel); }

  void ResolveEvents(const HandlerTable& table, std::vector<std::string>& unresolved) override {
    OnTimer.Resolve(table, unresolved);
  }

 private:
  unsigned interval_ = 1000;
  bool enabled_ = true;
  std::atomic<bool> tickRequested_{false};
};

inline void Timer::SetInterval(unsigned milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Changed(Property::Interval);
}

inline void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Property::Interval);
}

}  // namespace tolv::ui
