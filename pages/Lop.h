// The page record (one teletext page with its rows and display cells) and the page memory
// (every page and subpage received since it was last cleared).
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <new>

#include "pages/Enhancements.h"
#include "pages/Header.h"
#include "pages/VtCell.h"

namespace tolv {

using VtRow = std::array<std::uint8_t, kColumns>;

// Allocations of the data path never throw: a null result means the memory ran out, and the
// caller drops that row or page. A new row is 40 spaces.
inline std::unique_ptr<VtRow> NewRow() noexcept {
  std::unique_ptr<VtRow> row(new (std::nothrow) VtRow);
  if (row) row->fill(0x20);  // a row written only in part shows blanks, never stale memory
  return row;
}

class CVTPage : public TVtHeader {
 public:
  CVTPage() = default;
  CVTPage(const CVTPage&) = delete;
  CVTPage& operator=(const CVTPage&) = delete;
  ~CVTPage() = default;

  static std::unique_ptr<CVTPage> New() noexcept;

  std::int8_t CharSet = 1;    // character set selector handed to every cell
  std::uint8_t Reserved = 0;  // copied with the header, no meaning

  // Raw rows 0..23 in 7-bit characters; null = never received.
  std::array<std::unique_ptr<VtRow>, kRows> Rows;
  // Display cells of each row, built on demand by the cell decoder; null until first decoded.
  std::array<std::unique_ptr<VtCellRow>, kRows> Cells;
  // Per row: it holds a double-height code, so the row below is its lower half.
  std::array<std::uint8_t, kRows> RowFlags{};
  bool CellsValid = false;
  bool RowFlagsValid = false;
  // The packets X/26 of the transmission; null for the many pages that have none.
  std::unique_ptr<PageEnhancements> Enhancements;

  std::uint16_t GetSubcode() const { return Subcode; }
  std::uint16_t Number() const { return PageNumber(*this); }

  // Keeps row as row r (the previous one is freed); an index of 24 or more frees row.
  void StoreRow(unsigned r, std::unique_ptr<VtRow> row) {
    InvalidateCells();
    if (r < kRows) Rows[r] = std::move(row);
  }
  // Keeps one packet X/26 with its designation code and decoded triplets; nothing else of the
  // page changes (its cells are decoded again when next asked for).
  void StoreEnhancementPacket(std::uint8_t designationCode,
                              const std::array<std::uint32_t, kTripletsPerPacket>& triplets);
  // Header, CharSet, rows and enhancements of source; a row source lacks is blanked here, not
  // removed.
  void CopyFrom(const CVTPage* source);
  // Rewrites columns first..39 of row r in place (blanks them for a null source) and brings
  // the row's cells up to date.
  void SetRow(std::uint8_t r, const std::uint8_t* source, std::uint8_t first);
  // Blanks every present row and its cells and drops the enhancements; header and the set of
  // present rows stay.
  void ClearRows();
  // The store's replacement of a subpage by its new transmission: header, rows and enhancements
  // of newer move in (what newer lacks is gone afterwards); newer comes back holding the rows it
  // replaced.
  std::unique_ptr<CVTPage> TakeOver(std::unique_ptr<CVTPage> newer);
  // Appends the 968-byte page-file record.
  void SaveToStream(std::ostream& out) const;

 private:
  friend class CVTAllPages;
  void InvalidateCells() {
    CellsValid = false;
    RowFlagsValid = false;
  }
  // Neighbours in the store's subpage list (ascending subcode).
  CVTPage* PrevSub_ = nullptr;
  CVTPage* NextSub_ = nullptr;
};

enum TGetMode : std::uint8_t { gmFirst = 0, gmNextSub = 1, gmPrevSub = 2, gmNextPage = 3, gmPrevPage = 4 };

class CVTAllPages {
 public:
  CVTAllPages() = default;
  CVTAllPages(const CVTAllPages&) = delete;
  CVTAllPages& operator=(const CVTAllPages&) = delete;
  ~CVTAllPages() { Clear(); }

  // Files page by number and subcode; returns the record that holds it now (page itself, or
  // the stored subpage that took it over), null when its slot index is 800 or more. A page that
  // a stored subpage took over is released, or, when spent is given, comes back through it with
  // the rows it replaced, for the data thread to reuse.
  CVTPage* AddPage(std::unique_ptr<CVTPage> page, std::unique_ptr<CVTPage>* spent = nullptr);
  // number: an internal page number or 800..899.
  CVTPage* GetPage(std::uint32_t number, std::uint16_t subcode, TGetMode mode) const;
  void Clear();
  void SaveAll(std::ostream& out) const;

  // Storage order: slots 0..799, within a slot ascending subcode.
  const CVTPage* FirstSubpage(unsigned slot) const { return slot < kPageSlots ? slots_[slot].First : nullptr; }
  static const CVTPage* NextSubpage(const CVTPage* page) { return page->NextSub_; }

 private:
  struct Slot {
    CVTPage* First = nullptr;
    CVTPage* Last = nullptr;
  };
  static CVTPage* LowerBound(const Slot& slot, std::uint16_t subcode);
  std::array<Slot, kPageSlots> slots_{};
};

}  // namespace tolv
