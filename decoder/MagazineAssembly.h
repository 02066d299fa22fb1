// The body of the data callback: walks the delivered data units, collects the display rows of
// each magazine into a page under assembly and hands every completed page to the page memory
// and to the viewer.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "decoder/SpareRecords.h"
#include "pages/Lop.h"

namespace tolv {

// What the data thread may reach of the viewer window. Every call but ReceiveHeader is made with
// the page-data lock held; ReceiveHeader is called without it.
class ReceptionTarget {
 public:
  virtual ~ReceptionTarget() = default;
  // false when the wait failed; the caller then leaves the page memory alone.
  virtual bool LockPageData() = 0;
  virtual void UnlockPageData() = 0;
  // The number of the record the window thread is copying out of the memory (kNoPage if none).
  virtual std::uint16_t BusyPage() const = 0;
  virtual CVTAllPages& AllPages() = 0;
  // The record the memory now holds for a completed page.
  virtual void ReceivePage(CVTPage& page) = 0;
  // Row 0 of every usable header (columns 0..7 blank); the callee may change it while it runs
  // but gives it back as it came.
  virtual void ReceiveHeader(std::uint8_t* row) = 0;
};

inline constexpr std::uint8_t kEnhancementPacket = 26;

class MagazineAssembly {
 public:
  MagazineAssembly() = default;
  MagazineAssembly(const MagazineAssembly&) = delete;
  MagazineAssembly& operator=(const MagazineAssembly&) = delete;

  // One data callback's buffer: whole 46-byte units from offset 0; a trailing remainder is
  // ignored. A set resetPending is cleared and discards every page under assembly first.
  void Receive(const std::uint8_t* data, std::int32_t length, ReceptionTarget& target, std::atomic<bool>& resetPending);

  void Reset();

  // The page under assembly in a slot (0..7), for inspection.
  const CVTPage* Slot(unsigned slot) const { return slots_[slot].page.get(); }
  bool SerialMode() const { return serialMode_; }

 private:
  // In parallel mode every magazine keeps its own flag and state, so a header of one magazine
  // neither ends nor stalls the page of another. Serial mode uses slot 0 alone.
  struct MagazineSlot {
    std::unique_ptr<CVTPage> page;
    // A completed page whose hand-over found the page-data lock unavailable; it goes first at
    // the slot's next header, so the slot's next page starts on a fresh record.
    std::unique_ptr<CVTPage> unfiled;
    bool rowsSinceHeader = false;
    bool assembling = false;
  };

  void ReceiveUnit(const std::uint8_t* unit, ReceptionTarget& target);
  void ReceiveHeaderPacket(std::uint8_t magazine, const std::uint8_t* data, ReceptionTarget& target);
  void StoreRowPacket(std::uint8_t packet, const std::uint8_t* data, ReceptionTarget& target);
  static void StoreEnhancementPacket(const std::uint8_t* data, CVTPage& page);
  void HandOver(std::unique_ptr<CVTPage>& page, ReceptionTarget& target);
  void DiscardAll();

  std::array<MagazineSlot, kMagazines> slots_;
  SpareRecords spare_;
  std::uint8_t currentSlot_ = 0;
  bool serialMode_ = false;
};

}  // namespace tolv
