// What tolvane tells a user about the input itself: why no teletext was found, which teletext
// PIDs it carries.
#pragma once

#include <optional>
#include <string>

#include "tools/recordings/OnePassReader.h"

namespace tolv::tolvane {

// One line (without "tolvane: " and newline) when the read handed on no teletext: what was seen,
// and a hint where one applies; empty when teletext was found. shownName: the input as messages
// name it.
std::string NothingFoundLine(const recordings::InputReadResult& read, recordings::RecordingFormat format,
                             std::optional<std::uint16_t> pidAsked, const std::string& shownName);

// One line when the input carries teletext on more than one PID; empty otherwise.
std::string SeveralPidsLine(const recordings::InputReadResult& read);

// One line per teletext PID: "0x240 (576) 4416 data units; ita initial page 100, ...", the PID
// read by default marked.
std::string PidListing(const recordings::InputReadResult& read);

}  // namespace tolv::tolvane
