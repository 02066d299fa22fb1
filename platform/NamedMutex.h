// Named mutexes shared by every part of the process that opens the same name (the viewer's
// window thread, the host's data thread and its channel-change thread).
//
// Semantics follow the Win32 kernel mutex, so the Win32 implementation is a thin wrapper over
// CreateMutexA / WaitForSingleObject / ReleaseMutex / CloseHandle: the owning thread may lock
// again (each lock needs its own unlock), only the owner can unlock, and a wait has no time-out.
// A wait that does not succeed is reported as WaitResult::Failed, never thrown; the caller
// skips the guarded step.
#pragma once

#include <string_view>
#include <utility>

namespace tolv::platform {

enum class WaitResult { Acquired, Failed };

class NamedMutex {
 public:
  NamedMutex() noexcept = default;  // no mutex: every wait fails
  // Opens the mutex called name, creating it when no one holds it yet; not initially owned.
  // The result is invalid when the system refuses.
  static NamedMutex Open(std::string_view name) noexcept;

  NamedMutex(NamedMutex&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  NamedMutex& operator=(NamedMutex&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;
  ~NamedMutex() { Close(); }

  bool Valid() const noexcept { return handle_ != nullptr; }
  // Blocks until this thread owns the mutex. An abandoned mutex counts as acquired.
  WaitResult Lock() noexcept;
  // False when this thread does not own the mutex.
  bool Unlock() noexcept;
  // Drops this reference; the name disappears with its last reference.
  void Close() noexcept;

 private:
  explicit NamedMutex(void* handle) noexcept : handle_(handle) {}
  void* handle_ = nullptr;  // HANDLE on Win32, the registry entry in the portable build
};

// Holds a NamedMutex from construction to destruction, when the wait succeeded.
class MutexLock {
 public:
  explicit MutexLock(NamedMutex& mutex) noexcept : mutex_(mutex.Lock() == WaitResult::Acquired ? &mutex : nullptr) {}
  MutexLock(MutexLock&& other) noexcept : mutex_(std::exchange(other.mutex_, nullptr)) {}
  MutexLock& operator=(MutexLock&&) = delete;
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;
  ~MutexLock() { Release(); }

  // False when the wait failed: the guarded step must be skipped.
  bool Owned() const noexcept { return mutex_ != nullptr; }
  explicit operator bool() const noexcept { return Owned(); }
  void Release() noexcept {
    if (mutex_ != nullptr) std::exchange(mutex_, nullptr)->Unlock();
  }

 private:
  NamedMutex* mutex_;
};

}  // namespace tolv::platform
