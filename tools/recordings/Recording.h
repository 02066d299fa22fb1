// A recording as a whole: reading it into memory, telling its format from its name, and handing
// its data units to a sink with the reader that fits.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/recordings/DataSink.h"
#include "tools/recordings/FileMapping.h"
#include "tools/recordings/TsReader.h"

namespace tolv::recordings {

enum class RecordingFormat : std::uint8_t { kTransportStream, kT42 };

inline constexpr std::string_view kStandardInputName = "-";

// A name ending in ".t42", in any case, is a T42 file; any other input, standard input included,
// is a transport stream.
RecordingFormat FormatOfInputName(std::string_view name);

// The bytes of a whole input: a regular file mapped where the system can, anything else read.
class InputBytes {
 public:
  std::span<const std::uint8_t> View() const {
    return mapping_ ? mapping_->Bytes() : std::span<const std::uint8_t>(read_);
  }
  // The bytes to keep: moved out when they were read, copied when they are mapped.
  std::vector<std::uint8_t> TakeBytes() && {
    if (!mapping_) return std::move(read_);
    const std::span<const std::uint8_t> bytes = mapping_->Bytes();
    return {bytes.begin(), bytes.end()};
  }

  std::string Error;  // empty on success, else one line naming the input and the problem

 private:
  friend InputBytes ReadWholeInput(const std::string& name, std::istream& standardInput);
  std::vector<std::uint8_t> read_;
  std::unique_ptr<FileMapping> mapping_;
};

// The whole file, or all of standardInput for "-": the PID is chosen from the whole input.
InputBytes ReadWholeInput(const std::string& name, std::istream& standardInput);

struct RecordingSummary {
  std::optional<std::uint16_t> Pid;  // the PID read from a transport stream; none if none found
  TsReadCounts Ts;
  std::size_t T42Units = 0;
};

// Hands the recording's data to sink. A transport stream is read on pid, or on the PID that
// ChooseTeletextPid finds; T42 input has no PIDs, and pid is ignored.
RecordingSummary ReadRecording(std::span<const std::uint8_t> bytes, RecordingFormat format,
                               std::optional<std::uint16_t> pid, const DataSink& sink);

}  // namespace tolv::recordings
