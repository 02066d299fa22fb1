// What the host and the plug-in exchange, seen from the host's side: the plug-in's exports, the
// records in their byte layouts, the commands the plug-in sends the host's window and the menu
// codes the host passes back. Portable: the layouts are bytes at offsets, whatever the compiler.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tolv::hostsim {

// The eight exports, by the plain names the host resolves.
inline constexpr std::array<const char*, 8> kExportNames = {
    "On_Send_Dll_ID_Name", "On_Start",        "On_Menu_Select", "On_Channel_Change",
    "On_Filter_Receive",   "On_Filter_Close", "On_Key_Down",    "On_Exit"};

// The display name record, returned by value through a hidden result pointer.
inline constexpr std::size_t kIdNameSize = 9;

// The channel record; the plug-in reads only the teletext PID.
inline constexpr std::size_t kChannelInfoSize = 1356;
inline constexpr std::size_t kChannelPidOffset = 114;

// The filter request, as the plug-in fills it before HOST_START_FILTER.
inline constexpr std::size_t kFilterRequestSize = 48;
inline constexpr std::size_t kFilterTagOffset = 0;
inline constexpr std::size_t kFilterPidOffset = 4;
inline constexpr std::size_t kFilterNameOffset = 6;
inline constexpr std::size_t kFilterNameSize = 32;
inline constexpr std::size_t kFilterCallbackOffset = 40;
inline constexpr std::size_t kFilterIdOffset = 44;  // written by the host during the command

// WM_USER commands: the code in wParam.
inline constexpr std::uint32_t kHostGetChannel = 0x01020010;   // lParam: TChannelInfo to fill
inline constexpr std::uint32_t kHostStartFilter = 0x01020020;  // lParam: TFilterRequest
inline constexpr std::uint32_t kHostStopFilter = 0x01020021;   // lParam: the filter id

// The two menu entries the host offers for the plug-in.
inline constexpr std::uint32_t kMenuViewer = 60000;
inline constexpr std::uint32_t kMenuAbout = 60001;

// The data units the data callback receives.
inline constexpr std::size_t kDataUnitBytes = 46;

inline std::uint16_t ReadU16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }
inline std::uint32_t ReadU32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}
inline void WriteU16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}
inline void WriteU32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A channel record as the host fills it: the PID at its offset, and every other byte a pattern
// of the host's own, so that a plug-in reading the wrong offset gets a wrong PID, not a zero.
inline std::array<std::uint8_t, kChannelInfoSize> ChannelRecord(std::uint16_t pid) {
  std::array<std::uint8_t, kChannelInfoSize> record{};
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 7));
  WriteU16(record.data() + kChannelPidOffset, pid);
  return record;
}

}  // namespace tolv::hostsim
