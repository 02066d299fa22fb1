// Printing pictures, one a sheet: the system's print dialog (printer, copies, the range of
// sheets), then each picture scaled to fill the printable area with its aspect kept.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/Backend.h"
#include "ui/Types.h"

namespace tolv::ui {

struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<TColor> Pixels;  // Height rows of Width colours, top row first
};

// The picture of sheet 0..Sheets-1, drawn when the sheet is printed; nothing when it cannot be
// had (the job then fails).
using SheetPicture = std::function<std::optional<Picture>(std::size_t sheet)>;

struct PrintRequest {
  std::string DocumentName;  // the job's name in the print queue
  std::size_t Sheets = 0;    // the dialog offers the range 1..Sheets, all of them preset
  SheetPicture Draw;
};

enum class PrintResult : std::uint8_t {
  kPrinted,
  kCancelled,  // the user cancelled the dialog: nothing to say
  kNoPrinter,  // no printer is installed
  kFailed,     // the dialog or the job failed; Reason says why
};

struct PrintOutcome {
  PrintResult Result = PrintResult::kCancelled;
  std::string Reason;  // the system's words, for kFailed
  std::size_t SheetsPrinted = 0;
};

inline PrintOutcome Print(Form* owner, const PrintRequest& request) { return CurrentBackend().Print(owner, request); }

}  // namespace tolv::ui
