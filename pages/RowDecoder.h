// Level 1 spacing attributes of a page's rows decoded into display cells, lazily: a page
// decodes when a cell is asked for after its rows changed, and a row rewritten in place decodes
// only what it affects.
#pragma once

#include <cstdint>

#include "pages/Lop.h"
#include "pages/VtCell.h"

namespace tolv {

// RowFlags[r] = 1 where row r holds a double-height code (0x0D) and is not itself the lower
// half of the row above; row 23 is never marked.
void MarkDoubleHeightRows(CVTPage& page);
// Decodes raw row `row` into its cells and, for a double-height row, the lower half below it;
// false when there was no memory for a cell row.
bool DecodeRow(CVTPage& page, unsigned row);
// Decodes rows firstRow..23 (all of them when the row flags are stale).
void DecodeRows(CVTPage& page, unsigned firstRow);
// Called right after raw row `row` was rewritten in place.
void RowChanged(CVTPage& page, unsigned row);
// The cell to draw, with mosaic blast-through applied and a text character at its position in
// the text face for the cell's character set.
TVtCell GetDisplayCell(CVTPage& page, unsigned column, unsigned row);

}  // namespace tolv
