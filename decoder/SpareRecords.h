// Rows and a page record that the page memory gave back when a new transmission replaced a stored
// subpage, kept for the next pages under assembly: in a long reception nearly every page is a
// retransmission, and its rows then cost no heap call. Touched by the data thread alone; what
// leaves it is an ordinary heap row or record, freed by whoever ends up holding it.
#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include "pages/Lop.h"

namespace tolv {

class SpareRecords {
 public:
  // A row whose 40 bytes the caller writes in full (its content is left from its last use);
  // null when the memory ran out.
  std::unique_ptr<VtRow> RowToOverwrite() noexcept {
    if (rowCount_ == 0) return NewRow();
    return std::move(rows_[--rowCount_]);
  }

  // A record as newly constructed; null when the memory ran out.
  std::unique_ptr<CVTPage> EmptyPage() noexcept { return page_ ? std::move(page_) : CVTPage::New(); }

  // Keeps the rows of spent (up to a bound) and spent itself, emptied; frees what it does not keep.
  void GiveBack(std::unique_ptr<CVTPage> spent) noexcept {
    for (std::unique_ptr<VtRow>& row : spent->Rows) {
      if (row && rowCount_ < kKeptRows) rows_[rowCount_++] = std::move(row);
    }
    if (page_) return;
    std::destroy_at(spent.get());  // frees what it still holds (cells, rows beyond the bound)
    std::construct_at(spent.get());
    page_ = std::move(spent);
  }

 private:
  // What a few hand-overs give back before new pages take it.
  static constexpr std::size_t kKeptRows = 4 * kRows;
  std::array<std::unique_ptr<VtRow>, kKeptRows> rows_;
  std::size_t rowCount_ = 0;
  std::unique_ptr<CVTPage> page_;
};

}  // namespace tolv
