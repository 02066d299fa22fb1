// A T42 recording carried as DVB carries teletext: each 42-byte packet becomes a data unit on the
// lines of a video field, the fields travel two to a PES, one PES per 40 ms frame, in a
// transport stream with PAT and PMT. Peers that read only transport streams can then read it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tools/demostream/TsWriter.h"

namespace tolv::demo {

struct T42StreamLayout {
  unsigned linesPerField = 16;  // the lines 7..22 of each field, as an inserter would use them (at most 16)
  unsigned fieldsPerPes = 2;    // one PES per frame
};

// The whole stream, the packets in their order; a trailing partial packet is left out.
std::vector<std::uint8_t> WrapT42(std::span<const std::uint8_t> t42, const TeletextService& service = {},
                                  const T42StreamLayout& layout = {});

}  // namespace tolv::demo
