// Builds transport streams byte by byte for the reader tests: packets, PES packets of data
// units, and PAT/PMT sections.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/recordings/PsiSection.h"

namespace tolv::testing {

using Bytes = std::vector<std::uint8_t>;

inline void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

struct PacketOptions {
  bool unitStart = false;
  bool transportError = false;
  bool payload = true;  // false: an adaptation field fills the packet
};

// One 188-byte packet; a payload shorter than 184 bytes is padded by adaptation-field stuffing,
// so the payload ends exactly where payload ends.
inline Bytes TsPacketOf(std::uint16_t pid, std::uint8_t counter, const Bytes& payload, PacketOptions options = {}) {
  Bytes packet = {0x47,
                  static_cast<std::uint8_t>((options.transportError ? 0x80 : 0) | (options.unitStart ? 0x40 : 0) |
                                            (pid >> 8 & 0x1F)),
                  static_cast<std::uint8_t>(pid & 0xFF), 0};
  const std::size_t payloadSize = options.payload ? payload.size() : 0;
  const bool adaptation = payloadSize < 184;
  packet[3] = static_cast<std::uint8_t>((adaptation ? 0x20 : 0) | (options.payload ? 0x10 : 0) | (counter & 0x0F));
  if (adaptation) {
    const std::size_t fieldLength = 183 - payloadSize;
    packet.push_back(static_cast<std::uint8_t>(fieldLength));
    if (fieldLength > 0) packet.push_back(0x00);  // no flags
    while (packet.size() < 188 - payloadSize) packet.push_back(0xFF);
  }
  if (options.payload) packet.insert(packet.end(), payload.begin(), payload.begin() + static_cast<long>(payloadSize));
  return packet;
}

// n data units of 46 bytes, bytes telling unit and position apart; no sync byte among them, so a
// test's junk cannot meet one by chance and form a packet start.
inline Bytes DataUnits(unsigned n, std::uint8_t seed = 0) {
  Bytes units;
  for (unsigned u = 0; u < n; ++u) {
    for (unsigned i = 0; i < 46; ++i) {
      const auto b = static_cast<std::uint8_t>(seed + u * 46 + i);
      units.push_back(b == 0x47 ? 0x48 : b);
    }
  }
  return units;
}

struct PesOptions {
  std::uint8_t streamId = 0xBD;
  std::uint8_t dataIdentifier = 0x10;
  bool unboundedLength = false;  // PES_packet_length 0
  Bytes startCode = {0x00, 0x00, 0x01};
  std::optional<std::uint64_t> pts = std::nullopt;  // 33 bits, written with its marker bits before the stuffing
  std::size_t stuffing = 3;  // header stuffing bytes: 36 without a PTS gives the usual layout, the
                             // data units then falling whole into the packets
};

// A teletext PES: header with an optional PTS and three stuffing bytes, data_identifier, data field.
inline Bytes PesOf(const Bytes& dataField, PesOptions options = {}) {
  Bytes header = {0x80, static_cast<std::uint8_t>(options.pts ? 0x80 : 0x00), 0};
  if (options.pts) {
    const std::uint64_t pts = *options.pts;
    Append(header, {static_cast<std::uint8_t>(0x21 | (pts >> 29 & 0x0E)), static_cast<std::uint8_t>(pts >> 22),
                    static_cast<std::uint8_t>(pts >> 14 | 1), static_cast<std::uint8_t>(pts >> 7),
                    static_cast<std::uint8_t>(pts << 1 | 1)});
  }
  header.insert(header.end(), options.stuffing, 0xFF);
  header[2] = static_cast<std::uint8_t>(header.size() - 3);
  Bytes pes = options.startCode;
  pes.push_back(options.streamId);
  const std::size_t length = options.unboundedLength ? 0 : header.size() + 1 + dataField.size();
  pes.push_back(static_cast<std::uint8_t>(length >> 8));
  pes.push_back(static_cast<std::uint8_t>(length & 0xFF));
  Append(pes, header);
  pes.push_back(options.dataIdentifier);
  Append(pes, dataField);
  return pes;
}

// The packets of one PES from counter on; counter is left at the next value.
inline Bytes Packetize(std::uint16_t pid, const Bytes& pes, std::uint8_t& counter) {
  Bytes stream;
  for (std::size_t at = 0; at < pes.size() || at == 0; at += 184) {
    const Bytes chunk(pes.begin() + static_cast<long>(at),
                      pes.begin() + static_cast<long>(std::min(pes.size(), at + 184)));
    Append(stream, TsPacketOf(pid, counter++, chunk, {.unitStart = at == 0}));
  }
  return stream;
}

// A long-form section with a correct CRC_32.
inline Bytes SectionOf(std::uint8_t tableId, std::uint16_t tableIdExtension, const Bytes& body) {
  const std::size_t length = 5 + body.size() + 4;
  Bytes section = {tableId,
                   static_cast<std::uint8_t>(0xB0 | (length >> 8)),
                   static_cast<std::uint8_t>(length & 0xFF),
                   static_cast<std::uint8_t>(tableIdExtension >> 8),
                   static_cast<std::uint8_t>(tableIdExtension & 0xFF),
                   0xC1,
                   0x00,
                   0x00};
  Append(section, body);
  const std::uint32_t crc = recordings::Crc32Mpeg2(section);
  for (int shift = 24; shift >= 0; shift -= 8) section.push_back(static_cast<std::uint8_t>(crc >> shift));
  return section;
}

inline Bytes PatOf(const std::vector<std::uint16_t>& pmtPids) {
  Bytes body;
  std::uint16_t program = 1;
  for (std::uint16_t pid : pmtPids) {
    Append(body, {static_cast<std::uint8_t>(program >> 8), static_cast<std::uint8_t>(program & 0xFF),
                  static_cast<std::uint8_t>(0xE0 | pid >> 8), static_cast<std::uint8_t>(pid & 0xFF)});
    ++program;
  }
  return SectionOf(0x00, 1, body);
}

struct Stream {
  std::uint16_t pid;
  std::uint8_t streamType;
  Bytes descriptors;
};

// Not inlined: GCC 12 for i686 at -O3 sees a bounds violation that is not there when it inlines
// this into a caller that passes a single stream.
[[gnu::noinline]] inline Bytes PmtOf(std::uint16_t program, const std::vector<Stream>& streams) {
  Bytes body = {0xE1, 0x00, 0xF0, 0x00};  // PCR_PID 0x100, no program descriptors
  for (const Stream& s : streams) {
    Append(body, {s.streamType, static_cast<std::uint8_t>(0xE0 | s.pid >> 8), static_cast<std::uint8_t>(s.pid & 0xFF),
                  static_cast<std::uint8_t>(0xF0 | s.descriptors.size() >> 8),
                  static_cast<std::uint8_t>(s.descriptors.size() & 0xFF)});
    Append(body, s.descriptors);
  }
  return SectionOf(0x02, program, body);
}

// The teletext descriptor (EN 300 468) with one initial page entry; another tag for comparison.
inline const Bytes kTeletextDescriptor = {0x56, 0x05, 'e', 'n', 'g', 0x09, 0x00};
inline const Bytes kSubtitlingDescriptor = {0x59, 0x08, 'e', 'n', 'g', 0x10, 0x00, 0x01, 0x00, 0x01};

// A section in one packet: pointer_field 0, the section, stuffing.
inline Bytes PsiPacketOf(std::uint16_t pid, std::uint8_t counter, const Bytes& section) {
  Bytes payload = {0x00};
  Append(payload, section);
  payload.resize(184, 0xFF);
  return TsPacketOf(pid, counter, payload, {.unitStart = true});
}

// The data units of buffers as the data callback walks them: whole 46-byte units from the start
// of each buffer, a remainder left out.
inline std::vector<Bytes> UnitsSeen(const std::vector<Bytes>& buffers) {
  constexpr std::size_t kUnit = 46;
  std::vector<Bytes> units;
  for (const Bytes& buffer : buffers) {
    for (std::size_t at = 0; at + kUnit <= buffer.size(); at += kUnit) {
      units.emplace_back(buffer.begin() + static_cast<std::ptrdiff_t>(at),
                         buffer.begin() + static_cast<std::ptrdiff_t>(at + kUnit));
    }
  }
  return units;
}

}  // namespace tolv::testing
