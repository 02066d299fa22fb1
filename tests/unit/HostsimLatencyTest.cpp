#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/demostream/TeletextEncoder.h"
#include "tools/hostsim/Latency.h"

namespace tolv::hostsim {
namespace {

using encode::HeaderUnit;
using encode::RowUnit;

// One call of the feed: the units one after the other.
void AddCall(Feed& feed, std::initializer_list<encode::Unit> units) {
  const std::size_t offset = feed.Bytes.size();
  for (const encode::Unit& unit : units) feed.Bytes.insert(feed.Bytes.end(), unit.begin(), unit.end());
  feed.Calls.push_back({offset, static_cast<std::int32_t>(feed.Bytes.size() - offset), 0});
}

TEST(HostsimLatency, APageIsCompletedByTheCallWithItsMagazinesNextHeader) {
  Feed feed;
  AddCall(feed, {HeaderUnit(100), RowUnit(1, 1, "ONE"), HeaderUnit(200), RowUnit(2, 1, "TWO")});
  AddCall(feed, {RowUnit(1, 2, "MORE")});
  AddCall(feed, {HeaderUnit(201)});                          // completes 200 (parallel: its own magazine)
  AddCall(feed, {HeaderUnit(101), RowUnit(1, 1, "")});       // completes 100
  AddCall(feed, {HeaderUnit(100), RowUnit(1, 1, "AGAIN")});  // completes 101
  AddCall(feed, {HeaderUnit(102)});                          // completes 100 a second time: not a first completion
  const std::vector<FirstCompletion> expected = {{2, 200}, {3, 100}, {4, 101}};
  EXPECT_EQ(FirstCompletions(feed), expected);
  // The page each first completion hands over, as the viewer gets it: what its expected drawing
  // is drawn from.
  std::vector<std::string> firstRows;
  FirstCompletions(feed, [&](const FirstCompletion& first, CVTPage& page) {
    EXPECT_EQ(page.Number(), first.Page);
    firstRows.emplace_back(page.Rows[1]->begin(), page.Rows[1]->begin() + 5);
  });
  EXPECT_EQ(firstRows, (std::vector<std::string>{"TWO  ", "ONE  ", "     "}));
}

// The expected drawings travel from the native drawing to the host simulator through a file;
// a cut line makes the whole file unusable rather than a page without rows.
TEST(HostsimLatency, ExpectedDrawingsComeBackFromTheirFileAndACutLineIsRefused) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "tolv-latency-expected.txt";
  std::vector<std::uint64_t> rows(kCheckedRows);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = RowHash(std::vector<std::uint8_t>(i, 0xAB));
  const std::string line = ExpectedDrawingLine({70000, 0x123}, rows);
  std::ofstream(path) << line << '\n' << ExpectedDrawingLine({2, 100}, rows) << '\n';
  ExpectedDrawings read;
  ASSERT_TRUE(ReadExpectedDrawings(path.string(), read));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read.at(ExpectedKey({70000, 0x123})), rows);
  EXPECT_NE(rows[1], rows[2]);

  std::ofstream(path) << line.substr(0, line.size() - 17) << '\n';
  EXPECT_FALSE(ReadExpectedDrawings(path.string(), read));
  std::filesystem::remove(path);
  EXPECT_FALSE(ReadExpectedDrawings(path.string(), read));
}

TEST(HostsimLatency, InSerialModeAnyHeaderCompletesThePage) {
  Feed feed;
  AddCall(feed, {HeaderUnit(100, 0, true), RowUnit(1, 1, "ONE")});
  AddCall(feed, {HeaderUnit(300, 0, true), RowUnit(3, 1, "THREE")});
  AddCall(feed, {HeaderUnit(800, 0, true)});
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
