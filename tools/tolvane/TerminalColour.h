// Whether show writes colour escape sequences, and the page without them.
#pragma once

#include <string>
#include <string_view>

#include "tools/tolvane/Arguments.h"

namespace tolv::tolvane {

// auto: only when standard output is a terminal.
bool WantsColour(ColorChoice choice, bool outputIsTerminal);

// text without its "ESC [ ... m" sequences: the characters alone.
std::string WithoutColour(std::string_view text);

}  // namespace tolv::tolvane
