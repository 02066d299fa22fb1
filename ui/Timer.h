// A timer that fires OnTimer every Interval milliseconds while enabled, on the window thread.
#pragma once

#include "ui/Component.h"

namespace tolv::ui {

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
  void ResolveEvents(const HandlerTable& table, std::vector<std::string>& unresolved) override {
    OnTimer.Resolve(table, unresolved);
  }

 private:
  unsigned interval_ = 1000;
  bool enabled_ = true;
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
