// Figures of the host's own process that a long run watches grow or not.
#pragma once

#include <cstdint>

namespace tolv::hostsim {

struct ProcessFigures {
  int Threads = -1;                // -1: not known
  std::int64_t PrivateBytes = -1;  // committed private memory
};

ProcessFigures ReadProcessFigures();

}  // namespace tolv::hostsim
