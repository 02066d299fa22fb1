// Program-specific information (ISO/IEC 13818-1 section 2.4.4): reassembly of the sections of
// one PID from its packets, and the two tables that lead to the teletext PID.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "tools/recordings/TsPacket.h"

namespace tolv::recordings {

using SectionSink = std::function<void(std::span<const std::uint8_t> section)>;

// CRC-32/MPEG-2 over bytes; a whole section including its CRC_32 field yields 0.
std::uint32_t Crc32Mpeg2(std::span<const std::uint8_t> bytes);

// Collects the sections of one PID and hands on those whose CRC_32 holds. A section cut short
// by a lost packet, a transport error or the start of the next section is dropped.
class SectionCollector {
 public:
  explicit SectionCollector(SectionSink sink) : sink_(std::move(sink)) {}

  void Feed(const TsPacket& packet);

 private:
  // Takes bytes for the section under way; returns how many it used.
  std::size_t Append(std::span<const std::uint8_t> bytes);
  void StartSections(std::span<const std::uint8_t> bytes);

  SectionSink sink_;
  ContinuityCheck continuity_;
  std::vector<std::uint8_t> section_;
  bool collecting_ = false;
};

// The program_map_PIDs of a program association section (table_id 0x00).
void ProgramMapPids(std::span<const std::uint8_t> section, const std::function<void(std::uint16_t)>& visit);

// The elementary PIDs that a program map section (table_id 0x02) marks with the teletext
// descriptor (tag 0x56, EN 300 468).
void TeletextPidsOfProgramMap(std::span<const std::uint8_t> section, const std::function<void(std::uint16_t)>& visit);

}  // namespace tolv::recordings
