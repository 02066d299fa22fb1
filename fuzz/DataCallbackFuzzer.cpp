// Any bytes the host could hand the data callback: assembly into the page memory, then every
// stored page decoded into cells, its header rewritten in place, and the page file written.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "decoder/StoreOnlyTarget.h"
#include "pages/RowDecoder.h"

namespace {

void Exercise(tolv::CVTPage& page) {
  unsigned sum = 0;
  for (unsigned r = 0; r < tolv::kRows; ++r)
    for (unsigned c = 0; c < tolv::kColumns; ++c) sum += tolv::GetDisplayCell(page, c, r).Ch;
  // The live header rewrites row 0 in place, as the viewer does with every passing header.
  if (page.Rows[0]) {
    const tolv::VtRow header = *page.Rows[0];
    page.SetRow(0, header.data(), static_cast<std::uint8_t>(sum % 2 == 0 ? 0 : 24));
    tolv::GetDisplayCell(page, 0, 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tolv::Reception reception;
  // The first byte cuts the input into callbacks of different sizes, as the host's buffers vary.
  const std::size_t chunk = size == 0 ? 1 : 46 * (1 + data[0] % 8) + data[0] / 8 % 46;
  for (std::size_t offset = 0; offset < size; offset += chunk) {
    const std::size_t length = std::min(chunk, size - offset);
    reception.Receive(data + offset, static_cast<std::int32_t>(length));
  }
  tolv::CVTAllPages& store = reception.AllPages();
  for (unsigned slot = 0; slot < tolv::kPageSlots; ++slot) {
    for (const tolv::CVTPage* p = store.FirstSubpage(slot); p != nullptr; p = tolv::CVTAllPages::NextSubpage(p)) {
      tolv::CVTPage copy;
      copy.CopyFrom(p);
      Exercise(copy);
    }
  }
  std::ostringstream file;
  store.SaveAll(file);
  return 0;
}
