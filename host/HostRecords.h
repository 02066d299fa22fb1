// The records the plug-in exchanges with its host, in the host's exact byte layouts, and the
// host's command and menu codes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tolv::host {

inline constexpr std::uint32_t kHostGetChannel = 0x01020010;   // lParam: TChannelInfo to fill
inline constexpr std::uint32_t kHostStartFilter = 0x01020020;  // lParam: the FilterRequest
inline constexpr std::uint32_t kHostStopFilter = 0x01020021;   // lParam: the FilterId
inline constexpr std::uint32_t kMenuViewer = 60000;
inline constexpr std::uint32_t kMenuAbout = 60001;

// The display name, returned by value: eight characters and a NUL.
struct TDllIdName {
  char Name[9];
};
static_assert(sizeof(TDllIdName) == 9);

// The host's record of one channel; the plug-in reads only the teletext PID at offset 114.
struct TChannelInfo {
  std::array<std::uint8_t, 1356> Bytes;

  static constexpr std::size_t kPidOffset = 114;
  std::uint16_t TeletextPid() const {
    return static_cast<std::uint16_t>(Bytes[kPidOffset] | Bytes[kPidOffset + 1] << 8);
  }
};
static_assert(sizeof(TChannelInfo) == 1356);

// A request to start a PID filter; the host writes the new filter's id into FilterId while it
// answers, so the record stays in place after the command.
struct TFilterRequest {
  std::uint16_t Tag;
  std::uint16_t Reserved;
  std::uint16_t Pid;
  char Name[32];
  std::uint8_t Padding[2];
  std::uint32_t Callback;  // the 32-bit address of On_Filter_Receive
  std::uint32_t FilterId;
};
static_assert(sizeof(TFilterRequest) == 48);
static_assert(offsetof(TFilterRequest, Tag) == 0);
static_assert(offsetof(TFilterRequest, Reserved) == 2);
static_assert(offsetof(TFilterRequest, Pid) == 4);
static_assert(offsetof(TFilterRequest, Name) == 6);
static_assert(offsetof(TFilterRequest, Padding) == 38);
static_assert(offsetof(TFilterRequest, Callback) == 40);
static_assert(offsetof(TFilterRequest, FilterId) == 44);

}  // namespace tolv::host
