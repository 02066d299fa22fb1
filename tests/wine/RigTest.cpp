// The Wine rig's own checks, run like every other win32 test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(WineRig, RunsAs32BitWindowsProcessUnderWine) {
  EXPECT_EQ(sizeof(void*), 4u);
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  ASSERT_NE(ntdll, nullptr);
  EXPECT_NE(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")), nullptr) << "not running under Wine";
}

TEST(WineRig, CarriesItsRuntimeInsideTheProgram) {
  for (const char* dll : {"libstdc++-6.dll", "libgcc_s_dw2-1.dll", "libwinpthread-1.dll"}) {
    EXPECT_EQ(GetModuleHandleA(dll), nullptr) << dll << " is loaded: the program is not linked statically";
  }
}

TEST(WineRig, ReadsTheRecordingsThroughDriveZ) {
  const std::string path = std::string(TOLV_SAMPLES_DIR) + "/SHA256SUMS";
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr) << "cannot open " << path;
  char buffer[64];
  const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
  std::fclose(file);
  EXPECT_EQ(got, sizeof buffer);
}

TEST(WineRig, RunsStdThreadsWithStdMutex) {
  std::mutex mutex;
  long total = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 10000; ++i) {
        std::lock_guard<std::mutex> lock(mutex);
        ++total;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(total, 40000);
}

// A top-level window needs the X display (Xvfb in the test script). Without the prefix's virtual
// desktop, Wine waits about 2 s when such a window is hidden or destroyed.
TEST(WineRig, HidesAndDestroysATopLevelWindowWithoutWaiting) {
  HWND window = CreateWindowExA(0, "STATIC", "Wine rig", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr) << "no window: is there an X display (run under xvfb-run)?";
  char caption[32] = {};
  GetWindowTextA(window, caption, sizeof caption);
  EXPECT_STREQ(caption, "Wine rig");
  EXPECT_TRUE(IsWindowVisible(window));
  const auto start = std::chrono::steady_clock::now();
  ShowWindow(window, SW_HIDE);
  EXPECT_TRUE(DestroyWindow(window));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
}

}  // namespace
