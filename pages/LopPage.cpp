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
  Enhancements = CopyEnhancements(source->Enhancements.get());
}

void CVTPage::StoreEnhancementPacket(std::uint8_t designationCode,
                                     const std::array<std::uint32_t, kTripletsPerPacket>& triplets) {
  if (!Enhancements) Enhancements.reset(new (std::nothrow) PageEnhancements);
  if (!Enhancements) return;  // out of memory: the page shows its rows as they are
  InvalidateCells();
  Enhancements->Add(designationCode, triplets);
}

void CVTPage::SetRow(std::uint8_t r, const std::uint8_t* source, std::uint8_t first) {
  if (r >= kRows) return;
  if (source != nullptr && !Rows[r]) Rows[r] = NewRow();
  if (Rows[r]) {
    for (unsigned c = first; c < kColumns; ++c) (*Rows[r])[c] = source != nullptr ? source[c] : 0x20;
  }
  // What is written in place (the live header) is shown as written, without placements.
  if (Enhancements && first < Enhancements->RewrittenFrom[r]) Enhancements->RewrittenFrom[r] = first;
  RowChanged(*this, r);
}

void CVTPage::ClearRows() {
  InvalidateCells();
  for (unsigned r = 0; r < kRows; ++r) {
    if (Rows[r]) Rows[r]->fill(0x20);
    if (Cells[r]) Cells[r]->fill(TVtCell{});
  }
  Enhancements.reset();
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
  Enhancements = std::move(newer->Enhancements);
  return newer;
}

}  // namespace tolv
