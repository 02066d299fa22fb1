#include "tools/recordings/TsReader.h"

#include <algorithm>
#include <limits>

#include "decoder/Vt_fkt.h"
#include "tools/recordings/PesLayout.h"

namespace tolv::recordings {

void PesCollector::FeedAny(const TsPacket& packet, bool stable) {
  ++counts_.Packets;
  if (packet.TransportError) {
    ++counts_.TransportErrors;
    Drop();
    return;
  }
  if (!packet.HasPayload || !Follows(packet)) return;
  if (packet.PayloadUnitStart) {
    EndAtNextStart();
    pes_.clear();
    pesSize_ = 0;
    keeping_ = true;
    known_ = false;
    collecting_ = true;
    inPlace_ = stable && !timedSink_ && TeletextDataFieldOffset(packet.Payload).has_value();
    if (inPlace_) declaredInPlace_ = DeclaredPesSize(packet.Payload);
  }
  if (!collecting_) return;
  if (inPlace_ && stable) {
    pieces_.push_back(packet.Payload);
    pesSize_ += packet.Payload.size();
    if (declaredInPlace_ && pesSize_ >= *declaredInPlace_) DeliverInPlace(*declaredInPlace_);
    return;
  }
  if (inPlace_) Gather();
  Append(packet.Payload);
}

void PesCollector::Gather() {
  inPlace_ = false;
  pes_.clear();
  for (const std::span<const std::uint8_t> piece : pieces_) pes_.insert(pes_.end(), piece.begin(), piece.end());
  pieces_.clear();
  // As if the pieces had come by Append: the bytes that decide whether the PES is teletext, if in.
  if (pes_.size() >= kLongestTeletextPrefix) {
    known_ = true;
    keeping_ = TeletextDataFieldOffset(pes_).has_value();
  }
}

void PesCollector::EndAtNextStart() {
  if (!collecting_) return;
  if (inPlace_) {
    // Its header was whole in the first packet, so its length is known.
    if (!declaredInPlace_) {
      DeliverInPlace(pesSize_);
    } else {
      Drop();
    }
    return;
  }
  // A PES of declared length would have been delivered the moment it was whole.
  if (pes_.size() >= kPesLengthFieldEnd && !DeclaredPesSize(pes_)) {
    Deliver();
  } else {
    Drop();
  }
}

void PesCollector::DeliverInPlace(std::size_t size) {
  const std::size_t dataField = *TeletextDataFieldOffset(pieces_.front());
  // Each piece's part of the data field, the last one cut at the PES's end.
  const auto forEachPart = [&](const auto& visit) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < pieces_.size() && at < size; at += pieces_[i].size(), ++i) {
      const std::size_t from = i == 0 ? dataField : 0;
      const std::size_t end = std::min(pieces_[i].size(), size - at);
      if (from < end) visit(pieces_[i].subspan(from, end - from));
    }
  };
  // The parts go one by one only if the decoder then sees the units a joined data field holds:
  // every part but the last made of whole units.
  bool separable =
      dataField < size && size - dataField <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  bool unitCut = false;
  forEachPart([&](std::span<const std::uint8_t> part) {
    separable = separable && !unitCut;
    unitCut = part.size() % kDataUnitSize != 0;
  });
  if (!separable) {
    Gather();
    if (pes_.size() > size) pes_.resize(size);
    Deliver();
    return;
  }
  collecting_ = false;
  inPlace_ = false;
  ++counts_.PesDelivered;
  forEachPart([&](std::span<const std::uint8_t> part) { sink_(part.data(), static_cast<std::int32_t>(part.size())); });
  pieces_.clear();
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
  inPlace_ = false;
  pieces_.clear();
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
