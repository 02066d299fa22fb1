// Program-specific information (ISO/IEC 13818-1 section 2.4.4): reassembly of the sections of
// one PID from its packets, and the two tables that lead to the teletext PID.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "tools/recordings/TsPacket.h"

namespace tolv::recordings {

using SectionSink = std::function<void(std::span<const std::uint8_t> section)>;

// CRC-32/MPEG-2 over bytes; a whole section including its CRC_32 field yields 0.
std::uint32_t Crc32Mpeg2(std::span<const std::uint8_t> bytes);

// Collects the sections of one PID and hands on those whose CRC_32 holds, but not the one handed
// on last again: a sink takes a table once. A section cut short by a lost packet, a transport
// error or the start of the next section is dropped. With onlyTable, sections of other tables are
// passed over unkept (what follows them is still found).
class SectionCollector {
 public:
  explicit SectionCollector(SectionSink sink, std::optional<std::uint8_t> onlyTable = std::nullopt)
      : sink_(std::move(sink)), onlyTable_(onlyTable) {}

  // Inline: on a PID of PES or of other tables, most packets continue nothing that is kept, and
  // only their continuity counter is followed.
  void Feed(const TsPacket& packet) {
    if (packet.PayloadUnitStart || collecting_) {
      FeedAny(packet);
    } else if (!packet.TransportError && packet.HasPayload) {
      continuity_.Check(packet.ContinuityCounter);
    }
  }

  // The continuity of the packets fed so far.
  const ContinuityCheck& Continuity() const { return continuity_; }

 private:
  void FeedAny(const TsPacket& packet);
  // Takes bytes for the section under way; returns how many it used.
  std::size_t Append(std::span<const std::uint8_t> bytes);
  void StartSections(std::span<const std::uint8_t> bytes);

  SectionSink sink_;
  std::optional<std::uint8_t> onlyTable_;
  ContinuityCheck continuity_;
  std::vector<std::uint8_t> section_;
  std::vector<std::uint8_t> handedOn_;  // the section handed on last
  std::size_t sectionSize_ = 0;         // of the section under way; its header is all of it that is kept
                                        // of a section passed over
  bool collecting_ = false;
};

inline constexpr std::uint8_t kPmtTableId = 0x02;

// The program_map_PIDs of a program association section (table_id 0x00).
void ProgramMapPids(std::span<const std::uint8_t> section, const std::function<void(std::uint16_t)>& visit);

// The elementary PIDs that a program map section (table_id 0x02) marks with the teletext
// descriptor (tag 0x56, EN 300 468).
void TeletextPidsOfProgramMap(std::span<const std::uint8_t> section, const std::function<void(std::uint16_t)>& visit);

// The same PIDs, each with the bodies of its teletext descriptors joined: 5-byte entries of an
// ISO 639 language code, teletext_type (5 bits) and magazine (3 bits), and the page (BCD).
void TeletextStreamsOfProgramMap(std::span<const std::uint8_t> section,
                                 const std::function<void(std::uint16_t, std::span<const std::uint8_t>)>& visit);

}  // namespace tolv::recordings
