#include "pages/RowDecoder.h"

#include <algorithm>
#include <new>

#include "pages/NationalSubsets.h"
#include "pages/SpacingAttributes.h"

namespace tolv {
namespace {

// Double height needs the row below for its lower half: row 23 has none within the page.
constexpr unsigned kLastDoubleHeightRow = kRows - 2;

bool HoldsDoubleHeightCode(const CVTPage& page, unsigned row) {
  const auto& raw = page.Rows[row];
  return raw && std::find(raw->begin(), raw->end(), spacing::kDoubleHeight) != raw->end();
}

// A cell row is created, all cells in their constructed state, the first time it is written.
// Out of memory it stays absent and reads as a row of black spaces.
VtCellRow* CellRow(CVTPage& page, unsigned row) {
  if (!page.Cells[row]) page.Cells[row].reset(new (std::nothrow) VtCellRow{});
  return page.Cells[row].get();
}

// Attributes in force while one row is decoded, with their start-of-row values.
struct RowState {
  Colour fg = 0xFFFFFF;
  Colour bg = 0x000000;
  bool mosaic = false;
  bool separated = false;
  bool doubleHeight = false;
  bool conceal = false;
  bool flash = false;
  bool hold = false;
  std::uint8_t heldMosaic = 0x20;
};

// Codes that take hold in their own cell.
void ApplySetAt(RowState& s, std::uint8_t code) {
  switch (code) {
    case spacing::kSteady: s.flash = false; break;
    case spacing::kNormalSize: s.doubleHeight = false; break;
    case spacing::kConcealDisplay: s.conceal = true; break;
    case spacing::kContiguousMosaics: s.separated = false; break;
    case spacing::kSeparatedMosaics: s.separated = true; break;
    case spacing::kBlackBackground: s.bg = 0x000000; break;
    case spacing::kNewBackground: s.bg = s.fg; break;
    case spacing::kHoldMosaics: s.hold = true; break;
    default: break;
  }
}

// Codes that take hold from the next cell on.
void ApplySetAfter(RowState& s, std::uint8_t code, unsigned row) {
  if (code <= spacing::kAlphaWhite) {
    s.mosaic = false;
    s.conceal = false;
    s.heldMosaic = 0x20;
    s.fg = kTeletextColours[spacing::ColourOfCode(code)];
    return;
  }
  if (code >= spacing::kMosaicBlack && code <= spacing::kMosaicWhite) {
    s.mosaic = true;
    s.conceal = false;
    s.fg = kTeletextColours[spacing::ColourOfCode(code)];
    return;
  }
  switch (code) {
    case spacing::kFlash: s.flash = true; break;
    case spacing::kDoubleHeight:
      if (row <= kLastDoubleHeightRow) {
        if (!s.doubleHeight) s.heldMosaic = 0x20;  // a size change releases the held mosaic
        s.doubleHeight = true;
      }
      break;
    case spacing::kReleaseMosaics: s.hold = false; break;
    default: break;
  }
}

// A placed character replaces what the cell shows and keeps its colours and flags; it is text
// even in a mosaic run. The row state is not touched: a held mosaic and the attributes of a
// spacing code the placement covers go on as the row's bytes say.
void ApplyPlacements(const PageEnhancements& enhancements, unsigned row, VtCellRow& cells) {
  const unsigned liveFrom = enhancements.RewrittenFrom[row];
  ForEachPlacement(enhancements, [&](const Placement& placement) {
    if (placement.Row != row || placement.Column >= liveFrom) return;
    TVtCell& cell = cells[placement.Column];
    cell.Ch = placement.Code;
    cell.CharSet = placement.CharSet;
    cell.Mosaic = 0;
  });
}

// Whether row is decoded from its own bytes (it is not the lower half of the row above).
bool DecodesOwnBytes(const CVTPage& page, unsigned row) { return row == 0 || page.RowFlags[row - 1] == 0; }

}  // namespace

void MarkDoubleHeightRows(CVTPage& page) {
  for (unsigned r = 0; r + 1 < kRows; ++r) {
    page.RowFlags[r] = DecodesOwnBytes(page, r) && HoldsDoubleHeightCode(page, r) ? 1 : 0;
  }
  page.RowFlags[kRows - 1] = 0;
  page.RowFlagsValid = true;
}

bool DecodeRow(CVTPage& page, unsigned row) {
  const auto& raw = page.Rows[row];
  if (!raw) {
    if (page.Cells[row]) page.Cells[row]->fill(TVtCell{});
    return true;
  }
  VtCellRow* cells = CellRow(page, row);
  // Row 0 pairs with row 1 like any other double-height row, so row 1 never keeps stale cells.
  const bool hasLowerHalf = row + 1 < kRows && page.RowFlags[row] == 1;
  VtCellRow* lower = hasLowerHalf ? CellRow(page, row + 1) : nullptr;
  if (cells == nullptr || (hasLowerHalf && lower == nullptr)) return false;
  const std::uint8_t charSet = static_cast<std::uint8_t>(page.CharSet);
  RowState s;
  for (unsigned c = 0; c < kColumns; ++c) {
    const std::uint8_t b = (*raw)[c];
    ApplySetAt(s, b);
    std::uint8_t ch = 0x20;
    if (b >= spacing::kFirstCharacter) {
      if (s.mosaic && (b & 0x20)) s.heldMosaic = b;
      ch = b;
    } else if (s.hold && s.mosaic) {
      ch = s.heldMosaic;
    }
    TVtCell& cell = (*cells)[c];
    FillCell(cell, ch, s.fg, s.bg, s.mosaic, s.separated, s.doubleHeight, s.conceal, s.flash, true, charSet);
    if (lower != nullptr) {
      // Below a double-height cell an invisible cell; below any other a space in its colours.
      FillCell((*lower)[c], 0x20, cell.FgColor, cell.BgColor, cell.Mosaic != 0, true, false, true, true,
               !s.doubleHeight, cell.CharSet);
    }
    if (b < spacing::kFirstCharacter) ApplySetAfter(s, b, row);
  }
  if (page.Enhancements) ApplyPlacements(*page.Enhancements, row, *cells);
  return true;
}

void DecodeRows(CVTPage& page, unsigned firstRow) {
  if (!page.RowFlagsValid) {
    MarkDoubleHeightRows(page);
    firstRow = 0;
  }
  bool complete = true;
  for (unsigned r = firstRow; r < kRows; ++r) {
    if (DecodesOwnBytes(page, r)) complete = DecodeRow(page, r) && complete;
  }
  // A row that found no memory for its cells is decoded again at the next look.
  page.CellsValid = complete;
}

void RowChanged(CVTPage& page, unsigned row) {
  if (row >= kRows) return;
  if (!page.RowFlagsValid) {
    page.CellsValid = false;
    return;
  }
  const std::uint8_t old = page.RowFlags[row];
  page.RowFlags[row] = row + 1 < kRows && DecodesOwnBytes(page, row) && HoldsDoubleHeightCode(page, row) ? 1 : 0;
  if (page.RowFlags[row] == old) {
    if (page.CellsValid && DecodesOwnBytes(page, row) && !DecodeRow(page, row)) page.CellsValid = false;
    return;
  }
  MarkDoubleHeightRows(page);
  if (page.CellsValid) DecodeRows(page, row);
}

TVtCell GetDisplayCell(CVTPage& page, unsigned column, unsigned row) {
  if (!page.CellsValid) DecodeRows(page, 0);
  if (row >= kRows || column >= kColumns || !page.Cells[row]) return TVtCell{};
  TVtCell cell = (*page.Cells[row])[column];
  if (IsPlacedCharSet(cell.CharSet)) return cell;  // its set and code say where its glyph is
  if (cell.Mosaic == 1) {
    if (cell.Ch >= 0x40 && cell.Ch <= 0x5F) {
      cell.Mosaic = 0;  // capitals blast through as text
    } else if (cell.Ch >= 0x60) {
      cell.Ch = static_cast<std::uint8_t>(cell.Ch - 0x20);  // 0x60..0x7F sit at 0x40..0x5F of the mosaic faces
    }
  }
  if (cell.Mosaic != 1) cell.Ch = TextCharacter(cell.CharSet, cell.Ch).FacePosition;
  return cell;
}

}  // namespace tolv
