#include "tools/recordings/PsiSection.h"

#include <algorithm>
#include <array>

namespace tolv::recordings {
namespace {

constexpr std::size_t kSectionHeaderSize = 3;  // table_id and the 12-bit section_length
constexpr std::size_t kCrcSize = 4;
constexpr std::uint8_t kStuffingByte = 0xFF;
constexpr std::uint8_t kPatTableId = 0x00;
constexpr std::uint8_t kTeletextDescriptorTag = 0x56;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t crc = i << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    table[i] = crc;
  }
  return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

std::uint16_t Read13BitPid(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>((bytes[0] & 0x1F) << 8 | bytes[1]);
}
std::size_t Read12BitLength(const std::uint8_t* bytes) {
  return static_cast<std::size_t>((bytes[0] & 0x0F) << 8 | bytes[1]);
}

// A long-form section of the given table: its bytes between the 8-byte header and the CRC_32.
std::span<const std::uint8_t> TableBody(std::span<const std::uint8_t> section, std::uint8_t tableId) {
  constexpr std::size_t kLongHeaderSize = 8;
  if (section.size() < kLongHeaderSize + kCrcSize || section[0] != tableId) return {};
  return section.subspan(kLongHeaderSize, section.size() - kLongHeaderSize - kCrcSize);
}

}  // namespace

std::uint32_t Crc32Mpeg2(std::span<const std::uint8_t> bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) crc = (crc << 8) ^ kCrcTable[(crc >> 24) ^ b];
  return crc;
}

void SectionCollector::FeedAny(const TsPacket& packet) {
  if (packet.TransportError) {
    collecting_ = false;
    return;
  }
  if (!packet.HasPayload) return;
  switch (continuity_.Check(packet.ContinuityCounter)) {
    case ContinuityCheck::Verdict::kDuplicate: return;
    case ContinuityCheck::Verdict::kGap: collecting_ = false; break;
    case ContinuityCheck::Verdict::kInSequence: break;
  }
  std::span<const std::uint8_t> payload = packet.Payload;
  if (!packet.PayloadUnitStart) {
    if (collecting_) Append(payload);
    return;
  }
  // pointer_field: how many bytes still belong to the section under way.
  if (payload.empty()) return;
  const std::size_t pointer = payload[0];
  payload = payload.subspan(1);
  if (pointer > payload.size()) {
    collecting_ = false;
    return;
  }
  if (collecting_) Append(payload.first(pointer));
  collecting_ = false;
  StartSections(payload.subspan(pointer));
}

void SectionCollector::StartSections(std::span<const std::uint8_t> bytes) {
  // Sections may follow one another in a packet until stuffing fills the rest.
  while (!bytes.empty() && bytes[0] != kStuffingByte) {
    section_.clear();
    sectionSize_ = 0;
    collecting_ = true;
    bytes = bytes.subspan(Append(bytes));
    if (collecting_) return;  // continues in the next packet
  }
}

std::size_t SectionCollector::Append(std::span<const std::uint8_t> bytes) {
  std::size_t used = 0;
  if (section_.size() < kSectionHeaderSize) {
    used = std::min(bytes.size(), kSectionHeaderSize - section_.size());
    section_.insert(section_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(used));
    sectionSize_ = section_.size();
    if (section_.size() < kSectionHeaderSize) return used;
  }
  const std::size_t total = kSectionHeaderSize + Read12BitLength(&section_[1]);
  const std::size_t take = std::min(bytes.size() - used, total - sectionSize_);
  if (onlyTable_ && section_[0] != *onlyTable_) {
    // Passed over: a section that goes on into later packets is left, since the next one to
    // start begins in a packet whose pointer_field leads to it.
    collecting_ = false;
    return take == total - sectionSize_ ? used + take : bytes.size();
  }
  section_.insert(section_.end(), bytes.begin() + static_cast<std::ptrdiff_t>(used),
                  bytes.begin() + static_cast<std::ptrdiff_t>(used + take));
  used += take;
  sectionSize_ += take;
  if (sectionSize_ == total) {
    collecting_ = false;
    // Tables are sent again every fraction of a second: the section handed on last, come again,
    // needs neither its CRC_32 worked out nor handing on.
    if (section_ == handedOn_) return used;
    if (total >= kSectionHeaderSize + kCrcSize && Crc32Mpeg2(section_) == 0) {
      handedOn_ = section_;
      sink_(section_);
    }
  }
  return used;
}

void ProgramMapPids(std::span<const std::uint8_t> section, const std::function<void(std::uint16_t)>& visit) {
  const std::span<const std::uint8_t> body = TableBody(section, kPatTableId);
  constexpr std::size_t kEntrySize = 4;  // program_number, then the PID
  for (std::size_t i = 0; i + kEntrySize <= body.size(); i += kEntrySize) {
    const unsigned programNumber = body[i] << 8 | body[i + 1];
    if (programNumber != 0) visit(Read13BitPid(&body[i + 2]));  // program 0 names the network PID
  }
}

void TeletextStreamsOfProgramMap(std::span<const std::uint8_t> section,
                                 const std::function<void(std::uint16_t, std::span<const std::uint8_t>)>& visit) {
  const std::span<const std::uint8_t> body = TableBody(section, kPmtTableId);
  constexpr std::size_t kProgramInfoStart = 4;  // after PCR_PID; its 12-bit length comes at 2
  if (body.size() < kProgramInfoStart) return;
  std::size_t i = kProgramInfoStart + Read12BitLength(&body[2]);
  constexpr std::size_t kStreamHeaderSize = 5;  // stream_type, elementary_PID, ES_info_length
  std::vector<std::uint8_t> entries;
  while (i + kStreamHeaderSize <= body.size()) {
    const std::uint16_t pid = Read13BitPid(&body[i + 1]);
    const std::size_t infoEnd = std::min(body.size(), i + kStreamHeaderSize + Read12BitLength(&body[i + 3]));
    bool teletext = false;
    entries.clear();
    for (std::size_t d = i + kStreamHeaderSize; d + 2 <= infoEnd; d += 2u + body[d + 1]) {
      if (body[d] != kTeletextDescriptorTag) continue;
      teletext = true;
      const std::size_t end = std::min(infoEnd, d + 2u + body[d + 1]);
      entries.insert(entries.end(), body.begin() + static_cast<std::ptrdiff_t>(d + 2),
                     body.begin() + static_cast<std::ptrdiff_t>(end));
    }
    if (teletext) visit(pid, entries);
    i = infoEnd;
  }
}

void TeletextPidsOfProgramMap(std::span<const std::uint8_t> section, const std::function<void(std::uint16_t)>& visit) {
  TeletextStreamsOfProgramMap(section, [&](std::uint16_t pid, std::span<const std::uint8_t>) { visit(pid); });
}

}  // namespace tolv::recordings
