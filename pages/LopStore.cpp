#include "pages/Lop.h"

namespace tolv {

// Subpage lists are short (the subpages one number carries), so a walk is the search.
CVTPage* CVTAllPages::LowerBound(const Slot& slot, std::uint16_t subcode) {
  CVTPage* entry = slot.First;
  while (entry != nullptr && entry->Subcode < subcode) entry = entry->NextSub_;
  return entry;
}

CVTPage* CVTAllPages::AddPage(std::unique_ptr<CVTPage> page, std::unique_ptr<CVTPage>* spent) {
  if (!page) return nullptr;
  const unsigned index = page->Number();
  if (index >= kPageSlots) return nullptr;  // released with the unique_ptr
  Slot& slot = slots_[index];
  CVTPage* found = LowerBound(slot, page->Subcode);
  if (found != nullptr && found->Subcode == page->Subcode) {
    std::unique_ptr<CVTPage> taken = found->TakeOver(std::move(page));
    if (spent != nullptr) *spent = std::move(taken);
    return found;
  }
  CVTPage* entry = page.release();
  entry->NextSub_ = found;
  entry->PrevSub_ = found != nullptr ? found->PrevSub_ : slot.Last;
  (entry->PrevSub_ != nullptr ? entry->PrevSub_->NextSub_ : slot.First) = entry;
  (found != nullptr ? found->PrevSub_ : slot.Last) = entry;
  return entry;
}

CVTPage* CVTAllPages::GetPage(std::uint32_t number, std::uint16_t subcode, TGetMode mode) const {
  if (number >= 800 && number <= 899) number -= 800;
  if (number >= kPageSlots) return nullptr;
  if (mode == gmNextPage || mode == gmPrevPage) {
    // At most 799 steps: the starting slot itself is never the result.
    for (unsigned step = 0; step < kPageSlots - 1; ++step) {
      number = mode == gmNextPage ? (number + 1) % kPageSlots : (number + kPageSlots - 1) % kPageSlots;
      if (slots_[number].First != nullptr) break;
    }
    mode = gmFirst;
  }
  const Slot& slot = slots_[number];
  if (slot.First == nullptr) return nullptr;
  if (slot.First == slot.Last || mode == gmFirst) return slot.First;
  CVTPage* found = LowerBound(slot, subcode);
  switch (mode) {
    case gmNextSub:
      if (found == nullptr) return slot.First;
      if (found->Subcode != subcode) return found;
      return found->NextSub_ != nullptr ? found->NextSub_ : slot.First;
    case gmPrevSub:
      // The greatest subcode below the given one, or the last entry when there is none.
      if (found == nullptr || found == slot.First) return slot.Last;
      return found->PrevSub_;
    default: return nullptr;
  }
}

void CVTAllPages::Clear() {
  for (Slot& slot : slots_) {
    for (CVTPage* entry = slot.First; entry != nullptr;) {
      CVTPage* next = entry->NextSub_;
      delete entry;
      entry = next;
    }
    slot = Slot{};
  }
}

void CVTAllPages::SaveAll(std::ostream& out) const {
  for (const Slot& slot : slots_) {
    for (const CVTPage* entry = slot.First; entry != nullptr; entry = entry->NextSub_) entry->SaveToStream(out);
  }
}

}  // namespace tolv
