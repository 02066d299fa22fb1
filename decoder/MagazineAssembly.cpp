#include "decoder/MagazineAssembly.h"

#include "decoder/Vt_fkt.h"

namespace tolv {

void MagazineAssembly::Receive(const std::uint8_t* data, std::int32_t length, ReceptionTarget& target,
                               std::atomic<bool>& resetPending) {
  if (data == nullptr || length <= 0) return;
  // Looked at before it is cleared: a read costs the data callback less than a locked exchange.
  if (resetPending.load(std::memory_order_relaxed) && resetPending.exchange(false, std::memory_order_relaxed)) Reset();
  // Only whole units count; there is no resynchronisation inside a buffer.
  constexpr auto kUnit = static_cast<std::int64_t>(kDataUnitSize);
  for (std::int64_t offset = 0; offset + kUnit <= length; offset += kUnit) ReceiveUnit(data + offset, target);
}

void MagazineAssembly::Reset() {
  DiscardAll();
  currentSlot_ = 0;
  serialMode_ = false;
}

void MagazineAssembly::DiscardAll() {
  for (MagazineSlot& slot : slots_) slot = MagazineSlot{};
}

void MagazineAssembly::ReceiveUnit(const std::uint8_t* unit, ReceptionTarget& target) {
  std::uint8_t magazine = 0, packet = 0;
  if (!AcceptDataUnit(unit) || !DecodeAddress(unit + kPacketAddressAt, magazine, packet)) return;
  const std::uint8_t* data = unit + kPacketDataAt;
  if (!serialMode_) currentSlot_ = magazine;
  if (packet == 0) ReceiveHeaderPacket(magazine, data, target);
  StoreRowPacket(packet, data, target);
}

void MagazineAssembly::ReceiveHeaderPacket(std::uint8_t magazine, const std::uint8_t* data, ReceptionTarget& target) {
  MagazineSlot& ended = slots_[currentSlot_];
  // The slot's page is complete once a row came since its header, even if this header turns
  // out to be unusable.
  if (ended.rowsSinceHeader) {
    ended.rowsSinceHeader = false;
    if (ended.page) {
      if (ended.unfiled) HandOver(ended.unfiled, target);
      // Should the older page still find no lock, it makes room: one page waits at most.
      ended.unfiled = std::move(ended.page);
      HandOver(ended.unfiled, target);
    }
  }
  ended.assembling = false;

  std::uint8_t pageByte = 0, control = 0, national = 0;
  std::uint16_t subcode = 0;
  if (!DecodeHeader(data, pageByte, subcode, control, national)) return;

  const bool wasSerial = serialMode_;
  serialMode_ = (control & kMagazineSerial) != 0;
  currentSlot_ = serialMode_ ? 0 : magazine;
  if (serialMode_ != wasSerial) DiscardAll();  // pages of the other mode are lost, not handed over

  const std::uint16_t page = BcdToPage(pageByte);
  const std::uint16_t sub = BcdToSubcode(subcode);
  if ((page & 0xFF) == 0xFF || sub == kNotDecimal) return;  // time filling or damaged: not assembled

  MagazineSlot& slot = slots_[currentSlot_];
  // A page left in its slot (no row since its header) is reused with its rows.
  if (!slot.page) slot.page = spare_.EmptyPage();
  if (!slot.page) return;  // out of memory: this page is dropped
  slot.assembling = true;
  slot.page->Magazine = magazine;
  slot.page->Page = static_cast<std::uint8_t>(page);
  slot.page->Subcode = sub;
  slot.page->Control = control;
  slot.page->National = national;
  slot.page->CharSet = static_cast<std::int8_t>(national);  // the page is drawn in its own subset
}

void MagazineAssembly::StoreRowPacket(std::uint8_t packet, const std::uint8_t* data, ReceptionTarget& target) {
  MagazineSlot& slot = slots_[currentSlot_];
  if (!slot.assembling || !slot.page) return;
  if (packet == kEnhancementPacket) {
    StoreEnhancementPacket(data, *slot.page);
    return;
  }
  if (packet > 23) return;  // packets 24, 25 and 27..31 are not kept
  if (packet > 0) slot.rowsSinceHeader = true;
  std::unique_ptr<VtRow> row = spare_.RowToOverwrite();
  if (!row) return;  // out of memory: this row is dropped
  ConvertRow(data, packet, row->data());
  if (packet == 0) target.ReceiveHeader(row->data());
  slot.page->StoreRow(packet, std::move(row));
}

// Packet 26: a designation code and thirteen Hamming 24/18 triplets. It belongs to the page
// under assembly but is no display row: the page is not made complete by it.
void MagazineAssembly::StoreEnhancementPacket(const std::uint8_t* data, CVTPage& page) {
  const std::uint8_t designationCode = DecodeHammingByte(data[0]);
  if (designationCode == kHammingError) return;
  std::array<std::uint32_t, kTripletsPerPacket> triplets{};
  for (unsigned t = 0; t < kTripletsPerPacket; ++t) triplets[t] = DecodeHamming2418(data + 1 + 3 * t);
  page.StoreEnhancementPacket(designationCode, triplets);
}

void MagazineAssembly::HandOver(std::unique_ptr<CVTPage>& page, ReceptionTarget& target) {
  const std::uint16_t number = page->Number();
  // Wait, without sleeping, while the window thread copies a record of this number.
  for (;;) {
    if (!target.LockPageData()) return;  // the page waits for the slot's next header
    if (target.BusyPage() != number) break;
    target.UnlockPageData();
  }
  // A replaced subpage's rows come back under the lock, so the window thread's last reads of them
  // come before their reuse here.
  std::unique_ptr<CVTPage> spent;
  CVTPage* stored = target.AllPages().AddPage(std::move(page), &spent);
  if (stored != nullptr) target.ReceivePage(*stored);
  target.UnlockPageData();
  if (spent) spare_.GiveBack(std::move(spent));
}

}  // namespace tolv
