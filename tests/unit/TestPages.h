// Page records made by hand for tests of the page memory and the page file.
#pragma once

#include <memory>

#include "pages/Lop.h"

namespace tolv::test {

// An empty record of page number (100..899) and subcode.
inline std::unique_ptr<CVTPage> MakePage(unsigned number, std::uint16_t subcode) {
  auto page = CVTPage::New();
  page->Magazine = static_cast<std::uint8_t>(number / 100 % 8);
  page->Page = static_cast<std::uint8_t>(number % 100);
  page->Subcode = subcode;
  return page;
}

}  // namespace tolv::test
