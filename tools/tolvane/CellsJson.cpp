#include "tools/tolvane/CellsJson.h"

#include "pages/RowDecoder.h"

namespace tolv::tolvane {

std::string CellsJson(CVTPage& page) {
  std::string json = "{\"page\":" + std::to_string(DisplayNumber(page.Number())) +
                     ",\"subcode\":" + std::to_string(page.GetSubcode()) + ",\"cells\":[";
  for (unsigned row = 0; row < kRows; ++row) {
    json += row == 0 ? "[" : ",[";
    for (unsigned column = 0; column < kColumns; ++column) {
      const TVtCell cell = GetDisplayCell(page, column, row);
      json += column == 0 ? "[" : ",[";
      json += std::to_string(cell.Ch) + ',' + std::to_string(cell.FgColor) + ',' + std::to_string(cell.BgColor) + ',' +
              std::to_string(cell.CharSet) + ',' + std::to_string(cell.Mosaic) + ',' + std::to_string(cell.Flags) + ']';
    }
    json += ']';
  }
  json += "]}\n";
  return json;
}

}  // namespace tolv::tolvane
