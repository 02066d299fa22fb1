#include "tools/recordings/T42Reader.h"

#include <algorithm>
#include <vector>

#include "decoder/Vt_fkt.h"

namespace tolv::recordings {

void WrapT42Packet(const std::uint8_t* packet, std::uint8_t* unit) {
  unit[kUnitIdAt] = kUnitIdNonSubtitle;
  unit[kUnitLengthAt] = kUnitLength;
  unit[kFieldAndLineAt] = 0x00;  // line offset undefined
  unit[kFramingCodeAt] = kFramingCode;
  for (std::size_t i = 0; i < kT42PacketSize; ++i) unit[kPacketAddressAt + i] = ReverseTable[packet[i]];
}

std::size_t WrapT42Packets(std::span<const std::uint8_t> input, std::uint8_t* units, std::size_t maxUnits) {
  const std::size_t count = std::min(maxUnits, input.size() / kT42PacketSize);
  for (std::size_t i = 0; i < count; ++i) WrapT42Packet(input.data() + i * kT42PacketSize, units + i * kDataUnitSize);
  return count;
}

std::size_t ReadT42(std::span<const std::uint8_t> input, const DataSink& sink, std::size_t unitsPerBatch) {
  const std::size_t packets = input.size() / kT42PacketSize;
  unitsPerBatch = std::clamp<std::size_t>(unitsPerBatch, 1, kT42UnitsPerBatch * 64);
  std::vector<std::uint8_t> batch(std::min(packets, unitsPerBatch) * kDataUnitSize);
  for (std::size_t first = 0; first < packets; first += unitsPerBatch) {
    const std::size_t count = WrapT42Packets(input.subspan(first * kT42PacketSize), batch.data(), unitsPerBatch);
    sink(batch.data(), static_cast<std::int32_t>(count * kDataUnitSize));
  }
  return packets;
}

}  // namespace tolv::recordings
