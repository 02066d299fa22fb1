// Choosing the page: keys and the mouse, the search and show panels, and putting a page from
// the memory on screen. Everything here runs on the window thread.
#include <string>

#include "viewer/Formtolvane.h"

namespace tolv {

namespace {

constexpr std::uint16_t kFirstPage = 100;
constexpr std::uint16_t kLastInternal = 799;  // page 799; internal 0..99 are 800..899

char DigitChar(unsigned digit) { return static_cast<char>('0' + digit); }

}  // namespace

void TFormTolv::FormKeyDown(ui::Component& /*sender*/, std::uint16_t& key, ui::TShiftState shift) {
  namespace vk = ui::vk;
  const bool shifted = shift.Contains(ui::ssShift);
  switch (key) {
    case vk::Return:
      CancelPause();
      SetSearchPage(kFirstPage);
      SearchAndShow();
      return;
    case vk::Space: TogglePause(); return;
    case vk::Left:
    case vk::Right:
      StepSubpage(key == vk::Left ? gmPrevSub : gmNextSub);
      key = 0;
      return;
    case vk::Up:
    case vk::Down: StepPage(shifted, key == vk::Up); return;
    default: break;
  }
  if (key >= vk::Digit0 && key <= vk::Digit0 + 9) {
    TypeDigit(key - vk::Digit0);
  } else if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9) {
    TypeDigit(key - vk::Numpad0);
  }
}

void TFormTolv::PaintBox1MouseDown(ui::Component& /*sender*/, ui::TMouseButton /*button*/, ui::TShiftState shift,
                                   int /*x*/, int /*y*/) {
  if (!shift.Contains(ui::ssRight)) return;
  std::uint16_t enter = ui::vk::Return;
  FormKeyDown(*this, enter, {});
}

void TFormTolv::TypeDigit(unsigned digit) {
  if (EntryCount == 0 && (digit == 0 || digit == 9)) return;  // no page number begins so
  EntryDigits[EntryCount] = DigitChar(digit);
  ++EntryCount;
  if (EntryCount < 3) {
    UpdateSearchPanel();
    return;
  }
  CancelPause();
  const auto value = static_cast<std::uint16_t>((EntryDigits[0] - '0') * 100 + (EntryDigits[1] - '0') * 10 + digit);
  SetSearchPage(value);
  SearchAndShow();
}

void TFormTolv::StepPage(bool shifted, bool up) {
  CancelPause();
  if (shifted) {
    // The next or previous page the memory holds.
    CVTPage* found =
        HandOver.FetchForShow(SearchPage.load(std::memory_order_relaxed), 0, up ? gmNextPage : gmPrevPage, true);
    if (found != nullptr) ShowFromMemory(*found, true);
    return;
  }
  const std::uint16_t search = SearchPage.load(std::memory_order_relaxed);
  std::uint16_t next = 0;
  if (up) {
    next = search >= kLastInternal ? 0 : static_cast<std::uint16_t>(search + 1);
  } else {
    next = search == 0 ? kLastInternal : static_cast<std::uint16_t>(search - 1);
  }
  SetSearchPage(next);
  SearchAndShow();
}

void TFormTolv::StepSubpage(TGetMode mode) {
  CVTPage* found = HandOver.FetchForShow(SearchPage.load(std::memory_order_relaxed), 0, mode, true);
  if (found == nullptr) return;
  ShowFromMemory(*found);
  if (!Paused.load(std::memory_order_relaxed)) {
    Paused.store(true, std::memory_order_relaxed);
    UpdatePauseControls();
  }
}

void TFormTolv::SearchAndShow() {
  CVTPage* found = HandOver.FetchForShow(SearchPage.load(std::memory_order_relaxed), 0, gmFirst);
  if (found != nullptr) ShowFromMemory(*found);
}

// record is busy: the data thread leaves it and DisplayPage alone while it is copied.
void TFormTolv::ShowFromMemory(CVTPage& record, bool followSearch) {
  DisplayPage.CopyFrom(&record);
  if (followSearch) SetSearchPage(DisplayPage.Number());
  ShownPage.store(DisplayPage.Number(), std::memory_order_relaxed);
  ShownSubcode.store(DisplayPage.GetSubcode(), std::memory_order_relaxed);
  HandOver.WithdrawPageRedraw();
  ClearBusyPage();
  UpdateShowPanel();
  HeaderLive.store(false, std::memory_order_relaxed);  // its clock waits until it comes on the stream again
  PaintDisplayPage();
}

void TFormTolv::SetSearchPage(std::uint16_t value) {
  if (value >= 800 && value <= 899) value = static_cast<std::uint16_t>(value - 800);
  if (value >= 800) return;
  SearchPage.store(value, std::memory_order_relaxed);
  const unsigned shown = DisplayNumber(value);
  EntryCount = 0;
  EntryDigits = {DigitChar(shown / 100), DigitChar(shown / 10 % 10), DigitChar(shown % 10)};
  UpdateSearchPanel();
}

void TFormTolv::UpdateSearchPanel() {
  if (EntryCount == 1) EntryDigits[1] = EntryDigits[2] = '_';
  if (EntryCount == 2) EntryDigits[2] = '_';
  PanelSearch->SetCaption(std::string(" Suche: ") + EntryDigits[0] + EntryDigits[1] + EntryDigits[2]);
  UpdateSearchColour();
}

void TFormTolv::UpdateSearchColour() {
  const bool found = SearchPage.load(std::memory_order_relaxed) == ShownPage.load(std::memory_order_relaxed);
  PanelSearch->SetColor(found ? kPanelFound : kPanelSearching);
}

void TFormTolv::UpdateShowPanel() {
  const std::uint16_t shown = ShownPage.load(std::memory_order_relaxed);
  if (shown == kNoPage) {
    PanelShow->SetCaption(" Zeige: ---");
  } else {
    const unsigned number = DisplayNumber(shown);
    if (number > 899) return;
    std::string caption = " Zeige: ";
    caption += std::to_string(number);
    const std::uint16_t subcode = ShownSubcode.load(std::memory_order_relaxed);
    if (subcode != 0) {
      // Appended piece by piece: GCC 12 warns falsely about "." + std::to_string(...).
      caption += '.';
      caption += std::to_string(subcode);
    }
    PanelShow->SetCaption(caption);
  }
  UpdateSearchColour();
}

void TFormTolv::UpdatePauseControls() {
  mnPause->SetChecked(Paused.load(std::memory_order_relaxed));
  SpeedButtonPause->SetDown(mnPause->Checked());
}

void TFormTolv::CancelPause() {
  if (!Paused.load(std::memory_order_relaxed)) return;
  Paused.store(false, std::memory_order_relaxed);
  UpdatePauseControls();
}

// A page can be held only while the searched page is the one on screen.
void TFormTolv::TogglePause() {
  bool paused = !Paused.load(std::memory_order_relaxed);
  if (paused && SearchPage.load(std::memory_order_relaxed) != ShownPage.load(std::memory_order_relaxed)) {
    paused = false;
  }
  Paused.store(paused, std::memory_order_relaxed);
  UpdatePauseControls();
}

}  // namespace tolv
