// The plug-in's side of the host interface: its module state and what each entry point does.
// The exported functions (Exports.cpp) only translate the host's calling conventions to these.
#pragma once

#include <atomic>
#include <cstdint>

#include "host/HostRecords.h"

namespace tolv::host {

struct ModuleState {
  void* HostWnd = nullptr;
  std::uint32_t HostTag = 0;
  std::atomic<std::uint16_t> TeletextPid{0};
  std::atomic<bool> FilterRunning{false};
  // The reception state is discarded at the next data callback.
  std::atomic<bool> ResetPending{true};
  TFilterRequest FilterRequest{};
  // The address the filter request gives the host for the data callback.
  std::uint32_t DataCallbackAddress = 0;
};

ModuleState& State();

TDllIdName DllIdName();
void Start(void* hostWindow, std::uint32_t tag);
void MenuSelect(std::uint32_t code);
void ChannelChange(const TChannelInfo& channel);
void FilterReceive(std::int32_t length, const std::uint8_t* data);
void FilterClose();
void Exit();

bool StartFilter();
bool StopFilter();

}  // namespace tolv::host
