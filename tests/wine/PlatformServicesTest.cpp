// The Win32 platform services: kernel named mutexes (system-wide names, abandoned counts as
// acquired, failed waits reported), font files through GDI, and the shell.
#include <gtest/gtest.h>

#include "platform/win32/Win32Api.h"

#include <atomic>
#include <thread>

#include "TestForms.h"
#include "platform/FontFiles.h"
#include "platform/NamedMutex.h"
#include "platform/Shell.h"
#include "platform/win32/Win32Services.h"

namespace tolv::wine {
namespace {

using platform::NamedMutex;
using platform::WaitResult;

TEST(Win32NamedMutex, TwoOpeningsOfANameAreOneKernelMutex) {
  {
    NamedMutex first = NamedMutex::Open("TOLV_TEST_SHARED");
    NamedMutex second = NamedMutex::Open("TOLV_TEST_SHARED");
    ASSERT_TRUE(first.Valid());
    ASSERT_TRUE(second.Valid());
    EXPECT_EQ(platform::win32::OpenMutexHandles(), 2);
    ASSERT_EQ(first.Lock(), WaitResult::Acquired);
    EXPECT_EQ(first.Lock(), WaitResult::Acquired);  // the owner may lock again
    std::atomic<bool> acquired{false};
    std::thread other([&] {
      if (second.Lock() == WaitResult::Acquired) {
        acquired = true;
        second.Unlock();
      }
    });
    Sleep(100);
    EXPECT_FALSE(acquired) << "the second opening did not wait for the owner";
    EXPECT_TRUE(first.Unlock());
    Sleep(50);
    EXPECT_FALSE(acquired) << "one unlock of two released the mutex";
    EXPECT_TRUE(first.Unlock());
    other.join();
    EXPECT_TRUE(acquired);
    EXPECT_FALSE(first.Unlock());  // not the owner any more
  }
  EXPECT_EQ(platform::win32::OpenMutexHandles(), 0);
}

TEST(Win32NamedMutex, AMutexItsOwnerLeftBehindIsAcquired) {
  NamedMutex mutex = NamedMutex::Open("TOLV_TEST_ABANDONED");
  std::thread owner([&] { EXPECT_EQ(mutex.Lock(), WaitResult::Acquired); });  // ends without unlocking
  owner.join();
  EXPECT_EQ(mutex.Lock(), WaitResult::Acquired);
  EXPECT_TRUE(mutex.Unlock());
}

TEST(Win32NamedMutex, WaitsThatCannotSucceedAreReportedAsFailed) {
  // A name taken by an object of another kind: the system refuses the mutex.
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, "TOLV_TEST_NOT_A_MUTEX");
  ASSERT_NE(event, nullptr);
  NamedMutex refused = NamedMutex::Open("TOLV_TEST_NOT_A_MUTEX");
  EXPECT_FALSE(refused.Valid());
  EXPECT_EQ(refused.Lock(), WaitResult::Failed);
  EXPECT_FALSE(refused.Unlock());
  CloseHandle(event);
  NamedMutex none;
  platform::MutexLock lock(none);
  EXPECT_FALSE(lock.Owned());
}

TEST(Win32FontFiles, TheFontFileAddsItsFiveFacesUntilRemoved) {
  const std::string path = BuiltFontFile();
  ASSERT_EQ(platform::AddFontFile(path), 5);
  // GDI now has the faces: a font of that name reports that name.
  HFONT font = CreateFontA(15, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "VTGRAFIK640x480");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ before = SelectObject(dc, font);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, before);
  DeleteDC(dc);
  DeleteObject(font);
  EXPECT_STREQ(face, "VTGRAFIK640x480");
  EXPECT_EQ(metrics.tmHeight, 15);
  EXPECT_EQ(metrics.tmAveCharWidth, 14);
  EXPECT_TRUE(platform::RemoveFontFile(path));
  EXPECT_FALSE(platform::RemoveFontFile(path));
  EXPECT_EQ(platform::AddFontFile(path + ".missing"), 0);
}

TEST(Win32Shell, AMissingDocumentIsReportedAsNotOpened) {
  EXPECT_FALSE(platform::ShellOpen("Z:\\no\\such\\document.tolv-none"));
}

}  // namespace
}  // namespace tolv::wine
