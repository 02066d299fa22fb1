#include <gtest/gtest.h>

#include <vector>

#include "tools/demostream/TeletextEncoder.h"
#include "tools/hostsim/Latency.h"

namespace tolv::hostsim {
namespace {

using encode::HeaderUnit;
using encode::RowUnit;

Feed FeedOf(std::initializer_list<std::vector<std::uint8_t>> buffers) {
  Feed feed;
  for (const std::vector<std::uint8_t>& buffer : buffers) {
    feed.Calls.push_back({feed.Bytes.size(), static_cast<std::int32_t>(buffer.size()), 0});
    feed.Bytes.insert(feed.Bytes.end(), buffer.begin(), buffer.end());
  }
  return feed;
}

TEST(HostsimLatency, APageIsCompletedByTheCallWithItsMagazinesNextHeader) {
  const Feed feed = FeedOf({
      encode::Join({HeaderUnit(100), RowUnit(1, 1, "ONE"), HeaderUnit(200), RowUnit(2, 1, "TWO")}),
      encode::Join({RowUnit(1, 2, "MORE")}),
      encode::Join({HeaderUnit(201)}),                          // completes 200 (parallel: its own magazine)
      encode::Join({HeaderUnit(101), RowUnit(1, 1, "")}),       // completes 100
      encode::Join({HeaderUnit(100), RowUnit(1, 1, "AGAIN")}),  // completes 101
      encode::Join({HeaderUnit(102)}),                          // completes 100 a second time: not a first completion
  });
  const std::vector<FirstCompletion> expected = {{2, 200}, {3, 100}, {4, 101}};
  EXPECT_EQ(FirstCompletions(feed), expected);
}

TEST(HostsimLatency, InSerialModeAnyHeaderCompletesThePage) {
  const Feed feed = FeedOf({
      encode::Join({HeaderUnit(100, 0, true), RowUnit(1, 1, "ONE")}),
      encode::Join({HeaderUnit(300, 0, true), RowUnit(3, 1, "THREE")}),
      encode::Join({HeaderUnit(800, 0, true)}),
  });
  const std::vector<FirstCompletion> expected = {{1, 100}, {2, 300}};
  EXPECT_EQ(FirstCompletions(feed), expected);
}

TEST(HostsimLatency, PercentileTakesTheNearestRank) {
  EXPECT_EQ(Percentile({}, 50), 0);
  EXPECT_EQ(Percentile({7}, 99), 7);
  EXPECT_EQ(Percentile({30, 10, 20}, 50), 20);
  std::vector<std::int64_t> hundred;
  for (int i = 100; i >= 1; --i) hundred.push_back(i);
  EXPECT_EQ(Percentile(hundred, 50), 50);
  EXPECT_EQ(Percentile(hundred, 99), 99);
  EXPECT_EQ(Percentile(hundred, 100), 100);
}

}  // namespace
}  // namespace tolv::hostsim
