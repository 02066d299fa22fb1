// Where tolvane finds tolv.fon: named by an environment variable, else beside the program as an
// installation or the build tree lays it out, so a moved or installed tolvane still draws.
#pragma once

#include <string>
#include <vector>

namespace tolv::tolvane {

inline constexpr const char* kFontVariable = "TOLVANE_FONT";

// The places to look, in order: $TOLVANE_FONT alone when it is set and not empty; else
// ../share/tolvane/tolv.fon and ../../fonts/tolv.fon from the program's folder.
std::vector<std::string> FontFileCandidates();

// The first candidate that exists; empty when none does.
std::string FindFontFile(const std::vector<std::string>& candidates);

}  // namespace tolv::tolvane
