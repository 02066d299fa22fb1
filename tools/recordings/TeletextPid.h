// The choice of the PID whose teletext a transport stream reader delivers.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tolv::recordings {

inline constexpr std::uint16_t kMaxPid = 0x1FFF;

// Looks at the whole input before anything is delivered: the lowest PID that any program map
// marks with a teletext descriptor; failing that, the lowest PID that carries a PES with
// stream_id 0xBD and an EBU data_identifier (0x10..0x1F) in its first packet. None when neither
// is found.
std::optional<std::uint16_t> ChooseTeletextPid(std::span<const std::uint8_t> input);

// Every PID that either way finds, in ascending order: the channels a recording offers.
std::vector<std::uint16_t> TeletextPids(std::span<const std::uint8_t> input);

}  // namespace tolv::recordings
