#include "platform/NamedMutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/portable/PortableServices.h"

namespace tolv::platform {
namespace {

using namespace std::chrono_literals;

// Starts a thread that locks mutex and reports when it got it; the caller checks that it does
// not get it while the mutex is held elsewhere.
class Contender {
 public:
  explicit Contender(std::string_view name) : mutex_(NamedMutex::Open(name)) {
    thread_ = std::thread([this] {
      if (mutex_.Lock() == WaitResult::Acquired) {
        acquired_ = true;
        mutex_.Unlock();
      }
    });
  }
  Contender(const Contender&) = delete;
  Contender& operator=(const Contender&) = delete;
  ~Contender() { Join(); }
  bool AcquiredAfterAWhile() {
    std::this_thread::sleep_for(50ms);
    return acquired_;
  }
  bool Join() {
    if (thread_.joinable()) thread_.join();
    return acquired_;
  }

 private:
  NamedMutex mutex_;
  std::atomic<bool> acquired_{false};
  std::thread thread_;
};

TEST(NamedMutex, OpeningTheSameNameGivesTheSameMutex) {
  NamedMutex mine = NamedMutex::Open("TestSameName");
  ASSERT_EQ(mine.Lock(), WaitResult::Acquired);
  Contender other("TestSameName");
  EXPECT_FALSE(other.AcquiredAfterAWhile());
  EXPECT_TRUE(mine.Unlock());
  EXPECT_TRUE(other.Join());
}

TEST(NamedMutex, DifferentNamesDoNotBlockEachOther) {
  NamedMutex mine = NamedMutex::Open("TestNameA");
  ASSERT_EQ(mine.Lock(), WaitResult::Acquired);
  Contender other("TestNameB");
  EXPECT_TRUE(other.Join());
  EXPECT_TRUE(mine.Unlock());
}

TEST(NamedMutex, OwnerLocksAgainAndMustUnlockAsOften) {
  NamedMutex mine = NamedMutex::Open("TestReentrant");
  ASSERT_EQ(mine.Lock(), WaitResult::Acquired);
  ASSERT_EQ(mine.Lock(), WaitResult::Acquired);
  Contender other("TestReentrant");
  EXPECT_TRUE(mine.Unlock());
  EXPECT_FALSE(other.AcquiredAfterAWhile());
  EXPECT_TRUE(mine.Unlock());
  EXPECT_TRUE(other.Join());
  EXPECT_FALSE(mine.Unlock());
}

TEST(NamedMutex, OnlyTheOwnerCanUnlock) {
  NamedMutex mine = NamedMutex::Open("TestOwner");
  ASSERT_EQ(mine.Lock(), WaitResult::Acquired);
  bool strangerUnlocked = true;
  std::thread([&] {
    NamedMutex stranger = NamedMutex::Open("TestOwner");
    strangerUnlocked = stranger.Unlock();
  }).join();
  EXPECT_FALSE(strangerUnlocked);
  EXPECT_TRUE(mine.Unlock());
  EXPECT_FALSE(mine.Unlock());
}

TEST(NamedMutex, WithoutAMutexEveryWaitFails) {
  NamedMutex none;
  NamedMutex opened = NamedMutex::Open("TestMoved");
  NamedMutex taken = std::move(opened);
  for (NamedMutex* m : {&none, &opened}) {
    EXPECT_FALSE(m->Valid());
    EXPECT_EQ(m->Lock(), WaitResult::Failed);
    EXPECT_FALSE(m->Unlock());
    EXPECT_FALSE(MutexLock(*m).Owned());
  }
  EXPECT_TRUE(taken.Valid());
  EXPECT_EQ(taken.Lock(), WaitResult::Acquired);
  EXPECT_TRUE(taken.Unlock());
}

TEST(NamedMutex, FailedWaitsAreReportedAndLaterWaitsSucceed) {
  NamedMutex mutex = NamedMutex::Open("TestFailing");
  portable::FailNextWaits("TestFailing", 2);
  EXPECT_EQ(mutex.Lock(), WaitResult::Failed);
  EXPECT_FALSE(MutexLock(mutex).Owned());
  EXPECT_EQ(mutex.Lock(), WaitResult::Acquired);
  EXPECT_TRUE(mutex.Unlock());
}

TEST(NamedMutex, TheNameGoesWithItsLastReference) {
  const unsigned before = portable::OpenMutexNames();
  {
    NamedMutex first = NamedMutex::Open("TestLifetime");
    NamedMutex second = NamedMutex::Open("TestLifetime");
    EXPECT_EQ(portable::OpenMutexNames(), before + 1);
    portable::FailNextWaits("TestLifetime", 5);
    first.Close();
    EXPECT_EQ(portable::OpenMutexNames(), before + 1);
  }
  EXPECT_EQ(portable::OpenMutexNames(), before);
  NamedMutex fresh = NamedMutex::Open("TestLifetime");
  EXPECT_EQ(fresh.Lock(), WaitResult::Acquired);  // nothing of the old mutex is left
  EXPECT_TRUE(fresh.Unlock());
}

TEST(MutexLock, ReleasesAtTheEndOfItsScopeAndTravelsWithAMove) {
  NamedMutex mutex = NamedMutex::Open("TestGuard");
  {
    MutexLock first(mutex);
    ASSERT_TRUE(first.Owned());
    MutexLock second(std::move(first));
    EXPECT_FALSE(first.Owned());
    EXPECT_TRUE(second.Owned());
    Contender other("TestGuard");
    EXPECT_FALSE(other.AcquiredAfterAWhile());
    second.Release();
    EXPECT_TRUE(other.Join());
  }
  EXPECT_FALSE(mutex.Unlock());  // the guards left nothing locked
}

TEST(NamedMutex, GuardsSharedDataAcrossThreads) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 5000;
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&counter] {
      NamedMutex mutex = NamedMutex::Open("TestCounter");
      for (int i = 0; i < kRounds; ++i) {
        MutexLock lock(mutex);
        if (lock) ++counter;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counter, long{kThreads} * kRounds);
}

}  // namespace
}  // namespace tolv::platform
