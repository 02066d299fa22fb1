// latency_expected RECORDING FONTFILE OUT: the expected drawing of every page the latency
// measurement may sample, for the host simulator to check the paint box against. The recording's
// first teletext channel is fed through the core's assembly call by call, as the host's filter
// feeds it, and each page's first completion is drawn by the core's raster drawing (as tolvane
// png draws it) with the faces of FONTFILE; OUT gets the hashes of the checked rows.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <vector>

#include "render/PagePng.h"
#include "tools/hostsim/Latency.h"

namespace {

// The hashes of the checked rows of page as the core's raster drawing paints it; empty when the
// font file adds no faces.
std::vector<std::uint64_t> DrawnRowHashes(tolv::CVTPage& page, const char* fontFile, tolv::ui::RasterCanvas& image) {
  using namespace tolv::hostsim;
  if (!tolv::RenderPageImage(page, false, image, fontFile)) return {};
  std::vector<std::uint64_t> hashes;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(kPageAreaWidth) * 3);
  for (int y = kCheckedTop; y < kCheckedBottom; ++y) {
    for (int x = 0; x < kPageAreaWidth; ++x) {
      const tolv::ui::TColor c = image.Pixel(x, y);  // 0x00BBGGRR
      row[x * 3] = static_cast<std::uint8_t>(c & 0xFF);
      row[x * 3 + 1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
    }
    hashes.push_back(RowHash(row));
  }
  return hashes;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tolv;
  using namespace tolv::hostsim;
  if (argc != 4) {
    std::fprintf(stderr, "usage: latency_expected RECORDING FONTFILE OUT\n");
    return 2;
  }
  recordings::InputBytes input = recordings::ReadWholeInput(argv[1], std::cin);
  if (!input.Error.empty()) {
    std::fprintf(stderr, "latency_expected: %s\n", input.Error.c_str());
    return 1;
  }
  RecordingFeeds feeds(std::move(input).TakeBytes(), recordings::FormatOfInputName(argv[1]));
  if (feeds.Channels().empty() || feeds.Channels().front().Pid == 0) {
    std::fprintf(stderr, "latency_expected: %s has no teletext\n", argv[1]);
    return 1;
  }
  std::ofstream out(argv[3]);
  bool drawn = true;
  ui::RasterCanvas image(kPageImageWidth, kPageImageHeight);
  const auto onFirst = [&](const FirstCompletion& first, CVTPage& page) {
    if (!drawn) return;
    const std::vector<std::uint64_t> hashes = DrawnRowHashes(page, argv[2], image);
    drawn = !hashes.empty();
    if (drawn) out << ExpectedDrawingLine(first, hashes) << '\n';
  };
  const auto firsts = FirstCompletions(feeds.FeedOf(feeds.Channels().front().Pid), onFirst);
  if (!drawn) {
    std::fprintf(stderr, "latency_expected: %s adds no faces\n", argv[2]);
    return 1;
  }
  out.close();
  if (!out) {
    std::fprintf(stderr, "latency_expected: cannot write %s\n", argv[3]);
    return 1;
  }
  std::printf("%zu pages\n", firsts.size());
  return 0;
}
