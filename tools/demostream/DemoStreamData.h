// The demo broadcast, embedded: the default input of the command-line tools.
#pragma once

#include <cstdint>
#include <span>

namespace tolv::demo {

std::span<const std::uint8_t> DemoStreamBytes();

}  // namespace tolv::demo
