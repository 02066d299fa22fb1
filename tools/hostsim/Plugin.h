// The plug-in DLL as the host sees it: loaded by path, its eight exports resolved by name, each
// called with the convention an MSVC-built host uses (cdecl, the caller pops the arguments).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "tools/hostsim/HostRecords.h"

namespace tolv::hostsim {

// The data callback whose address the plug-in puts in its filter request.
using DataCallback = void(__cdecl*)(std::uint32_t first, std::int32_t length, const std::uint8_t* data);

struct IdNameResult {
  std::array<std::uint8_t, kIdNameSize> Bytes{};
  bool ReturnedItsPointer = false;  // EAX held the hidden result pointer after the call
  // How far ESP moved across the call: 4 when the callee left the hidden pointer for the caller
  // to pop (plain ret), 0 when it popped it itself (ret 4).
  int PushedBytesLeft = 0;
};

class Plugin {
 public:
  // Null, with error set, when the library does not load or an export is missing.
  static std::unique_ptr<Plugin> Load(const std::string& path, std::string& error);
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  IdNameResult SendDllIdName() const;
  void Start(std::uint32_t first, HWND hostWindow, std::uint32_t third, std::uint32_t tag) const;
  void MenuSelect(std::uint32_t code) const;
  void ChannelChange(const std::array<std::uint8_t, kChannelInfoSize>& record) const;
  void FilterClose() const;
  std::uint32_t KeyDown() const;
  void Exit() const;

  // The live handle counts, as text, of a build of the plug-in that reports them (the soak's,
  // with the export Tolv_LiveHandles); nothing for the plug-in itself.
  std::optional<std::string> LiveHandles() const;

  HMODULE Module() const { return module_; }
  std::uint32_t FilterReceiveAddress() const;
  // Keeps the library loaded past the destructor: its windows may outlive a plug-in that failed
  // to close them, and their window procedure must stay mapped.
  void KeepLoaded() { keepLoaded_ = true; }

 private:
  explicit Plugin(HMODULE module) : module_(module) {}

  HMODULE module_;
  bool keepLoaded_ = false;
  std::array<void*, kExportNames.size()> exports_{};
  void* liveHandles_ = nullptr;
};

}  // namespace tolv::hostsim
