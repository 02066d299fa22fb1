#include <new>

#include "pages/Lop.h"
#include "pages/RowDecoder.h"

namespace tolv {

std::unique_ptr<CVTPage> CVTPage::New() noexcept { return std::unique_ptr<CVTPage>(new (std::nothrow) CVTPage); }

void CVTPage::CopyFrom(const CVTPage* source) {
  if (source == nullptr) return;
  InvalidateCells();
  static_cast<TVtHeader&>(*this) = *source;
  CharSet = source->CharSet;
  Reserved = source->Reserved;
  for (unsigned r = 0; r < kRows; ++r) {
    if (source->Rows[r]) {
      if (!Rows[r]) Rows[r] = NewRow();
      if (Rows[r]) *Rows[r] = *source->Rows[r];
    } else if (Rows[r]) {
      Rows[r]->fill(0x20);
    }
  }
}

void CVTPage::SetRow(std::uint8_t r, const std::uint8_t* source, std::uint8_t first) {
  if (r >= kRows) return;
  if (source != nullptr && !Rows[r]) Rows[r] = NewRow();
  if (Rows[r]) {
    for (unsigned c = first; c < kColumns; ++c) (*Rows[r])[c] = source != nullptr ? source[c] : 0x20;
  }
  RowChanged(*this, r);
}

void CVTPage::ClearRows() {
  InvalidateCells();
  for (unsigned r = 0; r < kRows; ++r) {
    if (Rows[r]) Rows[r]->fill(0x20);
    if (Cells[r]) Cells[r]->fill(TVtCell{});
  }
}

std::unique_ptr<CVTPage> CVTPage::TakeOver(std::unique_ptr<CVTPage> newer) {
  InvalidateCells();
  static_cast<TVtHeader&>(*this) = *newer;
  CharSet = newer->CharSet;
  Reserved = newer->Reserved;
  for (unsigned r = 0; r < kRows; ++r) {
    Rows[r].swap(newer->Rows[r]);
    Cells[r].reset();
  }
  return newer;
}

}  // namespace tolv
