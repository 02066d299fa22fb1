// The hand-over protocol between the data thread, the channel change and the window thread, on
// real threads, aimed at the window's PageHandOver itself.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "RecordingTarget.h"
#include "viewer/PageHandOver.h"

namespace tolv {
namespace {

using encode::HeaderUnit;
using encode::RowUnit;

// The window's side of the reception, counting the pages handed to it.
class CountingHandOver : public PageHandOver {
 public:
  CountingHandOver() { Open(); }
  void ReceivePage(CVTPage& page) override {
    ++received;
    PageHandOver::ReceivePage(page);
  }
  unsigned received = 0;  // the data thread's alone
};

// One assembly fed the way the data callback feeds it.
struct Feed {
  CountingHandOver target;
  MagazineAssembly assembly;
  std::atomic<bool> resetPending{true};

  void Send(const std::vector<std::uint8_t>& bytes) {
    assembly.Receive(bytes.data(), static_cast<std::int32_t>(bytes.size()), target, resetPending);
  }
  void Send(std::initializer_list<encode::Unit> units) { Send(encode::Join(units)); }
};

bool Stored(PageHandOver& target, unsigned number) {
  target.LockPageData();
  const bool found = target.AllPages().GetPage(number, 0, gmFirst) != nullptr;
  target.UnlockPageData();
  return found;
}

TEST(HandOver, WaitsWhileTheWindowCopiesThatPage) {
  Feed feed;
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
  feed.target.ClearBusyPage();
  data.join();
  EXPECT_TRUE(Stored(feed.target, 100));
}

TEST(HandOver, OtherPagesPassWhileOneIsBusy) {
  Feed feed;
  feed.target.SetBusyPage(200);
  feed.Send({HeaderUnit(100), RowUnit(1, 1, "X"), HeaderUnit(101)});
  EXPECT_TRUE(Stored(feed.target, 100));
}

// The window thread puts pages from the memory on screen under the busy-page protocol while the
// data thread files pages and hands them and their headers to the screen, and a channel change
// clears the memory again and again: no copy ever sees a record replaced or freed, and DisplayPage
// is never written by two threads at once (ThreadSanitizer watches).
TEST(HandOver, WindowCopiesRaceFreeWithReceptionAndChannelChanges) {
  Feed feed;
  std::vector<std::uint8_t> stream;
  for (unsigned i = 0; i < 2000; ++i) {
    const auto part = encode::Join(
        {HeaderUnit(100 + i % 3, i % 4), RowUnit(1, 1 + i % 23, "ROW"), RowUnit(2, 1, "M2"), HeaderUnit(200 + i % 2)});
    stream.insert(stream.end(), part.begin(), part.end());
  }
  PageHandOver& target = feed.target;
  std::atomic<bool> stop{false}, channelStop{false};
  std::atomic<unsigned> copies{0}, clearings{0};
  std::thread window([&] {
    while (!stop || copies == 0) {
      // As the window's page selection: fetch and mark busy, copy outside the lock, unmark.
      CVTPage* page = target.FetchForShow(100 + copies % 3, 0, gmFirst);
      if (page == nullptr) continue;
      target.DisplayPage.CopyFrom(page);
      target.ShownPage.store(target.DisplayPage.Number(), std::memory_order_relaxed);
      target.WithdrawPageRedraw();
      target.ClearBusyPage();
      ++copies;
      if (target.TakePageRedraw()) {
        target.LockPageData();
        EXPECT_EQ(target.DisplayPage.Number(), 100u);  // only the search page comes on screen
        target.UnlockPageData();
      }
    }
  });
  std::thread channel([&] {
    while (!channelStop || clearings == 0) {
      if (target.ClearMemoryForChannelChange()) ++clearings;
      std::this_thread::yield();
    }
  });
  for (std::size_t offset = 0; offset < stream.size(); offset += 46 * 8) {
    const std::size_t length = std::min<std::size_t>(46 * 8, stream.size() - offset);
    feed.assembly.Receive(stream.data() + offset, static_cast<std::int32_t>(length), target, feed.resetPending);
  }
  EXPECT_EQ(feed.target.received, 2u * 1999);  // the last page of each magazine is still under assembly
  channelStop = true;
  channel.join();
  feed.Send({HeaderUnit(100), RowUnit(1, 1, "X"), HeaderUnit(101)});  // the window has one to copy
  stop = true;
  window.join();
  EXPECT_GT(copies.load(), 0u);
  EXPECT_EQ(target.BusyPage(), kNoPage);
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
  const auto receive = [&](PageHandOver& target) {
    for (std::size_t offset = 0; offset < stream.size(); offset += 46 * 4) {
      const std::size_t length = std::min<std::size_t>(46 * 4, stream.size() - offset);
      assembly.Receive(stream.data() + offset, static_cast<std::int32_t>(length), target, resetPending);
    }
  };
  auto window = std::make_unique<PageHandOver>();
  window->Open();
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
  PageHandOver next;
  next.Open();
  receive(next);
  next.LockPageData();
  ASSERT_NE(next.AllPages().GetPage(100, 0, gmFirst), nullptr);
  EXPECT_EQ(test::RowText(*next.AllPages().GetPage(300, 0, gmFirst), 5), "THREE");
  next.UnlockPageData();
}

}  // namespace
}  // namespace tolv
