// A reception target that remembers what the data thread handed to the window.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "decoder/StoreOnlyTarget.h"
#include "tools/demostream/TeletextEncoder.h"

namespace tolv::test {

class RecordingTarget : public StoreOnlyTarget {
 public:
  void ReceivePage(CVTPage& page) override { received.emplace_back(page.Number(), page.GetSubcode()); }
  void ReceiveHeader(std::uint8_t* row) override { headers.emplace_back(row, row + 40); }

  std::vector<std::pair<unsigned, unsigned>> received;  // (number, subcode)
  std::vector<std::string> headers;
};

// One assembly fed the way the data callback feeds it.
struct Feed {
  RecordingTarget target;
  MagazineAssembly assembly;
  std::atomic<bool> resetPending{true};

  void Send(const std::vector<std::uint8_t>& bytes) {
    assembly.Receive(bytes.data(), static_cast<std::int32_t>(bytes.size()), target, resetPending);
  }
  void Send(std::initializer_list<encode::Unit> units) { Send(encode::Join(units)); }

  CVTPage* Stored(unsigned number, unsigned subcode = 0) {
    CVTPage* p = target.AllPages().GetPage(number, 0, gmFirst);
    while (p != nullptr && p->GetSubcode() != subcode) {
      CVTPage* next = target.AllPages().GetPage(number, p->GetSubcode(), gmNextSub);
      if (next == nullptr || next->GetSubcode() <= p->GetSubcode()) return nullptr;
      p = next;
    }
    return p;
  }
};

inline std::string RowText(const CVTPage& page, unsigned row) {
  if (!page.Rows[row]) return "<absent>";
  std::string s(page.Rows[row]->begin(), page.Rows[row]->end());
  return s.substr(0, s.find_last_not_of(' ') + 1);
}

}  // namespace tolv::test
