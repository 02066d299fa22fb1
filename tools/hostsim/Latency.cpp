#include "tools/hostsim/Latency.h"

#include <algorithm>
#include <atomic>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "decoder/StoreOnlyTarget.h"

namespace tolv::hostsim {
namespace {

// Notes the pages each buffer completes.
class CompletionProbe : public StoreOnlyTarget {
 public:
  void ReceivePage(CVTPage& page) override {
    // A page number with a hexadecimal digit is one no one can type.
    if (page.Page >= 100 || page.Magazine >= 8) return;
    if (!seen.insert(page.Number()).second) return;
    const FirstCompletion first{call, page.Number()};
    firsts.push_back(first);
    if (onFirst) onFirst(first, page);
  }
  std::size_t call = 0;
  std::set<std::uint16_t> seen;
  std::vector<FirstCompletion> firsts;
  std::function<void(const FirstCompletion&, CVTPage&)> onFirst;
};

}  // namespace

std::vector<FirstCompletion> FirstCompletions(const Feed& feed,
                                              const std::function<void(const FirstCompletion&, CVTPage&)>& onFirst) {
  CompletionProbe probe;
  probe.onFirst = onFirst;
  MagazineAssembly assembly;
  std::atomic<bool> resetPending{true};
  for (probe.call = 0; probe.call < feed.Calls.size(); ++probe.call) {
    const FeedCall& c = feed.Calls[probe.call];
    assembly.Receive(feed.Bytes.data() + c.Offset, c.Length, probe, resetPending);
  }
  return std::move(probe.firsts);
}

std::uint64_t RowHash(std::span<const std::uint8_t> rgb) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const std::uint8_t byte : rgb) {
    hash ^= byte;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

std::string ExpectedDrawingLine(const FirstCompletion& first, std::span<const std::uint64_t> rowHashes) {
  std::string line = std::to_string(first.Call) + ' ' + std::to_string(first.Page);
  char hex[20];
  for (const std::uint64_t hash : rowHashes) {
    std::snprintf(hex, sizeof hex, " %016" PRIx64, hash);
    line += hex;
  }
  return line;
}

bool ReadExpectedDrawings(const std::string& path, ExpectedDrawings& drawings) {
  std::ifstream file(path);
  if (!file) return false;
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream words(line);
    FirstCompletion first;
    words >> first.Call >> first.Page;
    std::vector<std::uint64_t> rows(kCheckedRows);
    for (std::uint64_t& row : rows) words >> std::hex >> row;
    if (!words) return false;
    drawings[ExpectedKey(first)] = std::move(rows);
  }
  return true;
}

std::int64_t Percentile(std::vector<std::int64_t> samples, double percent) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(samples.size())));
  return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

}  // namespace tolv::hostsim
