#include "tools/hostsim/Latency.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <set>

#include "decoder/StoreOnlyTarget.h"

namespace tolv::hostsim {
namespace {

// Notes the pages each buffer completes.
class CompletionProbe : public StoreOnlyTarget {
 public:
  void ReceivePage(CVTPage& page) override {
    // A page number with a hexadecimal digit is one no one can type.
    if (page.Page < 100 && page.Magazine < 8) completed.push_back(page.Number());
  }
  std::vector<std::uint16_t> completed;
};

}  // namespace

std::vector<FirstCompletion> FirstCompletions(const Feed& feed) {
  CompletionProbe probe;
  MagazineAssembly assembly;
  std::atomic<bool> resetPending{true};
  std::set<std::uint16_t> seen;
  std::vector<FirstCompletion> firsts;
  for (std::size_t call = 0; call < feed.Calls.size(); ++call) {
    const FeedCall& c = feed.Calls[call];
    probe.completed.clear();
    assembly.Receive(feed.Bytes.data() + c.Offset, c.Length, probe, resetPending);
    for (const std::uint16_t page : probe.completed) {
      if (seen.insert(page).second) firsts.push_back({call, page});
    }
  }
  return firsts;
}

std::int64_t Percentile(std::vector<std::int64_t> samples, double percent) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(samples.size())));
  return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

}  // namespace tolv::hostsim
