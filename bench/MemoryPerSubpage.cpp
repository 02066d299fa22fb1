// memory_per_subpage RECORDING: the heap the page memory holds per stored subpage once a whole
// recording went through the data callback: (peak heap - baseline) / records. The heap is
// counted by this program's own operator new and delete, each block at its usable size plus one
// word of allocator header, so the figure is the same kind on every platform.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <sstream>

#if defined(_WIN32)
#include <malloc.h>
#define TOLV_USABLE_SIZE _msize
#else
#include <malloc.h>
#define TOLV_USABLE_SIZE malloc_usable_size
#endif

#include "decoder/StoreOnlyTarget.h"
#include "tools/recordings/Recording.h"

namespace {

std::atomic<long long> g_current{0};
std::atomic<long long> g_peak{0};

void* Counted(std::size_t size) noexcept {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) return nullptr;
  const long long now = g_current += static_cast<long long>(TOLV_USABLE_SIZE(p) + sizeof(void*));
  long long peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void Uncounted(void* p) noexcept {
  if (p == nullptr) return;
  g_current -= static_cast<long long>(TOLV_USABLE_SIZE(p) + sizeof(void*));
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = Counted(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = Counted(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Counted(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Counted(size); }
void operator delete(void* p) noexcept { Uncounted(p); }
void operator delete[](void* p) noexcept { Uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { Uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { Uncounted(p); }

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: memory_per_subpage RECORDING\n");
    return 2;
  }
  std::istringstream noInput;
  const tolv::recordings::InputBytes input = tolv::recordings::ReadWholeInput(argv[1], noInput);
  if (!input.Error.empty()) {
    std::fprintf(stderr, "memory_per_subpage: %s\n", input.Error.c_str());
    return 2;
  }
  auto* reception = new tolv::Reception;
  // The baseline holds the input and an empty store; the peak adds everything reception keeps.
  const long long baseline = g_current.load();
  g_peak = baseline;
  tolv::recordings::ReadRecording(
      input.View(), tolv::recordings::FormatOfInputName(argv[1]), std::nullopt,
      [&](const std::uint8_t* data, std::int32_t length) { reception->Receive(data, length); });
  long long records = 0;
  for (unsigned slot = 0; slot < tolv::kPageSlots; ++slot)
    for (const tolv::CVTPage* p = reception->AllPages().FirstSubpage(slot); p != nullptr;
         p = tolv::CVTAllPages::NextSubpage(p))
      ++records;
  const long long used = g_peak.load() - baseline;
  std::printf("%lld records, %lld bytes at the peak, %lld bytes per stored subpage (%zu-bit build)\n", records, used,
              records > 0 ? used / records : 0, sizeof(void*) * 8);
  delete reception;
  return 0;
}
