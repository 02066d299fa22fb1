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
  //
  // A stable packet's bytes stay where they are until the read ends (a mapped file). A teletext
  // PES that starts with one, its header whole in that packet, is then not copied: its payloads
  // are noted where they lie and handed on at its end, each as a buffer of its own when the data
  // units fall whole into them (as they do in the usual layout, PES_header_data_length 0x24), else
  // joined into one. A packet that is not stable has them copied after all.
  void Feed(const TsPacket& packet, bool stable = false) {
    if (packet.Pid != pid_) return;
    if (packet.PayloadUnitStart || packet.TransportError || (collecting_ && keeping_)) {
      FeedAny(packet, stable);
      return;
    }
    ++counts_.Packets;
    if (packet.HasPayload) PassOver(packet);
  }
  // The end of the input: only a PES of unbounded length may still complete.
  void Finish() { EndAtNextStart(); }
  // Before the first packet: the PID's packets so far were followed elsewhere, to here.
  void ContinueFrom(const ContinuityCheck& continuity) { continuity_ = continuity; }

  const TsReadCounts& Counts() const { return counts_; }

 private:
  void FeedAny(const TsPacket& packet, bool stable);
  // A packet with a payload, by its continuity counter: false for a repeat, to be ignored; after a
  // gap the PES under way is dropped.
  bool Follows(const TsPacket& packet) {
    switch (continuity_.Check(packet.ContinuityCounter)) {
      case ContinuityCheck::Verdict::kDuplicate: ++counts_.Duplicates; return false;
      case ContinuityCheck::Verdict::kGap:
        ++counts_.ContinuityGaps;
        Drop();
        return true;
      case ContinuityCheck::Verdict::kInSequence: return true;
    }
    return true;
  }
  // A packet with a payload that starts no PES and holds nothing to keep.
  void PassOver(const TsPacket& packet) {
    if (!Follows(packet) || !collecting_) return;
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
  // The payloads noted in place, copied into pes_; from then on the PES is collected by copy.
  void Gather();
  // Hands on the data field of the PES noted in place, size bytes of it being the PES.
  void DeliverInPlace(std::size_t size);

  std::uint16_t pid_;
  DataSink sink_;
  TimedDataSink timedSink_;  // used instead of sink_ when set
  ContinuityCheck continuity_;
  // The PES under way: all of it while it may be teletext, else its first bytes, which hold its
  // declared length; so a video PES costs no memory.
  std::vector<std::uint8_t> pes_;
  std::vector<std::span<const std::uint8_t>> pieces_;  // the PES noted in place, when inPlace_
  std::optional<std::size_t> declaredInPlace_;         // its declared size
  bool inPlace_ = false;
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
