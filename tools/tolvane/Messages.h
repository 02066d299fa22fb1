// How tolvane names files and problems in its messages: one format for every failure.
#pragma once

#include <string>
#include <string_view>

namespace tolv::tolvane {

// name in single quotes, with control characters (and a backslash) written as C escapes, so a
// name from a shell or a directory listing cannot move the cursor or break the line.
std::string Quoted(std::string_view name);

// "cannot <action> 'name'", then ": " and the system's reason when error is not 0.
std::string CannotDo(std::string_view action, std::string_view name, int error);

}  // namespace tolv::tolvane
