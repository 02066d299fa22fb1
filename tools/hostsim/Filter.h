// One PID filter of the host: a data thread that hands the recording's data fields for the PID
// to the plug-in's data callback, paced by their times or as fast as it can.
//
// Stopping only signals the thread: the stop command may come from inside the data callback,
// on the data thread itself, by a SendMessage that the window thread answers. Whoever waits for
// the thread to end must keep pumping messages (WaitPumping).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "tools/hostsim/Feed.h"
#include "tools/hostsim/HostLog.h"
#include "tools/hostsim/Plugin.h"

namespace tolv::hostsim {

struct Pacing {
  bool Fast = false;   // no waiting between calls
  double Speed = 1.0;  // times divided by this
  bool Loop = false;   // start over at the end of the recording
};

class Filter {
 public:
  Filter(std::uint32_t id, std::uint16_t pid, DataCallback callback, const Feed& feed, Pacing pacing, HostLog& log);
  ~Filter();  // only once the thread has ended
  Filter(const Filter&) = delete;
  Filter& operator=(const Filter&) = delete;

  bool Start();
  void RequestStop() { SetEvent(stop_); }
  bool StopRequested() const { return WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0; }

  HANDLE Thread() const { return thread_; }
  bool Ended() const { return thread_ == nullptr || WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; }
  // Stopped, or through the whole recording at least once.
  bool Idle() const { return passes_.load() > 0 || Ended(); }

  std::uint32_t Id() const { return id_; }
  std::uint16_t Pid() const { return pid_; }
  std::uint64_t Calls() const { return calls_.load(); }
  // The performance counter when the thread started, in microseconds: call k of a paced filter
  // comes no earlier than this plus its time divided by the speed.
  std::int64_t StartMicroseconds() const { return startMicros_.load(); }
  const Feed& FeedData() const { return feed_; }
  // The performance counter in microseconds just before the data callback got call k (of the
  // latest pass); 0 while it has not come. Read on any thread.
  std::int64_t DeliveredAt(std::size_t call) const {
    return call < feed_.Calls.size() ? deliveredAt_[call].load(std::memory_order_acquire) : 0;
  }

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();
  // False when the stop came first.
  bool WaitUntil(std::int64_t micros) const;

  std::uint32_t id_;
  std::uint16_t pid_;
  DataCallback callback_;
  const Feed& feed_;
  Pacing pacing_;
  HostLog& log_;
  HANDLE stop_;
  HANDLE thread_ = nullptr;
  std::atomic<std::uint64_t> calls_{0};
  std::atomic<std::uint64_t> passes_{0};
  std::atomic<std::int64_t> startMicros_{0};
  std::unique_ptr<std::atomic<std::int64_t>[]> deliveredAt_;
};

// Waits for handle while dispatching every message of the calling thread; false on time-out.
bool WaitPumping(HANDLE handle, DWORD timeoutMs = INFINITE);
// Dispatches the calling thread's messages until done holds; false after timeoutMs.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace tolv::hostsim
