#include "tools/demostream/TsWriter.h"

namespace tolv::demo {
namespace {

constexpr std::size_t kPacketSize = 188;
constexpr std::size_t kPayloadSize = 184;
constexpr std::uint8_t kPesHeaderDataLength = 0x24;  // the PES header then ends where a unit would
constexpr std::uint8_t kDataIdentifier = 0x10;       // EBU data, EN 300 472

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

DataUnit StuffingUnit() {
  DataUnit u;
  u.fill(0xFF);
  u[1] = 0x2C;
  return u;
}

}  // namespace

std::uint32_t Crc32Mpeg(const std::uint8_t* data, std::size_t length) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= static_cast<std::uint32_t>(data[i]) << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

void TsWriter::WritePackets(std::uint16_t pid, const std::vector<std::uint8_t>& payload) {
  for (std::size_t offset = 0; offset < payload.size(); offset += kPayloadSize) {
    const std::size_t chunk = std::min(kPayloadSize, payload.size() - offset);
    const bool start = offset == 0;
    bytes_.push_back(0x47);
    bytes_.push_back(static_cast<std::uint8_t>((start ? 0x40 : 0) | (pid >> 8)));
    bytes_.push_back(static_cast<std::uint8_t>(pid));
    const std::size_t stuffing = kPayloadSize - chunk;
    const std::uint8_t cc = continuity_[pid]++ & 0x0F;
    if (stuffing == 0) {
      bytes_.push_back(static_cast<std::uint8_t>(0x10 | cc));  // payload only
    } else {
      // The last packet of a short payload is filled by an adaptation field of stuffing bytes.
      bytes_.push_back(static_cast<std::uint8_t>(0x30 | cc));
      bytes_.push_back(static_cast<std::uint8_t>(stuffing - 1));
      if (stuffing > 1) {
        bytes_.push_back(0x00);
        bytes_.insert(bytes_.end(), stuffing - 2, 0xFF);
      }
    }
    bytes_.insert(bytes_.end(), payload.begin() + static_cast<std::ptrdiff_t>(offset),
                  payload.begin() + static_cast<std::ptrdiff_t>(offset + chunk));
  }
}

void TsWriter::WriteSection(std::uint16_t pid, const std::vector<std::uint8_t>& section) {
  std::vector<std::uint8_t> payload{0x00};  // pointer_field: the section starts right away
  payload.insert(payload.end(), section.begin(), section.end());
  const std::uint32_t crc = Crc32Mpeg(section.data(), section.size());
  for (int shift = 24; shift >= 0; shift -= 8) payload.push_back(static_cast<std::uint8_t>(crc >> shift));
  // PSI packets pad with 0xFF after the section rather than with an adaptation field.
  payload.resize(kPayloadSize, 0xFF);
  WritePackets(pid, payload);
}

void TsWriter::WritePat() {
  std::vector<std::uint8_t> s{0x00};  // table_id
  Put16(s, 0xB000 | 13);              // section_syntax_indicator, section_length
  Put16(s, 1);                        // transport_stream_id
  s.insert(s.end(), {0xC1, 0x00, 0x00});
  Put16(s, service_.programNumber);
  Put16(s, 0xE000 | service_.pmtPid);
  WriteSection(0x0000, s);
}

void TsWriter::WritePmt() {
  // Teletext descriptor: language, teletext_type 1 (initial page), magazine and BCD page.
  const unsigned magazine = service_.initialPage / 100 % 8;
  const unsigned units = service_.initialPage % 100;
  std::vector<std::uint8_t> descriptor{0x56, 5};
  for (char c : service_.language) descriptor.push_back(static_cast<std::uint8_t>(c));
  descriptor.push_back(static_cast<std::uint8_t>(1 << 3 | magazine));
  descriptor.push_back(static_cast<std::uint8_t>((units / 10) << 4 | units % 10));

  std::vector<std::uint8_t> es{0x06};  // PES private data
  Put16(es, 0xE000 | service_.teletextPid);
  Put16(es, 0xF000 | descriptor.size());
  es.insert(es.end(), descriptor.begin(), descriptor.end());

  std::vector<std::uint8_t> s{0x02};
  Put16(s, 0xB000 | (9 + es.size() + 4));
  Put16(s, service_.programNumber);
  s.insert(s.end(), {0xC1, 0x00, 0x00});
  Put16(s, 0xE000 | 0x1FFF);  // no PCR: the stream carries teletext alone
  Put16(s, 0xF000);           // no program descriptors
  s.insert(s.end(), es.begin(), es.end());
  WriteSection(service_.pmtPid, s);
}

void TsWriter::WritePes(std::uint64_t pts, const std::vector<DataUnit>& units) {
  std::vector<DataUnit> padded = units;
  // Header (45 bytes) plus data_identifier is one unit's length; the total must fill whole packets.
  while ((padded.size() + 1) % 4 != 0) padded.push_back(StuffingUnit());
  const std::size_t total = (padded.size() + 1) * 46;

  std::vector<std::uint8_t> pes{0x00, 0x00, 0x01, 0xBD};
  Put16(pes, static_cast<unsigned>(total - 6));
  pes.push_back(0x84);  // '10', data_alignment_indicator
  pes.push_back(0x80);  // PTS only
  pes.push_back(kPesHeaderDataLength);
  pes.push_back(static_cast<std::uint8_t>(0x21 | ((pts >> 29) & 0x0E)));
  Put16(pes, static_cast<unsigned>(((pts >> 14) & 0xFFFE) | 1));
  Put16(pes, static_cast<unsigned>(((pts << 1) & 0xFFFE) | 1));
  pes.insert(pes.end(), kPesHeaderDataLength - 5, 0xFF);
  pes.push_back(kDataIdentifier);
  for (const DataUnit& u : padded) pes.insert(pes.end(), u.begin(), u.end());
  WritePackets(service_.teletextPid, pes);
}

}  // namespace tolv::demo
