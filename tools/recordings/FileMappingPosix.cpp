#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>

#include "tools/recordings/FileMapping.h"

namespace tolv::recordings {
namespace {

constexpr off_t kPopulateAtMost = off_t{1} << 30;

// The mappings alive, for the SIGBUS handler, which may touch nothing but lock-free atomics. An
// entry is claimed through Used, then filled; Begin is set last and cleared first, so the handler
// never sees half an entry.
struct GuardedRange {
  std::atomic<bool> Used{false};
  std::atomic<std::uintptr_t> Begin{0};
  std::atomic<std::uintptr_t> End{0};  // a page boundary
  std::atomic<bool> Shrank{false};
};
constexpr std::size_t kGuardedRanges = 64;
std::array<GuardedRange, kGuardedRanges> guardedRanges;
std::uintptr_t pageSize = 4096;
struct sigaction previousBusAction {};
std::once_flag handlerInstalled;

// A touch of a page that the file no longer covers: the rest of that mapping is replaced by zero
// pages and the touch done again. Any other bus error goes where it went before.
void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (GuardedRange& range : guardedRanges) {
    const std::uintptr_t begin = range.Begin.load(std::memory_order_acquire);
    const std::uintptr_t end = range.End.load(std::memory_order_relaxed);
    if (begin == 0 || address < begin || address >= end) continue;
    const std::uintptr_t offsetInPage = address & (pageSize - 1);
    void* page = static_cast<std::uint8_t*>(info->si_addr) - offsetInPage;
    void* zeros = mmap(page, end - (address - offsetInPage), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zeros == MAP_FAILED) break;
    range.Shrank.store(true, std::memory_order_relaxed);
    return;
  }
  if ((previousBusAction.sa_flags & SA_SIGINFO) != 0 && previousBusAction.sa_sigaction != nullptr) {
    previousBusAction.sa_sigaction(signal, info, context);
  } else if (previousBusAction.sa_handler != SIG_DFL && previousBusAction.sa_handler != SIG_IGN) {
    previousBusAction.sa_handler(signal);
  } else {
    // Ends the process as it would have: a fault comes again, a signal sent is sent again.
    std::signal(SIGBUS, SIG_DFL);
    std::raise(SIGBUS);
  }
}

void InstallHandler() {
  const long size = sysconf(_SC_PAGESIZE);
  if (size > 0) pageSize = static_cast<std::uintptr_t>(size);
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  sigaction(SIGBUS, &action, &previousBusAction);
}

// The entry now guarding [begin, begin + size), or kGuardedRanges when all are taken.
std::size_t Guard(std::uintptr_t begin, std::size_t size) {
  std::call_once(handlerInstalled, InstallHandler);
  for (std::size_t i = 0; i < kGuardedRanges; ++i) {
    GuardedRange& range = guardedRanges[i];
    bool expected = false;
    if (!range.Used.compare_exchange_strong(expected, true)) continue;
    range.Shrank.store(false, std::memory_order_relaxed);
    range.End.store((begin + size + pageSize - 1) & ~(pageSize - 1), std::memory_order_relaxed);
    range.Begin.store(begin, std::memory_order_release);
    return i;
  }
  return kGuardedRanges;
}

void Unguard(std::size_t i) {
  GuardedRange& range = guardedRanges[i];
  range.Begin.store(0, std::memory_order_release);
  range.Used.store(false, std::memory_order_release);
}

}  // namespace

std::unique_ptr<FileMapping> FileMapping::Map(const std::string& name, bool whole) {
  const int descriptor = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  struct stat status {};
  void* address = MAP_FAILED;
  if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
      static_cast<std::uintmax_t>(status.st_size) <= SIZE_MAX) {
    int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
    // The readers go through it all from the start: mapped at once, unless it would crowd memory.
    if (whole && status.st_size <= kPopulateAtMost) flags |= MAP_POPULATE;
#endif
    address = mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, flags, descriptor, 0);
  }
  close(descriptor);  // the mapping keeps the file
  if (address == MAP_FAILED) return nullptr;
  const auto size = static_cast<std::size_t>(status.st_size);
  const std::size_t guard = Guard(reinterpret_cast<std::uintptr_t>(address), size);
  if (guard == kGuardedRanges) {
    // Unguarded, a shortened file would end the process: read instead.
    munmap(address, size);
    return nullptr;
  }
  return std::unique_ptr<FileMapping>(new FileMapping(static_cast<const std::uint8_t*>(address), size, guard));
}

FileMapping::~FileMapping() {
  Unguard(guard_);
  munmap(const_cast<std::uint8_t*>(address_), size_);
}

void FileMapping::Release(std::size_t upTo) const {
  const std::size_t end = std::min(upTo, size_) & ~(pageSize - 1);
  if (end > 0) madvise(const_cast<std::uint8_t*>(address_), end, MADV_DONTNEED);
}

bool FileMapping::Shrank() const { return guardedRanges[guard_].Shrank.load(std::memory_order_relaxed); }

}  // namespace tolv::recordings
