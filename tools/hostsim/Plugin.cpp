#include "tools/hostsim/Plugin.h"

#include <cstring>

namespace tolv::hostsim {
namespace {

enum Export : std::size_t {
  kSendDllIdName,
  kStart,
  kMenuSelect,
  kChannelChange,
  kFilterReceive,
  kFilterClose,
  kKeyDown,
  kExit,
};

// The channel record passed by value: the whole 1356 bytes lie in the argument area.
struct ChannelInfoByValue {
  std::uint8_t Bytes[kChannelInfoSize];
};
static_assert(sizeof(ChannelInfoByValue) == kChannelInfoSize);

using StartFn = void(__cdecl*)(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t);
using MenuSelectFn = void(__cdecl*)(std::uint32_t);
using ChannelChangeFn = void(__cdecl*)(ChannelInfoByValue);
using NoArgumentFn = void(__cdecl*)();
using KeyDownFn = std::uint32_t(__cdecl*)();
using LiveHandlesFn = int(__cdecl*)(char*, int);

template <typename Fn>
Fn As(void* address) {
  return reinterpret_cast<Fn>(address);
}

}  // namespace

std::unique_ptr<Plugin> Plugin::Load(const std::string& path, std::string& error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  std::unique_ptr<Plugin> plugin(new Plugin(module));
  for (std::size_t i = 0; i < kExportNames.size(); ++i) {
    plugin->exports_[i] = reinterpret_cast<void*>(GetProcAddress(module, kExportNames[i]));
    if (plugin->exports_[i] == nullptr) {
      error = path + " does not export " + kExportNames[i];
      return nullptr;
    }
  }
  plugin->liveHandles_ = reinterpret_cast<void*>(GetProcAddress(module, "Tolv_LiveHandles"));
  return plugin;
}

Plugin::~Plugin() {
  if (!keepLoaded_) FreeLibrary(module_);
}

// An MSVC-built host calls a function returning a 9-byte record like this: it pushes the address
// of its result record as a hidden argument, calls, finds the same address in EAX, and pops the
// argument itself. ESP is read right after the call, before the caller's pop, and restored from
// a callee-saved register whatever the callee did.
IdNameResult Plugin::SendDllIdName() const {
  IdNameResult result;
  alignas(4) std::uint8_t record[16];
  std::memset(record, 0xEE, sizeof record);  // bytes the callee must not leave untouched
  void* returned = nullptr;
  std::uint32_t espBefore = 0, espAfter = 0;
  void* function = exports_[kSendDllIdName];
  void* target = record;  // in ECX, which the call may change: an in-out operand
  void* const expected = target;
  asm volatile(
      "movl %%esp, %%esi\n\t"
      "pushl %[target]\n\t"
      "call *%[function]\n\t"
      "movl %%esp, %%edi\n\t"
      "movl %%esi, %%esp\n\t"
      : "=a"(returned), "=&S"(espBefore), "=&D"(espAfter), [function] "+b"(function), [target] "+c"(target)
      :
      : "edx", "memory", "cc");
  std::memcpy(result.Bytes.data(), record, kIdNameSize);
  result.ReturnedItsPointer = returned == expected;
  result.PushedBytesLeft = static_cast<int>(espBefore - espAfter);
  return result;
}

void Plugin::Start(std::uint32_t first, HWND hostWindow, std::uint32_t third, std::uint32_t tag) const {
  As<StartFn>(exports_[kStart])(first, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hostWindow)), third,
                                tag);
}

void Plugin::MenuSelect(std::uint32_t code) const { As<MenuSelectFn>(exports_[kMenuSelect])(code); }

void Plugin::ChannelChange(const std::array<std::uint8_t, kChannelInfoSize>& record) const {
  ChannelInfoByValue value;
  std::memcpy(value.Bytes, record.data(), kChannelInfoSize);
  As<ChannelChangeFn>(exports_[kChannelChange])(value);
}

void Plugin::FilterClose() const { As<NoArgumentFn>(exports_[kFilterClose])(); }

std::uint32_t Plugin::KeyDown() const { return As<KeyDownFn>(exports_[kKeyDown])(); }

void Plugin::Exit() const { As<NoArgumentFn>(exports_[kExit])(); }

std::optional<std::string> Plugin::LiveHandles() const {
  if (liveHandles_ == nullptr) return std::nullopt;
  char text[512];
  const int length = As<LiveHandlesFn>(liveHandles_)(text, sizeof text);
  if (length < 0) return std::nullopt;
  return std::string(text, static_cast<std::size_t>(length));
}

std::uint32_t Plugin::FilterReceiveAddress() const {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(exports_[kFilterReceive]));
}

}  // namespace tolv::hostsim
