// The viewer window between threads: a hold keeps the window alive through its close, a channel
// change waits for the busy page, and the data, window and channel-change threads run together
// over a million data units (ThreadSanitizer and AddressSanitizer watch).
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "tests/unit/ViewerSession.h"

namespace tolv::testing {
namespace {

using namespace std::chrono_literals;

// Waits up to five seconds for condition; false if it never came.
template <class Condition>
bool Eventually(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

class ViewerThreads : public ViewerTest {};

// A thread that got hold of the window before the close goes on using it; the window is freed
// only once it lets go, and no one gets hold of it after FormClose.
TEST_F(ViewerThreads, HoldKeepsTheWindowAliveThroughItsClose) {
  TFormTolv& window = Open();
  std::atomic<bool> holding{false}, released{false}, sawNoWindow{false}, noChannelClearing{false};
  std::thread other([&] {
    FormTolvUse hold = UseFormTolv();
    ASSERT_TRUE(hold);
    holding = true;
    ASSERT_TRUE(Eventually([] { return FormTolv.load() == nullptr; }));
    sawNoWindow = !UseFormTolv();
    noChannelClearing = ClearMemoryForChannelChange() == ChannelClearing::kNoWindow;
    std::this_thread::sleep_for(50ms);
    // Still a whole window: its mutexes and memory are there.
    std::string header(40, 'x');
    hold->ReceiveHeader(reinterpret_cast<std::uint8_t*>(header.data()));
    EXPECT_TRUE(hold->HandOver.ClearMemoryForChannelChange());
    released = true;
    hold.Release();
  });
  ASSERT_TRUE(Eventually([&] { return holding.load(); }));
  ui::headless::CloseBox(window);  // FormClose, then the window is freed at the end of the turn
  EXPECT_TRUE(released.load()) << "the window was freed while another thread still held it";
  EXPECT_EQ(ui::Application().FormCount(), 0u);
  other.join();
  EXPECT_TRUE(sawNoWindow.load());
  EXPECT_TRUE(noChannelClearing.load());
}

TEST_F(ViewerThreads, ChannelChangeWaitsForTheBusyPage) {
  DataThread data(RecordingBuffers(kBbc));
  TFormTolv& window = Open();
  data.DeliverAll();
  ASSERT_TRUE(window.HandOver.LockPageData());
  window.SetBusyPage(100);
  window.HandOver.UnlockPageData();

  std::atomic<bool> done{false};
  std::thread channel([&] {
    EXPECT_EQ(ClearMemoryForChannelChange(), ChannelClearing::kCleared);
    done = true;
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(done.load());
  EXPECT_TRUE(MemoryHolds(window, 100));
  window.ClearBusyPage();
  channel.join();
  EXPECT_FALSE(MemoryHolds(window, 100));
  EXPECT_FALSE(MemoryHolds(window, 151));
}

// The user's side of the stress test: every action the window has, picked at random.
void PlayOneAction(TFormTolv& window, ui::headless::HeadlessBackend& backend, std::mt19937& random) {
  using namespace ui::vk;
  static const std::uint16_t keys[] = {'1', '2', '5', '0', Up, Down, Left, Right, Space, Return, Numpad0 + 1};
  switch (random() % 12) {
    case 0: ui::headless::PressKey(window, Up, ui::ssShift); break;
    case 1: ui::headless::PressKey(window, Down, ui::ssShift); break;
    case 2: ui::headless::Paint(*window.PaintBox1); break;
    case 3: ui::headless::Click(window, "SpeedButtonReveal"); break;
    case 4:
      backend.AnswerNextMessageBox(ui::mrOk);
      ui::headless::Click(window, "SpeedButtonDelAll");
      break;
    case 5: window.SpeedButton4->Click(); break;
    case 6: ui::headless::MouseDown(*window.PaintBox1, ui::mbRight); break;
    default: ui::headless::PressKey(window, keys[random() % std::size(keys)]); break;
  }
}

TEST_F(ViewerThreads, DataWindowAndChannelChangeThreadsOverAMillionUnits) {
  constexpr std::uint64_t kUnits = 1'000'000;
  const std::vector<Buffer> buffers = RecordingBuffers(kBbc);
  std::atomic<bool> resetPending{true}, dataDone{false};
  std::atomic<unsigned> withWindow{0}, withoutWindow{0}, cleared{0}, noWindow{0};

  std::atomic<unsigned> openings{0};

  // Goes on until a million units went through a window and it has come and gone a few times.
  std::thread data([&] {
    MagazineAssembly assembly;
    std::uint64_t units = 0;
    while (units < kUnits || openings < 4) {
      for (const Buffer& buffer : buffers) {
        if (DataCallback(buffer, assembly, resetPending)) {
          ++withWindow;
          units += buffer.size() / 46;
        } else {
          ++withoutWindow;
        }
      }
    }
    dataDone = true;
  });
  std::thread channel([&] {
    while (!dataDone) {
      // As the plug-in's channel change: clear the memory, then have the assembly start over.
      const ChannelClearing result = ClearMemoryForChannelChange();
      ++(result == ChannelClearing::kCleared ? cleared : noWindow);
      resetPending = true;
      std::this_thread::sleep_for(3ms);
    }
  });

  std::mt19937 random(8);
  while (!dataDone) {
    TFormTolv& window = Open();
    resetPending = true;
    ++openings;
    for (int turn = 0; turn < 150 && !dataDone; ++turn) {
      PlayOneAction(window, session_.Backend(), random);
      Tick(window);
      ui::headless::RunTickRequests(window);  // the extra ticks the data thread asks for
    }
    if (random() % 2 == 0) {
      ui::headless::CloseBox(window);
    } else {
      ui::headless::Click(window, "Beenden");
    }
    ASSERT_EQ(FormTolv.load(), nullptr);
    // A while without a window: some callbacks must find none.
    const unsigned without = withoutWindow;
    Eventually([&] { return dataDone || withoutWindow > without + 20; });
  }
  data.join();
  channel.join();
  EXPECT_GE(openings.load(), 4u);
  EXPECT_GT(withWindow.load(), 0u);
  EXPECT_GT(withoutWindow.load(), 0u);
  EXPECT_GT(cleared.load(), 0u);
  EXPECT_EQ(platform::portable::OpenMutexNames(), 0u);
}

}  // namespace
}  // namespace tolv::testing
