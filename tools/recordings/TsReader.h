// The transport stream reader: the data field of every complete teletext PES on one PID, each
// as one buffer, the way the host's PID filter hands them to the data callback.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "tools/recordings/DataSink.h"
#include "tools/recordings/PesLayout.h"
#include "tools/recordings/TsPacket.h"

namespace tolv::recordings {

struct TsReadCounts {
  std::size_t Packets = 0;          // packets of the PID
  std::size_t TransportErrors = 0;  // packets with transport_error_indicator set
  std::size_t Duplicates = 0;       // repeated packets ignored
  std::size_t ContinuityGaps = 0;
  std::size_t PesDelivered = 0;
  std::size_t PesDropped = 0;  // cut short by an error, a gap, the next PES or the end
  std::size_t PesSkipped = 0;  // complete, but not EBU teletext
};

// Collects the PES packets of one PID from its transport packets.
class PesCollector {
 public:
  PesCollector(std::uint16_t pid, DataSink sink) : pid_(pid), sink_(std::move(sink)) {}
  PesCollector(std::uint16_t pid, TimedDataSink sink) : pid_(pid), timedSink_(std::move(sink)) {}

  // Packets of other PIDs are ignored. Inline: most packets of a PID continue a PES that is not
  // kept (video, audio) or come between two PES, and are only counted.
  void Feed(const TsPacket& packet) {
    if (packet.Pid != pid_) return;
    if (packet.PayloadUnitStart || packet.TransportError || (collecting_ && keeping_)) {
      FeedAny(packet);
      return;
    }
    ++counts_.Packets;
    if (packet.HasPayload) PassOver(packet);
  }
  // The end of the input: only a PES of unbounded length may still complete.
  void Finish() { EndAtNextStart(); }

  const TsReadCounts& Counts() const { return counts_; }

 private:
  void FeedAny(const TsPacket& packet);
  // A packet with a payload that starts no PES and holds nothing to keep.
  void PassOver(const TsPacket& packet) {
    switch (continuity_.Check(packet.ContinuityCounter)) {
      case ContinuityCheck::Verdict::kDuplicate: ++counts_.Duplicates; return;
      case ContinuityCheck::Verdict::kGap:
        ++counts_.ContinuityGaps;
        Drop();
        return;
      case ContinuityCheck::Verdict::kInSequence: break;
    }
    if (!collecting_) return;
    pesSize_ += packet.Payload.size();
    // A PES not kept is passed over to its declared end, and counted there as skipped.
    const std::optional<std::size_t> declared = DeclaredPesSize(pes_);
    if (declared && pesSize_ >= *declared) {
      collecting_ = false;
      ++counts_.PesSkipped;
    }
  }
  void EndAtNextStart();
  void Append(std::span<const std::uint8_t> bytes);
  void Deliver();
  void Drop();

  std::uint16_t pid_;
  DataSink sink_;
  TimedDataSink timedSink_;  // used instead of sink_ when set
  ContinuityCheck continuity_;
  // The PES under way: all of it while it may be teletext, else its first bytes, which hold its
  // declared length; so a video PES costs no memory.
  std::vector<std::uint8_t> pes_;
  std::size_t pesSize_ = 0;
  bool keeping_ = false;
  bool known_ = false;  // whether the PES is teletext has been decided
  bool collecting_ = false;
  TsReadCounts counts_;
};

TsReadCounts ReadTransportStream(std::span<const std::uint8_t> input, std::uint16_t pid, const DataSink& sink);
// The same buffers, each with its PES's time stamp.
TsReadCounts ReadTransportStreamTimed(std::span<const std::uint8_t> input, std::uint16_t pid,
                                      const TimedDataSink& sink);

}  // namespace tolv::recordings
