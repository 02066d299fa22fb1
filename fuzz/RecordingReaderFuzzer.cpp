// Any bytes as a recording: the transport stream reader with its PID choice (first input byte
// even) or the T42 reader (odd), every buffer they deliver going through the data callback; and
// the same bytes in pieces (their size from the first byte) through the one-pass reader, which
// must hand on the very same buffers, whether it keeps every PID's data until the end or hands on
// the data of the PID chosen so far at once (what it handed on before a start over forgotten,
// and a chosen PID it forgot read again). Read in place (the bytes staying where they are, as a
// mapped file's do), it must hand on the same data units in the same order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "decoder/StoreOnlyTarget.h"
#include "tools/recordings/OnePassReader.h"
#include "tools/recordings/Recording.h"

namespace {

// The 46-byte units from the start of each buffer, as the data callback walks them.
std::vector<std::vector<std::uint8_t>> UnitsSeen(const std::vector<std::vector<std::uint8_t>>& buffers) {
  std::vector<std::vector<std::uint8_t>> units;
  for (const std::vector<std::uint8_t>& buffer : buffers) {
    for (std::size_t at = 0; at + 46 <= buffer.size(); at += 46) units.emplace_back(&buffer[at], &buffer[at] + 46);
  }
  return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto format = (data[0] & 1) != 0 ? tolv::recordings::RecordingFormat::kT42
                                         : tolv::recordings::RecordingFormat::kTransportStream;
  const std::span<const std::uint8_t> bytes(data + 1, size - 1);
  tolv::Reception reception;
  std::vector<std::vector<std::uint8_t>> whole, pieces;
  tolv::recordings::ReadRecording(bytes, format, std::nullopt, [&](const std::uint8_t* buffer, std::int32_t length) {
    reception.Receive(buffer, length);
    whole.emplace_back(buffer, buffer + length);
  });
  const std::size_t piece = 1 + (data[0] >> 1) * 3;
  for (const int mode : {0, 1, 2}) {
    const bool asItComes = mode > 0, inPlace = mode == 2;
    pieces.clear();
    const auto keep = [&](const std::uint8_t* buffer, std::int32_t length) {
      pieces.emplace_back(buffer, buffer + length);
    };
    tolv::recordings::OnePassReader reader(
        format, std::nullopt, keep, false,
        asItComes ? tolv::recordings::StartOver([&] { pieces.clear(); }) : tolv::recordings::StartOver());
    std::size_t at = 0;
    while (inPlace && at < bytes.size()) {
      const std::size_t taken = reader.FeedInPlace(bytes.subspan(at, std::min(64 * piece, bytes.size() - at)));
      if (taken == 0) break;
      at += taken;
    }
    for (; at < bytes.size(); at += piece) reader.Feed(bytes.subspan(at, std::min(piece, bytes.size() - at)));
    const tolv::recordings::RecordingSummary summary = reader.Finish();
    if (reader.ChosenPidLost()) {
      pieces.clear();
      tolv::recordings::ReadRecording(bytes, format, summary.Pid, keep);
    }
    if (inPlace ? UnitsSeen(pieces) != UnitsSeen(whole) : pieces != whole) __builtin_trap();
  }
  return 0;
}
