// What `tolvane --help` and `tolvane COMMAND --help` print.
#pragma once

#include <string_view>

#include "tools/tolvane/Arguments.h"

namespace tolv::tolvane {

// The general text for Command::kNone.
std::string_view HelpText(Command command);

}  // namespace tolv::tolvane
