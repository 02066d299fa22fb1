#include "tools/demostream/T42Stream.h"

#include <algorithm>

#include "tools/demostream/TeletextEncoder.h"

namespace tolv::demo {
namespace {

constexpr std::size_t kT42PacketSize = 42;
constexpr std::uint64_t kTicksPerField = 1800;  // 20 ms of the 90 kHz clock
constexpr unsigned kFirstLine = 7;
constexpr unsigned kLastLine = 22;      // a unit's line offset beyond it is refused by receivers
constexpr unsigned kPesPerTables = 25;  // PAT and PMT once a second, for a receiver tuning in

// data_unit_id 0x02 (EBU teletext), the field parity and line offset, the framing code, then
// the packet as sent: address and data bytes each with their bit order reversed.
DataUnit T42Unit(const std::uint8_t* packet, bool firstField, unsigned line) {
  DataUnit u{};
  u[0] = 0x02;
  u[1] = 0x2C;
  u[2] = static_cast<std::uint8_t>(0xC0 | (firstField ? 0x20 : 0) | line);
  u[3] = 0xE4;
  for (std::size_t i = 0; i < kT42PacketSize; ++i) u[4 + i] = encode::Reverse(packet[i]);
  return u;
}

}  // namespace

std::vector<std::uint8_t> WrapT42(std::span<const std::uint8_t> t42, const TeletextService& service,
                                  const T42StreamLayout& layout) {
  const std::size_t packets = t42.size() / kT42PacketSize;
  const std::size_t linesPerField = std::clamp(layout.linesPerField, 1u, kLastLine - kFirstLine + 1);
  const std::size_t fieldsPerPes = std::max(layout.fieldsPerPes, 1u);
  const std::size_t unitsPerPes = linesPerField * fieldsPerPes;
  TsWriter writer(service);
  std::uint64_t pts = 90000;
  std::vector<DataUnit> units;
  for (std::size_t first = 0, pes = 0; first < packets; first += unitsPerPes, ++pes) {
    if (pes % kPesPerTables == 0) {
      writer.WritePat();
      writer.WritePmt();
    }
    units.clear();
    const std::size_t count = std::min(unitsPerPes, packets - first);
    for (std::size_t i = 0; i < count; ++i) {
      const bool firstField = (first + i) / linesPerField % 2 == 0;
      const auto line = static_cast<unsigned>(kFirstLine + i % linesPerField);
      units.push_back(T42Unit(t42.data() + (first + i) * kT42PacketSize, firstField, line));
    }
    writer.WritePes(pts, units);
    pts += kTicksPerField * fieldsPerPes;
  }
  return writer.Bytes();
}

}  // namespace tolv::demo
