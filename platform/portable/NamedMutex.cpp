// Portable named mutexes: a process-wide registry of real mutexes, keyed by name and reference
// counted, with the owner tracking of a Win32 kernel mutex (re-entrant for the owner, unlock
// refused to anyone else). Names are process-wide here, system-wide on Win32.
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/NamedMutex.h"
#include "platform/portable/PortableServices.h"

namespace tolv::platform {
namespace {

struct Entry {
  std::string Name;
  unsigned References = 0;  // guarded by the registry lock
  std::mutex Lock;          // guards the fields below
  std::condition_variable Released;
  std::thread::id Owner;
  unsigned Depth = 0;
  unsigned FailuresToInject = 0;
};

struct Registry {
  std::mutex Lock;
  std::map<std::string, std::unique_ptr<Entry>, std::less<>> Entries;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

Entry* AsEntry(void* handle) { return static_cast<Entry*>(handle); }

}  // namespace

NamedMutex NamedMutex::Open(std::string_view name) noexcept {
  try {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.Lock);
    auto found = registry.Entries.find(name);
    if (found == registry.Entries.end()) {
      auto entry = std::make_unique<Entry>();
      entry->Name = std::string(name);
      found = registry.Entries.emplace(entry->Name, std::move(entry)).first;
    }
    ++found->second->References;
    return NamedMutex(found->second.get());
  } catch (...) {
    return NamedMutex();
  }
}

WaitResult NamedMutex::Lock() noexcept {
  Entry* entry = AsEntry(handle_);
  if (entry == nullptr) return WaitResult::Failed;
  try {
    std::unique_lock guard(entry->Lock);
    if (entry->FailuresToInject > 0) {
      --entry->FailuresToInject;
      return WaitResult::Failed;
    }
    const auto self = std::this_thread::get_id();
    entry->Released.wait(guard, [&] { return entry->Depth == 0 || entry->Owner == self; });
    entry->Owner = self;
    ++entry->Depth;
    return WaitResult::Acquired;
  } catch (...) {
    return WaitResult::Failed;
  }
}

bool NamedMutex::Unlock() noexcept {
  Entry* entry = AsEntry(handle_);
  if (entry == nullptr) return false;
  try {
    std::lock_guard guard(entry->Lock);
    if (entry->Depth == 0 || entry->Owner != std::this_thread::get_id()) return false;
    if (--entry->Depth == 0) {
      entry->Owner = std::thread::id();
      entry->Released.notify_one();
    }
    return true;
  } catch (...) {
    return false;
  }
}

void NamedMutex::Close() noexcept {
  Entry* entry = AsEntry(std::exchange(handle_, nullptr));
  if (entry == nullptr) return;
  try {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.Lock);
    if (--entry->References == 0) registry.Entries.erase(entry->Name);
  } catch (...) {
    // Only the registry lock can throw here; the entry then stays until the process ends.
  }
}

namespace portable {

void FailNextWaits(std::string_view name, unsigned count) {
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.Lock);
  auto found = registry.Entries.find(name);
  if (found == registry.Entries.end()) return;
  std::lock_guard entryGuard(found->second->Lock);
  found->second->FailuresToInject = count;
}

unsigned OpenMutexNames() {
  Registry& registry = TheRegistry();
  std::lock_guard guard(registry.Lock);
  return static_cast<unsigned>(registry.Entries.size());
}

}  // namespace portable
}  // namespace tolv::platform
