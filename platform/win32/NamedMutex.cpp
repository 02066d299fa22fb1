// Named mutexes as kernel mutexes: the names are system-wide, so the host's threads and the
// plug-in's meet on the same object.
#include "platform/win32/Win32Api.h"

#include <atomic>
#include <string>

#include "platform/NamedMutex.h"
#include "platform/win32/Win32Services.h"

namespace tolv::platform {
namespace {
std::atomic<int> openHandles{0};
}  // namespace

NamedMutex NamedMutex::Open(std::string_view name) noexcept {
  try {
    const std::string terminated(name);
    HANDLE handle = CreateMutexA(nullptr, FALSE, terminated.c_str());
    if (handle == nullptr) return NamedMutex();
    openHandles.fetch_add(1, std::memory_order_relaxed);
    return NamedMutex(handle);
  } catch (...) {
    return NamedMutex();
  }
}

WaitResult NamedMutex::Lock() noexcept {
  if (handle_ == nullptr) return WaitResult::Failed;
  switch (WaitForSingleObject(handle_, INFINITE)) {
    case WAIT_OBJECT_0:
    // The owner ended without releasing it: the mutex is now ours, and the data it guards is as
    // that thread left it, which the callers accept.
    case WAIT_ABANDONED: return WaitResult::Acquired;
    default: return WaitResult::Failed;
  }
}

bool NamedMutex::Unlock() noexcept { return handle_ != nullptr && ReleaseMutex(handle_) != FALSE; }

void NamedMutex::Close() noexcept {
  if (handle_ == nullptr) return;
  CloseHandle(std::exchange(handle_, nullptr));
  openHandles.fetch_sub(1, std::memory_order_relaxed);
}

namespace win32 {
int OpenMutexHandles() { return openHandles.load(std::memory_order_relaxed); }
}  // namespace win32

}  // namespace tolv::platform
