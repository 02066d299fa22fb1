// The hand-over protocol between the data thread and the window thread, on real threads.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
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

// Rows go round: the data thread takes the rows of replaced subpages back under the lock and
// builds new pages from them outside it, while the window thread clears the memory (freeing
// stored rows on its own thread) and copies pages; then the window closes, its memory goes, and
// the pages under assembly and the rows kept for them live on into the next window's memory.
// ThreadSanitizer watches the threads, AddressSanitizer that every row ends freed exactly once.
TEST(HandOver, RowsTakenBackRaceFreeWhileTheWindowClearsAndCloses) {
  std::vector<std::uint8_t> stream;
  for (unsigned i = 0; i < 1500; ++i) {
    const auto part = encode::Join({HeaderUnit(100 + i % 2, i % 3), RowUnit(1, 1 + i % 23, "ROW"), RowUnit(1, 2, "TWO"),
                                    HeaderUnit(300 + i % 2), RowUnit(3, 5, "THREE")});
    stream.insert(stream.end(), part.begin(), part.end());
  }
  MagazineAssembly assembly;
  std::atomic<bool> resetPending{true};
  const auto receive = [&](test::RecordingTarget& target) {
    for (std::size_t offset = 0; offset < stream.size(); offset += 46 * 4) {
      const std::size_t length = std::min<std::size_t>(46 * 4, stream.size() - offset);
      assembly.Receive(stream.data() + offset, static_cast<std::int32_t>(length), target, resetPending);
    }
  };
  auto window = std::make_unique<test::RecordingTarget>();
  std::atomic<bool> stop{false};
  std::thread windowThread([&] {
    CVTPage display;
    for (unsigned round = 0; !stop || round == 0; ++round) {
      window->LockPageData();
      if (round % 4 == 0) {
        window->AllPages().Clear();
      } else {
        display.CopyFrom(window->AllPages().GetPage(100 + round % 2, 0, gmFirst));
      }
      window->UnlockPageData();
    }
  });
  receive(*window);
  stop = true;
  windowThread.join();
  window.reset();  // the window closes; the assembly keeps its pages and rows
  test::RecordingTarget next;
  receive(next);
  next.LockPageData();
  ASSERT_NE(next.AllPages().GetPage(100, 0, gmFirst), nullptr);
  EXPECT_EQ(test::RowText(*next.AllPages().GetPage(300, 0, gmFirst), 5), "THREE");
  next.UnlockPageData();
}

}  // namespace
}  // namespace tolv
