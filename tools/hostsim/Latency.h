// What the latency measurement needs beside the running host: which data callback completes
// which page (the core's own assembly decides, run over the same buffers), and the figures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/hostsim/Feed.h"

namespace tolv::hostsim {

// A page first completed by one call of a feed: the data callback that hands it to the viewer.
struct FirstCompletion {
  std::size_t Call = 0;    // index into Feed::Calls
  std::uint16_t Page = 0;  // the internal number: magazine 8 is 0 (DisplayNumber gives the typed one)
  bool operator==(const FirstCompletion&) const = default;
};

// For each page the call that completes it first, in call order (pages with a hexadecimal
// number, which no one can type, left out).
std::vector<FirstCompletion> FirstCompletions(const Feed& feed);

// The nearest-rank percentile (0 < percent <= 100) of samples; 0 for none.
std::int64_t Percentile(std::vector<std::int64_t> samples, double percent);

}  // namespace tolv::hostsim
