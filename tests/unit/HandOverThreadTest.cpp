// The hand-over protocol between the data thread and the window thread, on real threads.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "RecordingTarget.h"

namespace tolv {
namespace {

using encode::HeaderUnit;
using encode::RowUnit;

bool Stored(test::RecordingTarget& target, unsigned number) {
  target.LockPageData();
  const bool found = target.AllPages().GetPage(number, 0, gmFirst) != nullptr;
  target.UnlockPageData();
  return found;
}

TEST(HandOver, WaitsWhileTheWindowCopiesThatPage) {
  test::Feed feed;
  feed.target.SetBusyPage(100);
  const auto page100 = encode::Join({HeaderUnit(100), RowUnit(1, 1, "X")});
  feed.Send(page100);
  std::atomic<bool> done{false};
  std::thread data([&] {
    feed.Send({HeaderUnit(101)});
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done) << "the data thread must hold page 100 back while it is busy";
  EXPECT_FALSE(Stored(feed.target, 100));
  feed.target.LockPageData();
  feed.target.SetBusyPage(kNoPage);
  feed.target.UnlockPageData();
  data.join();
  EXPECT_TRUE(Stored(feed.target, 100));
}

TEST(HandOver, OtherPagesPassWhileOneIsBusy) {
  test::Feed feed;
  feed.target.SetBusyPage(200);
  feed.Send({HeaderUnit(100), RowUnit(1, 1, "X"), HeaderUnit(101)});
  EXPECT_TRUE(Stored(feed.target, 100));
}

// A window thread that copies pages out of the memory under the busy-page protocol while the data
// thread files them: no copy ever sees a record being replaced (ThreadSanitizer watches).
TEST(HandOver, WindowCopiesRaceFreeWithReception) {
  test::Feed feed;
  std::vector<std::uint8_t> stream;
  for (unsigned i = 0; i < 2000; ++i) {
    const auto part = encode::Join(
        {HeaderUnit(100 + i % 3, i % 4), RowUnit(1, 1 + i % 23, "ROW"), RowUnit(2, 1, "M2"), HeaderUnit(200 + i % 2)});
    stream.insert(stream.end(), part.begin(), part.end());
  }
  std::atomic<bool> stop{false};
  std::thread window([&] {
    CVTPage display;
    unsigned copies = 0;
    while (!stop || copies == 0) {
      feed.target.LockPageData();
      CVTPage* page = feed.target.AllPages().GetPage(100 + copies % 3, 0, gmFirst);
      if (page != nullptr) feed.target.SetBusyPage(page->Number());
      feed.target.UnlockPageData();
      if (page == nullptr) continue;
      display.CopyFrom(page);  // outside the lock, protected by the busy page
      ++copies;
      feed.target.LockPageData();
      feed.target.SetBusyPage(kNoPage);
      feed.target.UnlockPageData();
    }
  });
  for (std::size_t offset = 0; offset < stream.size(); offset += 46 * 8) {
    const std::size_t length = std::min<std::size_t>(46 * 8, stream.size() - offset);
    feed.assembly.Receive(stream.data() + offset, static_cast<std::int32_t>(length), feed.target, feed.resetPending);
  }
  stop = true;
  window.join();
  EXPECT_EQ(feed.target.received.size(), 2u * 1999);  // the last page of each magazine is still under assembly
}

}  // namespace
}  // namespace tolv
