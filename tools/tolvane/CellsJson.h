// The display cells of a page as one line of compact JSON, for scripts and tests.
#pragma once

#include <string>

#include "pages/Lop.h"

namespace tolv::tolvane {

// {"page":P,"subcode":S,"cells":[[[Ch,FgColor,BgColor,CharSet,Mosaic,Flags],...40],...24]} and
// '\n': cells[row][column] as GetDisplayCell returns them, page as a user types it.
std::string CellsJson(CVTPage& page);

}  // namespace tolv::tolvane
