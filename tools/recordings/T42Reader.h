// The T42 reader: raw 42-byte teletext packets (two address bytes and 40 data bytes, in
// transmission order) wrapped as the data units the data callback takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "tools/recordings/DataSink.h"

namespace tolv::recordings {

inline constexpr std::size_t kT42PacketSize = 42;
// About what one video frame's PES carries, so the callback sees buffers of a familiar size.
inline constexpr std::size_t kT42UnitsPerBatch = 32;

// unit receives 46 bytes: data_unit_id 0x02, length 0x2C, line offset 0, framing code 0xE4,
// then the packet's bytes bit-reversed, as DVB carries them.
void WrapT42Packet(const std::uint8_t* packet, std::uint8_t* unit);

// Wraps the whole packets at the start of input, at most maxUnits, into consecutive units;
// returns how many it wrapped.
std::size_t WrapT42Packets(std::span<const std::uint8_t> input, std::uint8_t* units, std::size_t maxUnits);

// Delivers every whole packet of input in order, unitsPerBatch units to a buffer (the last one
// may hold fewer); a trailing partial packet is ignored. Returns the number of units delivered.
std::size_t ReadT42(std::span<const std::uint8_t> input, const DataSink& sink,
                    std::size_t unitsPerBatch = kT42UnitsPerBatch);

}  // namespace tolv::recordings
