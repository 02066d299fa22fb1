// What the readers hand their data to: the shape of the plug-in's data callback.
#pragma once

#include <cstdint>
#include <functional>

namespace tolv::recordings {

using DataSink = std::function<void(const std::uint8_t* data, std::int32_t length)>;

}  // namespace tolv::recordings
