#include "tools/recordings/TsReader.h"

#include <algorithm>
#include <limits>

#include "tools/recordings/PesLayout.h"

namespace tolv::recordings {

void PesCollector::FeedAny(const TsPacket& packet) {
  ++counts_.Packets;
  if (packet.TransportError) {
    ++counts_.TransportErrors;
    Drop();
    return;
  }
  if (!packet.HasPayload) return;
  switch (continuity_.Check(packet.ContinuityCounter)) {
    case ContinuityCheck::Verdict::kDuplicate: ++counts_.Duplicates; return;
    case ContinuityCheck::Verdict::kGap:
      ++counts_.ContinuityGaps;
      Drop();
      break;
    case ContinuityCheck::Verdict::kInSequence: break;
  }
  if (packet.PayloadUnitStart) {
    EndAtNextStart();
    pes_.clear();
    pesSize_ = 0;
    keeping_ = true;
    known_ = false;
    collecting_ = true;
  }
  if (collecting_) Append(packet.Payload);
}

void PesCollector::EndAtNextStart() {
  if (!collecting_) return;
  // A PES of declared length would have been delivered the moment it was whole.
  if (pes_.size() >= kPesLengthFieldEnd && !DeclaredPesSize(pes_)) {
    Deliver();
  } else {
    Drop();
  }
}

void PesCollector::Append(std::span<const std::uint8_t> bytes) {
  pesSize_ += bytes.size();
  if (keeping_) {
    pes_.insert(pes_.end(), bytes.begin(), bytes.end());
    // Once the longest header that could come before a data_identifier is in, the PES is known.
    if (!known_ && pes_.size() >= kLongestTeletextPrefix) {
      known_ = true;
      keeping_ = TeletextDataFieldOffset(pes_).has_value();
    }
  }
  const std::optional<std::size_t> declared = DeclaredPesSize(pes_);
  if (declared && pesSize_ >= *declared) {
    if (keeping_) pes_.resize(*declared);  // what follows the declared length is not part of the PES
    Deliver();
  }
}

void PesCollector::Deliver() {
  collecting_ = false;
  const std::optional<std::size_t> dataField = keeping_ ? TeletextDataFieldOffset(pes_) : std::nullopt;
  // The callback takes a 32-bit length; a data field beyond it cannot come from a real PES.
  if (!dataField || pes_.size() - *dataField > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    ++counts_.PesSkipped;
    return;
  }
  ++counts_.PesDelivered;
  const auto length = static_cast<std::int32_t>(pes_.size() - *dataField);
  if (timedSink_) {
    timedSink_(pes_.data() + *dataField, length, PesPts(pes_));
  } else {
    sink_(pes_.data() + *dataField, length);
  }
}

void PesCollector::Drop() {
  if (collecting_) ++counts_.PesDropped;
  collecting_ = false;
}

TsReadCounts ReadTransportStream(std::span<const std::uint8_t> input, std::uint16_t pid, const DataSink& sink) {
  PesCollector collector(pid, sink);
  ForEachTsPacket(input, [&](const TsPacket& packet) { collector.Feed(packet); });
  collector.Finish();
  return collector.Counts();
}

TsReadCounts ReadTransportStreamTimed(std::span<const std::uint8_t> input, std::uint16_t pid,
                                      const TimedDataSink& sink) {
  PesCollector collector(pid, sink);
  ForEachTsPacket(input, [&](const TsPacket& packet) { collector.Feed(packet); });
  collector.Finish();
  return collector.Counts();
}

}  // namespace tolv::recordings
