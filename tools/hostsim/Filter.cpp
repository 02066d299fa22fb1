#include "tools/hostsim/Filter.h"

#include <algorithm>
#include <vector>

namespace tolv::hostsim {

Filter::Filter(std::uint32_t id, std::uint16_t pid, DataCallback callback, const Feed& feed, Pacing pacing,
               HostLog& log)
    : id_(id),
      pid_(pid),
      callback_(callback),
      feed_(feed),
      pacing_(pacing),
      log_(log),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      deliveredAt_(std::make_unique<std::atomic<std::int64_t>[]>(feed.Calls.size())) {
  if (pacing_.Speed <= 0) pacing_.Speed = 1.0;
}

Filter::~Filter() {
  if (thread_ != nullptr) CloseHandle(thread_);
  if (stop_ != nullptr) CloseHandle(stop_);
}

bool Filter::Start() {
  if (stop_ == nullptr) return false;
  startMicros_ = NowMicroseconds();
  thread_ = CreateThread(nullptr, 0, &Filter::ThreadMain, this, 0, nullptr);
  return thread_ != nullptr;
}

DWORD WINAPI Filter::ThreadMain(void* self) {
  static_cast<Filter*>(self)->Run();
  return 0;
}

bool Filter::WaitUntil(std::int64_t micros) const {
  // A wait may end a little before the counter says: wait again until it is really time, so a
  // call never comes early.
  for (;;) {
    const std::int64_t left = micros - NowMicroseconds();
    if (left <= 0) return !StopRequested();
    const auto ms = static_cast<DWORD>((left + 999) / 1000);
    if (WaitForSingleObject(stop_, ms) == WAIT_OBJECT_0) return false;
  }
}

void Filter::Run() {
  std::vector<std::uint8_t> buffer;  // the plug-in gets a copy it may not keep, as from a real filter
  std::int64_t passStart = 0;
  const std::int64_t start = startMicros_.load();
  for (;;) {
    for (const FeedCall& call : feed_.Calls) {
      const bool go =
          pacing_.Fast
              ? !StopRequested()
              : WaitUntil(start + static_cast<std::int64_t>((passStart + call.AtMicroseconds) / pacing_.Speed));
      if (!go) {
        log_.Add("filter %u: data thread ends on the stop signal after %llu calls", id_,
                 static_cast<unsigned long long>(calls_.load()));
        return;
      }
      buffer.assign(feed_.Bytes.begin() + static_cast<std::ptrdiff_t>(call.Offset),
                    feed_.Bytes.begin() + static_cast<std::ptrdiff_t>(call.Offset + call.Length));
      deliveredAt_[static_cast<std::size_t>(&call - feed_.Calls.data())].store(NowMicroseconds(),
                                                                               std::memory_order_release);
      callback_(id_, call.Length, buffer.data());
      ++calls_;
    }
    ++passes_;
    if (!pacing_.Loop || feed_.Calls.empty()) break;
    passStart += feed_.Calls.back().AtMicroseconds + kFrameMicroseconds;
  }
  log_.Add("filter %u: data thread through the recording after %llu calls", id_,
           static_cast<unsigned long long>(calls_.load()));
}

bool WaitPumping(HANDLE handle, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  bool quit = false;
  int quitCode = 0;
  bool signalled = false;
  for (;;) {
    DWORD left = INFINITE;
    if (timeoutMs != INFINITE) {
      const DWORD spent = GetTickCount() - start;
      if (spent >= timeoutMs) break;
      left = timeoutMs - spent;
    }
    const DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) {
      signalled = true;
      break;
    }
    if (woke != WAIT_OBJECT_0 + 1) break;  // time-out or failure
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quit = true;
        quitCode = static_cast<int>(message.wParam);
        continue;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (quit) PostQuitMessage(quitCode);  // for the loop that owns it
  return signalled;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return true;
}

}  // namespace tolv::hostsim
