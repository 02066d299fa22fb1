// The project's own demo broadcast: the designed pages sent as a teletext service in a transport
// stream, first with the magazines in parallel, then in serial mode, with a running header clock
// and rotating subpages.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/demostream/PageSource.h"

namespace tolv::demo {

struct DemoSchedule {
  unsigned parallelCycles = 12;  // times every page is sent with magazines interleaved
  unsigned serialCycles = 12;    // then in serial mode
  unsigned unitsPerPes = 15;     // one PES every 40 ms
};

// The whole stream; deterministic for the same pages and schedule. When units is given, it also
// receives the data units of every PES as the data callback would see them.
std::vector<std::uint8_t> BuildDemoStream(const std::vector<SourcePage>& pages, const DemoSchedule& schedule = {},
                                          std::vector<std::vector<std::uint8_t>>* units = nullptr);

}  // namespace tolv::demo
