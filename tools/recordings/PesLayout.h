// The fields of a teletext PES packet (EN 300 472): a PES header of private stream 1, one
// data_identifier byte, then the data field of 46-byte data units.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <span>

namespace tolv::recordings {

inline constexpr std::uint8_t kPrivateStream1 = 0xBD;
inline constexpr std::uint8_t kFirstEbuDataIdentifier = 0x10;
inline constexpr std::uint8_t kLastEbuDataIdentifier = 0x1F;
// Start code prefix, stream_id and PES_packet_length.
inline constexpr std::size_t kPesLengthFieldEnd = 6;

// 6 + PES_packet_length, or none while fewer than 6 bytes are known or when the length is 0
// (unbounded: the PES runs to the next one).
inline std::optional<std::size_t> DeclaredPesSize(std::span<const std::uint8_t> pes) {
  if (pes.size() < kPesLengthFieldEnd) return std::nullopt;
  const std::size_t length = static_cast<std::size_t>(pes[4] << 8 | pes[5]);
  if (length == 0) return std::nullopt;
  return kPesLengthFieldEnd + length;
}

// The bytes that decide whether a PES is teletext: a 9-byte header, up to 255 header bytes and the
// data_identifier.
inline constexpr std::size_t kLongestTeletextPrefix = 9 + 255 + 1;

// Where the data field starts, just after the data_identifier; none for a bad start code,
// another stream_id, a header running past the bytes given, or a data_identifier outside the
// EBU teletext range.
inline std::optional<std::size_t> TeletextDataFieldOffset(std::span<const std::uint8_t> pes) {
  constexpr std::size_t kHeaderLengthField = 8;  // PES_header_data_length
  if (pes.size() <= kHeaderLengthField) return std::nullopt;
  if (pes[0] != 0x00 || pes[1] != 0x00 || pes[2] != 0x01 || pes[3] != kPrivateStream1) return std::nullopt;
  const std::size_t identifierAt = kHeaderLengthField + 1 + pes[kHeaderLengthField];
  if (identifierAt >= pes.size()) return std::nullopt;
  const std::uint8_t dataIdentifier = pes[identifierAt];
  if (dataIdentifier < kFirstEbuDataIdentifier || dataIdentifier > kLastEbuDataIdentifier) return std::nullopt;
  return identifierAt + 1;
}

// Whether a PES that starts with these bytes may turn out to be teletext once all of it is in:
// false only where the bytes at hand already say it is not.
inline bool MayBeTeletextPes(std::span<const std::uint8_t> start) {
  constexpr std::uint8_t kPrefix[] = {0x00, 0x00, 0x01, kPrivateStream1};
  for (std::size_t i = 0; i < std::size(kPrefix) && i < start.size(); ++i) {
    if (start[i] != kPrefix[i]) return false;
  }
  constexpr std::size_t kHeaderLengthField = 8;  // PES_header_data_length
  if (start.size() <= kHeaderLengthField) return true;
  const std::size_t identifierAt = kHeaderLengthField + 1 + start[kHeaderLengthField];
  return identifierAt >= start.size() ||
         (start[identifierAt] >= kFirstEbuDataIdentifier && start[identifierAt] <= kLastEbuDataIdentifier);
}

// The presentation time stamp (33 bits, 90 kHz) of a PES whose header carries one (PTS_DTS_flags
// '10' or '11'); none when the flags say there is none or the header is too short to hold it.
inline std::optional<std::uint64_t> PesPts(std::span<const std::uint8_t> pes) {
  constexpr std::size_t kFlagsAt = 7, kHeaderLengthAt = 8, kPtsAt = 9, kPtsSize = 5;
  if (pes.size() < kPtsAt + kPtsSize) return std::nullopt;
  if ((pes[kFlagsAt] & 0x80) == 0 || pes[kHeaderLengthAt] < kPtsSize) return std::nullopt;
  const std::uint8_t* p = pes.data() + kPtsAt;
  // 3 + 15 + 15 bits, each group followed by a marker bit.
  return static_cast<std::uint64_t>(p[0] >> 1 & 0x07) << 30 | static_cast<std::uint64_t>(p[1]) << 22 |
         static_cast<std::uint64_t>(p[2] >> 1) << 15 | static_cast<std::uint64_t>(p[3]) << 7 |
         static_cast<std::uint64_t>(p[4] >> 1);
}

}  // namespace tolv::recordings
