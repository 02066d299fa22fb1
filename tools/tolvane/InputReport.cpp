#include "tools/tolvane/InputReport.h"

#include <cstdio>

#include "decoder/Vt_fkt.h"
#include "tools/recordings/T42Reader.h"
#include "tools/recordings/TsPacket.h"

namespace tolv::tolvane {
namespace {

using recordings::InputFindings;
using recordings::RecordingFormat;

std::string Hex(std::uint16_t pid) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(pid));
  return text;
}

// A Hamming 8/4 code byte exactly, as a T42 file holds it (in transmission order).
bool IsHammingCode(std::uint8_t byte) {
  const std::uint8_t value = HammingTable[byte];
  return value != kHammingError && detail::EncodeHamming84(value) == byte;
}

// The first packets of head have Hamming 8/4 address bytes, as a T42 file's have (a noisy one
// loses a few; random bytes pass one packet in 256).
bool LooksLikeT42(const std::vector<std::uint8_t>& head) {
  constexpr std::size_t kPackets = 48, kAtLeast = 4;
  const std::size_t packets = std::min(kPackets, head.size() / recordings::kT42PacketSize);
  if (packets < kAtLeast) return false;
  std::size_t decodable = 0;
  for (std::size_t i = 0; i < packets; ++i) {
    const std::uint8_t* address = head.data() + i * recordings::kT42PacketSize;
    if (IsHammingCode(address[0]) && IsHammingCode(address[1])) ++decodable;
  }
  return decodable * 10 >= packets * 9;
}

// Sync bytes 192 bytes apart: transport packets behind 4-byte time codes (M2TS, Blu-ray).
bool LooksLike192BytePackets(const std::vector<std::uint8_t>& head) {
  constexpr std::size_t kSize = 192, kAtLeast = 4;
  for (std::size_t start = 0; start < kSize && start + (kAtLeast - 1) * kSize < head.size(); ++start) {
    bool all = true;
    for (std::size_t at = start; at < head.size() && all; at += kSize) all = head[at] == recordings::kTsSyncByte;
    if (all) return true;
  }
  return false;
}

bool LooksLikeTransportStream(const std::vector<std::uint8_t>& head) {
  constexpr std::size_t kAtLeast = 4;
  if (head.size() < kAtLeast * recordings::kTsPacketSize) return false;
  for (std::size_t i = 0; i < kAtLeast; ++i) {
    if (head[i * recordings::kTsPacketSize] != recordings::kTsSyncByte) return false;
  }
  return true;
}

std::string PidList(const InputFindings& findings) {
  std::string list;
  for (const recordings::TeletextPidFound& found : findings.TeletextPids) {
    list += (list.empty() ? "" : ", ") + Hex(found.Pid);
  }
  return list;
}

// What the bytes look like instead of a transport stream, when they look like something.
std::string FormatHint(const std::vector<std::uint8_t>& head) {
  if (LooksLike192BytePackets(head)) {
    return "; its sync bytes are 192 bytes apart (time-coded packets, as in .m2ts files), which tolvane does not read";
  }
  if (LooksLikeT42(head)) return "; it looks like 42-byte T42 packets: give --t42 or a name ending in .t42";
  return {};
}

std::string TransportStreamLine(const recordings::InputReadResult& read, std::optional<std::uint16_t> pidAsked,
                                const std::string& in) {
  const InputFindings& findings = read.Findings;
  if (findings.Bytes == 0) return "no teletext: " + in + " is empty";
  if (findings.TsPackets == 0) {
    return "no teletext: no transport stream packets in " + in + " (no sync bytes 188 bytes apart)" +
           FormatHint(findings.Head);
  }
  if (pidAsked) {
    std::string line = "no teletext on PID " + Hex(*pidAsked) + " in " + in;
    if (findings.TeletextPids.empty()) return line + "; it carries no teletext PES";
    return line + (findings.TeletextPids.size() == 1 ? "; teletext is on PID " : "; teletext is on PIDs ") +
           PidList(findings);
  }
  if (findings.TeletextPids.empty()) {
    const std::string packets = findings.TsPackets == 1
                                    ? "1 transport stream packet"
                                    : std::to_string(findings.TsPackets) + " transport stream packets";
    return "no teletext: " + packets + " in " + in + ", but no teletext PES" + FormatHint(findings.Head);
  }
  return "no teletext: PID " + Hex(*read.Summary.Pid) + " of " + in + " is marked as teletext but carries none";
}

}  // namespace

std::string NothingFoundLine(const recordings::InputReadResult& read, RecordingFormat format,
                             std::optional<std::uint16_t> pidAsked, const std::string& shownName) {
  if (format == RecordingFormat::kT42) {
    if (read.Summary.T42Units > 0) return {};
    if (read.Findings.Bytes == 0) return "no teletext: " + shownName + " is empty";
    std::string line = "no teletext: " + shownName + " holds no whole 42-byte T42 packet";
    if (LooksLikeTransportStream(read.Findings.Head)) line += "; it looks like a transport stream";
    return line;
  }
  if (read.Summary.Ts.PesDelivered > 0) return {};
  return TransportStreamLine(read, pidAsked, shownName);
}

std::string SeveralPidsLine(const recordings::InputReadResult& read) {
  const InputFindings& findings = read.Findings;
  if (findings.TeletextPids.size() < 2 || !read.Summary.Pid) return {};
  return "the input carries teletext on " + std::to_string(findings.TeletextPids.size()) + " PIDs (" +
         PidList(findings) + "); read: " + Hex(*read.Summary.Pid) + " ('tolvane pids' lists them, --pid chooses)";
}

std::string PidListing(const recordings::InputReadResult& read) {
  static constexpr const char* kTypes[] = {"reserved",           "initial page",
                                           "subtitles",          "additional information",
                                           "programme schedule", "subtitles for the hard of hearing"};
  std::string listing;
  for (const recordings::TeletextPidFound& found : read.Findings.TeletextPids) {
    std::string line =
        Hex(found.Pid) + " (" + std::to_string(found.Pid) + "): " + std::to_string(found.DataUnits) + " data units; ";
    if (!found.Marked) line += "no program map names it";
    for (std::size_t at = 0; at + 5 <= found.Entries.size(); at += 5) {
      const std::uint8_t* entry = found.Entries.data() + at;
      const unsigned type = entry[3] >> 3, magazine = entry[3] & 0x07;
      char page[8];
      std::snprintf(page, sizeof page, "%u%02X", magazine == 0 ? 8 : magazine, entry[4]);
      std::string language;
      for (int i = 0; i < 3; ++i) language += entry[i] >= 0x20 && entry[i] < 0x7F ? static_cast<char>(entry[i]) : '?';
      line +=
          (at == 0 ? "" : ", ") + language + ' ' + (type < std::size(kTypes) ? kTypes[type] : "reserved") + ' ' + page;
    }
    if (found.Marked && found.Entries.empty()) line += "a program map names it";
    if (read.Summary.Pid == found.Pid) line += " [read by default]";
    listing += line + '\n';
  }
  return listing;
}

}  // namespace tolv::tolvane
