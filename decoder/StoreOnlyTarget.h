// A reception target without a window: completed pages go into its own page memory and nowhere
// else. Command-line tools, benchmarks and tests feed recordings through it.
#pragma once

#include <atomic>
#include <mutex>

#include "decoder/MagazineAssembly.h"

namespace tolv {

class StoreOnlyTarget : public ReceptionTarget {
 public:
  bool LockPageData() override {
    mutex_.lock();
    return true;
  }
  void UnlockPageData() override { mutex_.unlock(); }
  std::uint16_t BusyPage() const override { return busyPage_.load(std::memory_order_relaxed); }
  CVTAllPages& AllPages() override { return allPages_; }
  void ReceivePage(CVTPage&) override {}
  void ReceiveHeader(std::uint8_t*) override {}

  void SetBusyPage(std::uint16_t number) { busyPage_.store(number, std::memory_order_relaxed); }

 private:
  std::mutex mutex_;
  std::atomic<std::uint16_t> busyPage_{kNoPage};
  CVTAllPages allPages_;
};

// Feeds buffers of data units through one assembly into one store, as the data callback does.
class Reception {
 public:
  void Receive(const std::uint8_t* data, std::int32_t length) {
    assembly_.Receive(data, length, target_, resetPending_);
  }
  CVTAllPages& AllPages() { return target_.AllPages(); }
  MagazineAssembly& Assembly() { return assembly_; }

 private:
  StoreOnlyTarget target_;
  MagazineAssembly assembly_;
  std::atomic<bool> resetPending_{true};
};

}  // namespace tolv
