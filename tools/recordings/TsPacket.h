// MPEG-2 transport stream packets (ISO/IEC 13818-1): finding them in a run of bytes and reading
// the few header fields the teletext readers need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

namespace tolv::recordings {

inline constexpr std::size_t kTsPacketSize = 188;
inline constexpr std::uint8_t kTsSyncByte = 0x47;
inline constexpr std::uint16_t kPatPid = 0x0000;

struct TsPacket {
  std::uint16_t Pid = 0;
  bool TransportError = false;
  bool PayloadUnitStart = false;
  // The adaptation_field_control says a payload follows; only such packets advance the counter.
  bool HasPayload = false;
  std::uint8_t ContinuityCounter = 0;
  // Empty when there is none, or when a damaged adaptation field claims more than the packet.
  std::span<const std::uint8_t> Payload;
};

// Follows the continuity_counter of one PID's packets that carry a payload.
class ContinuityCheck {
 public:
  enum class Verdict : std::uint8_t { kInSequence, kDuplicate, kGap };

  // The multiplexer may send a packet twice; a second repeat means packets were lost.
  Verdict Check(std::uint8_t counter) {
    if (!known_) {
      known_ = true;
      last_ = counter;
      return Verdict::kInSequence;
    }
    if (counter == last_) {
      if (repeated_) return Verdict::kGap;
      repeated_ = true;
      return Verdict::kDuplicate;
    }
    const bool inSequence = counter == ((last_ + 1) & 0x0F);
    last_ = counter;
    repeated_ = false;
    return inSequence ? Verdict::kInSequence : Verdict::kGap;
  }

 private:
  bool known_ = false;
  bool repeated_ = false;
  std::uint8_t last_ = 0;
};

// Reads the header of the 188 bytes at packet, which start with the sync byte. Inline: it runs
// for every packet of the input.
inline TsPacket ParseTsPacket(const std::uint8_t* packet) {
  TsPacket result;
  result.TransportError = (packet[1] & 0x80) != 0;
  result.PayloadUnitStart = (packet[1] & 0x40) != 0;
  result.Pid = static_cast<std::uint16_t>((packet[1] & 0x1F) << 8 | packet[2]);
  result.ContinuityCounter = packet[3] & 0x0F;
  const unsigned adaptationControl = (packet[3] >> 4) & 0x03;
  result.HasPayload = (adaptationControl & 0x01) != 0;
  if (!result.HasPayload) return result;
  // With an adaptation field its length byte comes first, then the field, then the payload.
  const std::size_t payloadStart = adaptationControl == 0x03 ? 5u + packet[4] : 4u;
  if (payloadStart < kTsPacketSize) result.Payload = {packet + payloadStart, kTsPacketSize - payloadStart};
  return result;
}

// A packet starts at a sync byte that is followed by another one a packet later, or by the end of
// the input; anywhere else the scan moves on by one byte. Each byte is looked at a bounded number
// of times, so any input is scanned in linear time. With atEnd false, input is only the input so
// far: the scan stops where the next bytes would decide, and returns how many bytes it is done
// with; the rest comes again with what follows.
template <typename Visitor>
std::size_t ScanTsPackets(std::span<const std::uint8_t> input, bool atEnd, Visitor&& visit) {
  // A scan touches one line of each packet, far apart in a large input: asking for the header
  // some packets ahead keeps the scan from waiting on memory at every packet.
  constexpr std::size_t kPrefetchDistance = 16 * kTsPacketSize;
  const std::size_t size = input.size();
  std::size_t offset = 0;
  while (size - offset >= kTsPacketSize) {
    const std::size_t next = offset + kTsPacketSize;
    if (size - offset > kPrefetchDistance + kTsPacketSize) {
      const std::uint8_t* ahead = input.data() + offset + kPrefetchDistance;
      __builtin_prefetch(ahead);
      __builtin_prefetch(ahead + 64);
      __builtin_prefetch(ahead + 128);
      __builtin_prefetch(ahead + 187);
    }
    if (input[offset] == kTsSyncByte && next == size && !atEnd) break;
    if (input[offset] == kTsSyncByte && (next == size || input[next] == kTsSyncByte)) {
      visit(ParseTsPacket(input.data() + offset));
      offset = next;
    } else {
      ++offset;
    }
  }
  return atEnd ? size : offset;
}

// Every packet of a whole input.
template <typename Visitor>
void ForEachTsPacket(std::span<const std::uint8_t> input, Visitor&& visit) {
  ScanTsPackets(input, true, std::forward<Visitor>(visit));
}

}  // namespace tolv::recordings
