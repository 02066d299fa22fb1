// Any bytes as a recording: the transport stream reader with its PID choice (first input byte
// even) or the T42 reader (odd), every buffer they deliver going through the data callback.
#include <cstddef>
#include <cstdint>
#include <span>

#include "decoder/StoreOnlyTarget.h"
#include "tools/recordings/Recording.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto format = (data[0] & 1) != 0 ? tolv::recordings::RecordingFormat::kT42
                                         : tolv::recordings::RecordingFormat::kTransportStream;
  tolv::Reception reception;
  tolv::recordings::ReadRecording(
      std::span(data + 1, size - 1), format, std::nullopt,
      [&](const std::uint8_t* buffer, std::int32_t length) { reception.Receive(buffer, length); });
  return 0;
}
