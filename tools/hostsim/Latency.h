// What the latency measurement needs beside the running host: which data callback completes
// which page (the core's own assembly decides, run over the same buffers), and the figures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "pages/Lop.h"
#include "tools/hostsim/Feed.h"

namespace tolv::hostsim {

// A page first completed by one call of a feed: the data callback that hands it to the viewer.
struct FirstCompletion {
  std::size_t Call = 0;    // index into Feed::Calls
  std::uint16_t Page = 0;  // the internal number: magazine 8 is 0 (DisplayNumber gives the typed one)
  bool operator==(const FirstCompletion&) const = default;
};

// For each page the call that completes it first, in call order (pages with a hexadecimal
// number, which no one can type, left out). onFirst, if given, sees each such page as the call
// hands it over.
std::vector<FirstCompletion> FirstCompletions(
    const Feed& feed, const std::function<void(const FirstCompletion&, CVTPage&)>& onFirst = {});

// Where a sample looks: the 560 x 360 page area sits at x 86 of the paint box, its 24 rows 15
// pixels high; rows 1-23 are checked (row 0, the header, runs live).
inline constexpr int kPageLeftInPaintBox = 86;
inline constexpr int kPageAreaWidth = 560;
inline constexpr int kCheckedTop = 15;
inline constexpr int kCheckedBottom = 360;  // exclusive
inline constexpr int kCheckedRows = kCheckedBottom - kCheckedTop;

// FNV-1a over one pixel row, 3 bytes (R, G, B) a pixel.
std::uint64_t RowHash(std::span<const std::uint8_t> rgb);

// The expected drawing of each first completion: the hashes of the checked rows, keyed by
// ExpectedKey. The file holds one line a page: call, page, then kCheckedRows hashes in hex.
using ExpectedDrawings = std::map<std::uint64_t, std::vector<std::uint64_t>>;
inline std::uint64_t ExpectedKey(const FirstCompletion& first) { return first.Call * 0x10000ull + first.Page; }
std::string ExpectedDrawingLine(const FirstCompletion& first, std::span<const std::uint64_t> rowHashes);
// False when the file cannot be read or a line is malformed.
bool ReadExpectedDrawings(const std::string& path, ExpectedDrawings& drawings);

// The nearest-rank percentile (0 < percent <= 100) of samples; 0 for none.
std::int64_t Percentile(std::vector<std::int64_t> samples, double percent);

}  // namespace tolv::hostsim
