// What the readers hand their data to: the shape of the plug-in's data callback.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace tolv::recordings {

using DataSink = std::function<void(const std::uint8_t* data, std::int32_t length)>;
// The same, with the presentation time stamp of the PES the data field came from (90 kHz), when
// its header has one: what a host needs to deliver a recording at its broadcast pace.
using TimedDataSink =
    std::function<void(const std::uint8_t* data, std::int32_t length, std::optional<std::uint64_t> pts)>;

}  // namespace tolv::recordings
