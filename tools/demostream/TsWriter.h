// A transport stream writer for one teletext service: PAT, PMT with the teletext descriptor,
// and teletext PES packets laid out as EN 300 472 asks (aligned units, stuffing, a PTS).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tolv::demo {

using DataUnit = std::array<std::uint8_t, 46>;

struct TeletextService {
  std::uint16_t programNumber = 1;
  std::uint16_t pmtPid = 0x100;
  std::uint16_t teletextPid = 0x101;
  std::array<char, 3> language = {'d', 'e', 'u'};  // ISO 639-2
  unsigned initialPage = 100;                      // announced in the teletext descriptor
};

class TsWriter {
 public:
  explicit TsWriter(const TeletextService& service) : service_(service) {}

  void WritePat();
  void WritePmt();
  // One PES with the given units, padded with stuffing units so that PES_packet_length + 6 is a
  // multiple of 184 and every unit starts at the same offset of a packet.
  void WritePes(std::uint64_t pts, const std::vector<DataUnit>& units);

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  void WriteSection(std::uint16_t pid, const std::vector<std::uint8_t>& section);
  void WritePackets(std::uint16_t pid, const std::vector<std::uint8_t>& payload);

  TeletextService service_;
  std::array<std::uint8_t, 0x2000> continuity_{};
  std::vector<std::uint8_t> bytes_;
};

// The CRC of MPEG-2 PSI sections (polynomial 0x04C11DB7, initial value all ones).
std::uint32_t Crc32Mpeg(const std::uint8_t* data, std::size_t length);

}  // namespace tolv::demo
